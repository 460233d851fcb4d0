#include "report/echo.h"

namespace {

bool DirectionMark(char16_t c) {
    return c == 0x061c || c == 0x200e || c == 0x200f || (c >= 0x202a && c <= 0x202e) ||
           (c >= 0x2066 && c <= 0x2069);
}

// What stands for the character, or a null QChar when it stands for itself.
QChar Replacement(char16_t c, bool keepLineBreaks) {
    if (c < 0x20) {
        if (keepLineBreaks && (c == u'\t' || c == u'\n' || c == u'\r')) return QChar();
        return QChar(char16_t(0x2400 + c));
    }
    if (c == 0x7f) return QChar(char16_t(0x2421));
    return Unsafe(c) ? QChar(QChar::ReplacementCharacter) : QChar();
}

} // namespace

bool Unsafe(char16_t c) {
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x2028 || c == 0x2029 || DirectionMark(c);
}

QString Visible(QStringView text, bool keepLineBreaks) {
    QString shown = text.toString();
    for (QChar &c : shown)
        if (const QChar replacement = Replacement(c.unicode(), keepLineBreaks);
            !replacement.isNull())
            c = replacement;
    return shown;
}

QString Excerpt(QStringView text) {
    if (text.size() <= MaxQuoted) return Visible(text);
    qsizetype cut = MaxQuoted;
    if (text[cut - 1].isHighSurrogate()) --cut; // never half a character
    return Visible(text.first(cut)) + u'…';
}

QString Quoted(QStringView text) {
    return u'„' + Excerpt(text) + u'“';
}
