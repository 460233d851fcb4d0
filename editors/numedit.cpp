#include "editors/numedit.h"

#include "editors/numedit_p.h"
#include "platform/base/amounttext.h"
#include "platform/gui/canvas.h"
#include "platform/core/desktop.h"
#include "platform/base/exceptions.h"
#include "platform/base/formatsettings.h"
#include "platform/base/numtext.h"

#include <QPainter>
#include <QScopedValueRollback>

#include <algorithm>

namespace {

// The edit control's own gap before its first character, as the drop-down edit's text area
// keeps it.
constexpr int EditLeftMargin = 1;

bool IsExponent(QChar c) {
    return c == u'e' || c == u'E';
}

} // namespace

// ---- text rules ---------------------------------------------------------------------------

QString NormalizeNumberText(const QString &text) {
    const TFormatSettings &fs = FormatSettings();
    const QChar decimal = fs.DecimalSeparator, thousands = fs.ThousandSeparator;
    QString s = text.trimmed();
    if (decimal != thousands) s.remove(thousands);
    if (decimal != u'.' && thousands != u'.') s.replace(u'.', decimal);
    if (decimal != u',' && thousands != u',') s.replace(u',', decimal);
    if (s.isEmpty()) return QStringLiteral("0");
    if (s == u"-") return QStringLiteral("-0");
    return s;
}

namespace {

// What only the amount reader reads: a point, a currency mark, blanks between the digits.
bool LooksLikeAmount(const QString &text) {
    const QString trimmed = text.trimmed();
    if (trimmed.contains(u'.') || trimmed.contains(u'€') ||
        trimmed.contains(QLatin1String("EUR"), Qt::CaseInsensitive))
        return true;
    return std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) {
        return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
    });
}

} // namespace

QString FieldNumberText(const QString &text, bool regrouped) {
    if (regrouped || FormatSettings().DecimalSeparator != u',' || !LooksLikeAmount(text))
        return NormalizeNumberText(text);
    QString normal;
    return NormalizeNumber(text, normal) ? normal : text.trimmed();
}

// The whole text counts, however long: what the key filter lets through must still read when
// the field is left.
bool ParseNumberText(const QString &text, long double &value) {
    const QChar decimal = FormatSettings().DecimalSeparator;
    for (QChar c : text)
        if ((c < u'0' || c > u'9') && c != u'+' && c != u'-' && !IsExponent(c) && c != decimal)
            return false;
    return TryStrToFloat(text, value);
}

qsizetype DecimalsOf(const QString &text) {
    const qsizetype point = text.indexOf(FormatSettings().DecimalSeparator);
    if (point < 0) return 0;
    qsizetype exponent = text.indexOf(u'e', 0, Qt::CaseInsensitive);
    if (exponent <= point) exponent = text.size();
    return exponent - point - 1;
}

bool AcceptsNumberText(const QString &text, unsigned decimals, long double minValue,
                       long double maxValue, bool regrouped) {
    const QString normal = FieldNumberText(text, regrouped);
    long double value;
    if (DecimalsOf(normal) > qsizetype(decimals) || !ParseNumberText(normal, value)) return false;
    return !(minValue >= 0 && maxValue > 0 && value < 0);
}

// While a point is typed it cannot yet be known whether it groups thousands: "1.0" may become
// "1.000". Blanks are not taken as grouping while typing, only in a paste.
bool AcceptsTypedText(const QString &text, unsigned decimals, long double minValue,
                      long double maxValue, bool regrouped) {
    if (AcceptsNumberText(text, decimals, minValue, maxValue, regrouped)) return true;
    if (regrouped || FormatSettings().DecimalSeparator != u',' || !text.contains(u'.') ||
        text.contains(u',') || text.trimmed().contains(u' '))
        return false;
    for (const char *zeros : {"0", "00", "000"}) {
        const QString whole = text.trimmed() + QLatin1String(zeros);
        if (!FieldNumberText(whole).contains(u',') &&
            AcceptsNumberText(whole, decimals, minValue, maxValue))
            return true;
    }
    return false;
}

