#pragma once
// The German text of an engine error: one sentence a TErrorText, its arguments written as the
// program writes them everywhere ("01.07.2025", "1.234,56 €", "2,27 %", "Forderung 2"), a
// nested cause or phrase where the sentence names it.

#include "engine/engineerror.h"

#include <QString>

QString ErrorText(const TEngineError &error);
