#pragma once
// A module of the program's own: a shared library loaded when it is first needed, so that what
// it links costs no program's start anything. Found beside the program as installed (bin/ and
// the module folder below lib/), then in the library paths; once loaded it stays for the rest
// of the run, as its code may run for as long as the program does.

#include <QString>
#include <QtGlobal>

// The entry `symbol` of the module `name` ("tarvo-print"), or nullptr; then `tried` holds the
// first file tried, for the message.
QFunctionPointer LoadModuleEntry(const QString &name, const char *symbol, QString &tried);