long double LimitToRange(long double value, long double minValue, long double maxValue,
                         unsigned decimals, bool report) {
    long double limited = value;
    const bool lower = maxValue > minValue || (maxValue < minValue && maxValue == 0);
    const bool upper =
        maxValue > minValue || (maxValue < minValue && maxValue != 0 && minValue == 0);
    if (lower && limited < minValue) limited = minValue;
    if (upper && limited > maxValue) limited = maxValue;
    if (report && limited != value)
        throw ERangeError(
            Exception::Format(QStringLiteral("Wert muß zwischen %s und %s liegen"),
                              {FormatFixed(minValue, decimals), FormatFixed(maxValue, decimals)}));
    return limited;
}

QString GroupDigits(const QString &text, bool grouping) {
    const TFormatSettings &fs = FormatSettings();
    const qsizetype start = text.startsWith(u'+') || text.startsWith(u'-') ? 1 : 0;
    qsizetype end = start;
    while (end < text.size() && text[end] != fs.DecimalSeparator && !IsExponent(text[end]))
        ++end;
    QString out = text.left(start);
    out.reserve(text.size() + (end - start) / 3);
    for (qsizetype i = start; i < end; ++i) {
        if (grouping && i > start && (end - i) % 3 == 0) out += fs.ThousandSeparator;
        out += text[i];
    }
    out += QStringView(text).mid(end);
    return out;
}

QString CurrencyDisplayFormat() {
    const TFormatSettings &fs = FormatSettings();
    const QString number = QStringLiteral(",0.") + QString(std::max(0, fs.CurrencyDecimals), u'0');
    // The symbol's own points and commas are text, not pattern characters.
    QString symbol;
    for (QChar c : fs.CurrencyString)
        symbol += c == u'.' || c == u',' ? u'\'' + QString(c) + u'\'' : QString(c);
    QString pattern;
    switch (fs.CurrencyFormat) {
    case 1:
        pattern = number + symbol;
        break;
    case 2:
        pattern = symbol + u' ' + number;
        break;
    case 3:
        pattern = number + u' ' + symbol;
        break;
    default:
        pattern = symbol + number;
        break;
    }
    return pattern + QStringLiteral(";-") + pattern;
}

// ---- TCustomNumEdit -----------------------------------------------------------------------

TCustomNumEdit::TCustomNumEdit(TComponent *owner, QWidget *parent)
    : TCustomComboEdit(owner, parent), FDisplayFormat(TCustomNumEdit::StandardDisplayFormat()) {
    // A drop would put text into the field that no key check has seen.
    setAcceptDrops(false);
    RefreshEditText();
}

QString TCustomNumEdit::StandardDisplayFormat() const {
    return QStringLiteral(",0.##");
}

QString TCustomNumEdit::DisplayText() const {
    return FormatFloat(FDisplayFormat, FValue);
}

QString TCustomNumEdit::ShownText() const {
    return Entered() ? text() : DisplayText();
}

QString TCustomNumEdit::EditFormat() const {
    QString pattern = QStringLiteral("0");
    if (FDecimalPlaces > 0) pattern += u'.' + QString(FDecimalPlaces, u'#');
    return pattern;
}

long double TCustomNumEdit::Value() {
    if (!IsDesigning()) {
        try {
            CommitEditText();
        } catch (const EConvertError &) {
            FValue = FMinValue;
        }
    }
    return FValue;
}

void TCustomNumEdit::SetValue(long double value) {
    FValue = LimitToRange(value, false);
    RefreshEditText();
    update();
}

void TCustomNumEdit::SetText(const QString &value) {
    if (IsLoading()) return;
    FValue = LimitToRange(StrToFloat(FieldNumberText(value, FFormatOnEditing)), false);
    RefreshEditText();
    update();
}

void TCustomNumEdit::SetDecimalPlaces(unsigned value) {
    if (value == FDecimalPlaces) return;
    FDecimalPlaces = value;
    RefreshEditText();
    update();
}

