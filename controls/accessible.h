#pragma once
// Screen-reader access to the drawn controls, which Qt sees as plain widgets: a label reads
// as static text with its caption, a link label as a link with its address and a picture
// button as a button with the keys its window gives it, both of which can be pressed, a check
// box or radio button as what it is, with its caption, check state and click, and a frame
// that groups controls as a group. Background pictures, plain frames and empty labels stay
// out. Each control's constructor installs it, with the windows' frame and dialog roles.

#include <QString>

void InstallControlAccessibility();

// A caption as a screen reader says it: the accelerator marks dropped, "&&" read as one "&",
// no blanks round it.
QString AccessibleCaption(const QString &caption);
