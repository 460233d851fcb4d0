#pragma once
// Screen-reader access to the drawn controls, which Qt sees as plain widgets: a label reads
// as static text with its caption, a picture button as a button that can be pressed.

void InstallControlAccessibility();
