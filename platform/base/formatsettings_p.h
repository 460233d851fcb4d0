#pragma once
// Inside the platform: what the settings from Qt's locale data and those from the C library's
// locale share.

#include <QChar>
#include <QString>

// The separator between the fields of a date or time pattern: its first character that is no
// letter, quote or blank; the fallback when there is none.
QChar SeparatorOf(const QString &format, QChar fallback);
