#pragma once
// The program's windows wired together: the further windows the bar opens, by name, menu entry
// and keys. A new window is added here and in a folder of its own.

class TForm1;

void AddFurtherWindows(TForm1 &bar);
