#pragma once
// The program's own modules, loaded when first wanted so that what they link costs no start:
// looked for beside the program's folder as installed (bin/ and the module folder below lib/),
// then in the library paths.

#include <QFunctionPointer>
#include <QString>

// The module's entry of that name, or nullptr; then `tried` names the first file looked for.
// The module stays loaded for as long as the program runs.
QFunctionPointer LoadModuleEntry(const QString &module, const char *entry, QString &tried);
