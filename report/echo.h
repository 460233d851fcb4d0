#pragma once
// Input repeated in messages and results, made safe for where it goes: a control character
// can neither end a line early (and fake a second one), nor hide or turn the text around it,
// and a quote of the input stays short however long the input is.

#include <QString>
#include <QStringView>

// Quoted input is cut after this many characters, with "…".
inline constexpr qsizetype MaxQuoted = 40;

// The text with each control character shown instead: C0 controls and DEL as their pictures
// ("␊" for a line feed, "␀" for NUL), C1 controls, the line and paragraph separators and the
// marks that turn the writing direction as "�". A CSV cell keeps its tabs and line breaks,
// which a quoted field holds as they are.
QString Visible(QStringView text, bool keepLineBreaks = false);
// Whether Visible shows the character as another: a control character, a line or paragraph
// separator, or a mark that turns the writing direction.
bool Unsafe(char16_t c);
// Visible, and cut to MaxQuoted characters with "…".
QString Excerpt(QStringView text);
// „Excerpt“.
QString Quoted(QStringView text);
