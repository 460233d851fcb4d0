#pragma once
// The formula the bar calculates with, as its settings store keeps it, read without leaving a
// trace: a run on the command line never makes or changes the settings file.

// The stored formula's code (fcEuro, fcDeutsche or fcEnglische); fcEuro when there is no
// settings file, no stored formula, or the file cannot be read.
int StoredFormulaCode();