void TCustomNumEdit::SetMinValue(long double value) {
    if (value == FMinValue) return;
    FMinValue = value;
    SetValue(FValue);
}

void TCustomNumEdit::SetMaxValue(long double value) {
    if (value == FMaxValue) return;
    FMaxValue = value;
    SetValue(FValue);
}

void TCustomNumEdit::SetZeroEmpty(bool value) {
    if (value == FZeroEmpty) return;
    FZeroEmpty = value;
    RefreshEditText();
    update();
}

void TCustomNumEdit::SetDisplayFormat(const QString &value) {
    if (value == FDisplayFormat) return;
    FDisplayFormat = value;
    RefreshEditText();
    update();
}

void TCustomNumEdit::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    update();
}

void TCustomNumEdit::SetFormatOnEditing(bool value) {
    if (value == FFormatOnEditing) return;
    FFormatOnEditing = value;
    TCustomComboEdit::SetAlignment(value ? FAlignment : TAlignment::taLeftJustify);
    if (!Entered()) return;
    if (value) {
        RegroupEditText();
    } else {
        CommitEditText();
        RefreshEditText();
    }
}

long double TCustomNumEdit::LimitToRange(long double value, bool report) const {
    return ::LimitToRange(value, FMinValue, FMaxValue, FDecimalPlaces, report);
}

void TCustomNumEdit::CommitEditText() {
    FValue = LimitToRange(StrToFloat(FieldNumberText(text(), FFormatOnEditing)), false);
}

void TCustomNumEdit::RefreshEditText() {
    setText(FValue == 0 && FZeroEmpty ? QString() : FormatFloat(EditFormat(), FValue));
}

void TCustomNumEdit::RevertEditText() {
    RefreshEditText();
    SelectAll();
}

void TCustomNumEdit::RegroupEditText() {
    const QScopedValueRollback<bool> formatting(FFormatting, true);
    QString s = text();
    const qsizetype oldLength = s.size();
    if (!s.isEmpty() && s != u"-") s = FieldNumberText(s, true);
    s = GroupDigits(s, FDisplayFormat.contains(u','));
    const int caret = cursorPosition();
    setText(s);
    if (hasFocus()) setCursorPosition(std::max(0, int(caret + s.size() - oldLength)));
}

// ---- keys, clipboard, focus ---------------------------------------------------------------

bool TCustomNumEdit::AcceptsKey(QChar key) const {
    QString s = text();
    int at = cursorPosition();
    if (hasSelectedText()) {
        at = selectionStart();
        s.remove(at, selectionLength());
    }
    s.insert(at, key);
    return AcceptsTypedText(s, FDecimalPlaces, FMinValue, FMaxValue, FFormatOnEditing);
}

// Under a decimal comma a typed point stays a point until the text shows what it is: a
// thousands point before a comma or before three last digits ("4.250,00", "1.000"), else the
// decimal comma ("4.25"). Regrouping writes its own points, so there it is the comma at once.
void TCustomNumEdit::KeyPress(QChar &key) {
    const QChar decimal = FormatSettings().DecimalSeparator;
    if (key == u',' || (key == u'.' && (decimal != u',' || FFormatOnEditing))) key = decimal;
    TCustomComboEdit::KeyPress(key);
    if (key.unicode() >= 32 && !AcceptsKey(key)) {
        if (FBeepOnError) Desktop().Beep();
        key = QChar();
    }
    if (key == QChar(VK_ESCAPE)) {
        RevertEditText();
        key = QChar();
    }
}

// A paste must leave a text that a typed key could have left: a number within the decimals
// and the sign of the range, not merely one that reads.
void TCustomNumEdit::Paste() {
    const QString before = text();
    TCustomComboEdit::Paste();
    if (AcceptsNumberText(text(), FDecimalPlaces, FMinValue, FMaxValue, FFormatOnEditing)) {
        CommitEditText();
        // "45.892,46 €" goes on as the field's own edit text, which further keys can extend.
        if (!FFormatOnEditing && FormatSettings().DecimalSeparator == u',' &&
            LooksLikeAmount(text())) {
            RefreshEditText();
            setCursorPosition(int(text().size()));
        }
        return;
    }
    setText(before);
    SelectAll();
    TakeFocusBack();
    if (FBeepOnError) Desktop().Beep();
}

