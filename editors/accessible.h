#pragma once
// Screen-reader access to the editors: a field reads as editable text with what it shows (an
// unfocused amount as formatted, a blank date as empty), its button as a push button with its
// key, the calendar's month grid as a table of day cells named by their day, its step buttons
// by their hints and its month title as the grid's label. Each editor's constructor installs
// it.

class TMonthCalendar;

void InstallEditorAccessibility();

// Tells a screen reader which day the grid has selected now: the cell is selected and, while
// the grid is in use, focused; a new month renames the grid and its cells.
void AnnounceCalendarSelection(TMonthCalendar &grid);
