#pragma once
// Screen-reader access to the drawn controls, which Qt sees as plain widgets: a label reads
// as static text with its caption, a link label as a link and a picture button as a button,
// both of which can be pressed, and a check box or radio button as what it is, with its
// caption, check state and click. Each control's constructor installs it.

#include <QString>

void InstallControlAccessibility();

// A caption as a screen reader says it: the accelerator marks dropped, "&&" read as one "&".
QString AccessibleCaption(const QString &caption);