void TCustomNumEdit::Change() {
    if (FFormatting) return;
    if (FFormatOnEditing && Entered()) RegroupEditText();
    TCustomComboEdit::Change();
}

void TCustomNumEdit::DoEnter() {
    update();
    {
        const QScopedValueRollback<bool> formatting(FFormatting, true);
        RefreshEditText();
    }
    if (FFormatOnEditing) RegroupEditText();
    TCustomComboEdit::DoEnter();
}

void TCustomNumEdit::DoExit() {
    try {
        if (!IsDesigning() && FCheckOnExit)
            LimitToRange(StrToFloat(FieldNumberText(text(), FFormatOnEditing)), true);
        CommitEditText();
    } catch (const Exception &) {
        SelectAll();
        TakeFocusBack();
        throw;
    }
    update();
    {
        const QScopedValueRollback<bool> formatting(FFormatting, true);
        RefreshEditText();
    }
    setCursorPosition(0);
    TCustomComboEdit::DoExit();
}

// ---- painting -----------------------------------------------------------------------------

QPoint TCustomNumEdit::TextMargins() const {
    int vertical = 0;
    if (BorderStyle() == TBorderStyle::bsSingle) vertical = Ctl3D() ? 1 : 2;
    return QPoint(EditLeftMargin + vertical, vertical);
}

void TCustomNumEdit::paintEvent(QPaintEvent *event) {
    TCustomComboEdit::paintEvent(event);
    if (!Entered()) PaintUnfocusedText();
}

// Over what the line edit painted: the flat frame, the field's colour and the display text.
void TCustomNumEdit::PaintUnfocusedText() {
    QPainter painter(this);
    TCanvas canvas(painter);
    canvas.Font = font();
    const QColor grey = ColorToQColor(clGrayText);
    canvas.FontColor = !isEnabled() && !IsDesigning() && ColorToQColor(Color()) != grey
                           ? grey
                           : palette().color(QPalette::Active, QPalette::Text);

    // A flat single border lies inside the client area, a sunken one outside it.
    const bool border = BorderStyle() == TBorderStyle::bsSingle;
    const QRect client = border && Ctl3D() ? ClientRect() : rect();
    TRect r{client.left(), client.top(), client.right() + 1, client.bottom() + 1};
    if (border && !Ctl3D()) {
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Pen.Color = ColorToQColor(clWindowFrame);
        canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    canvas.Brush = TBrush{ColorToQColor(Color()), TBrushStyle::bsSolid};
    canvas.FillRect(r);

    const QString text = DisplayText();
    const bool buttonShown = ButtonHolder()->isVisibleTo(this);
    const int button = buttonShown ? ButtonWidth() : 0;
    const int textWidth = canvas.TextWidth(text) + (buttonShown ? 1 : 0);
    const QPoint margins = TextMargins();
    int left = margins.x();
    if (FAlignment == TAlignment::taRightJustify)
        left = client.width() - button - textWidth - margins.x() - 2;
    else if (FAlignment == TAlignment::taCenter)
        left = (client.width() - button - textWidth) / 2;
    painter.setClipRect(r.ToQRect());
    TRect at{client.left() + left, client.top() + margins.y(), 0, r.Bottom};
    at.Right = std::max(at.Left + textWidth, r.Right);
    canvas.DrawText(at, text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

// ---- TCurrencyEdit ------------------------------------------------------------------------

TCurrencyEdit::TCurrencyEdit(TComponent *owner, QWidget *parent) : TCustomNumEdit(owner, parent) {
    SetDisplayFormat(StandardDisplayFormat());
    SetButtonWidth(0);
}

QString TCurrencyEdit::StandardDisplayFormat() const {
    return CurrencyDisplayFormat();
}
