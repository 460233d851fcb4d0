#include "editors/dateedit.h"

#include "editors/popupcalendar.h"
#include "platform/core/desktop.h"
#include "platform/base/exceptions.h"
#include "platform/base/formatsettings.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QScopedValueRollback>

#include <optional>

namespace {

// The date a hand-over value holds; nullopt when it holds none.
std::optional<TDateTime> DateOf(const TVariant &value) {
    try {
        const TDateTime date = value.AsDateTime();
        if (SerialDateValid(date)) return date;
    } catch (const Exception &) {
    }
    return std::nullopt;
}

} // namespace

TCustomDateEdit::TCustomDateEdit(TComponent *owner, QWidget *parent)
    : TCustomComboEdit(owner, parent) {
    SetDefaultGlyphCount(2);
    FFieldFormat = FieldDateFormat(UsesFourDigitYear()).left(10);
    // The calendar is made when it is first opened: most starts never open it.
    SetGlyphKind(TGlyphKind::gkDefault);
    EditButton()->setAccessibleName(QStringLiteral("Kalender öffnen"));
    // A drop would put text into the mask that no paste rule has read.
    setAcceptDrops(false);
    // Stands for the creation of the edit's window, which builds the mask.
    RebuildFormat();
}

TDateEdit::TDateEdit(TComponent *owner, QWidget *parent) : TCustomDateEdit(owner, parent) {}

void TCustomDateEdit::CreatePopup() {
    TPopupCalendar *calendar = CreateCalendarPopup(this, layoutDirection());
    SetPopup(calendar);
    calendar->SetColor(FPopupColor);
}

TPopupCalendar *TCustomDateEdit::Calendar() {
    if (!Popup() && FCalendarWanted) {
        CreatePopup();
        ConfigurePopup();
    }
    return dynamic_cast<TPopupCalendar *>(Popup());
}

void TCustomDateEdit::OpenPopup(bool disableEdit) {
    Calendar();
    TCustomComboEdit::OpenPopup(disableEdit);
}

TPicture TCustomDateEdit::DefaultGlyph() const {
    // One copy for every date field, loaded when the first one asks.
    static const TPicture glyph = LoadGlyphResource(QStringLiteral("DATEGLYPH"));
    return glyph;
}

bool TCustomDateEdit::UsesFourDigitYear() const {
    switch (FYearDigits) {
    case TYearDigits::dyFour:
        return true;
    case TYearDigits::dyTwo:
        return false;
    case TYearDigits::dyDefault:
        break;
    }
    return LocaleFourDigitYear();
}

void TCustomDateEdit::RebuildFormat() {
    const TDateTime date = DateValue();
    const QString oldFormat = FFieldFormat;
    FFieldFormat = FieldDateFormat(UsesFourDigitYear()).left(10);
    const QString mask = FieldDateMask(FBlanksChar, UsesFourDigitYear());
    if (mask != EditMask() || FFieldFormat != oldFormat) SetEditMask(QString());
    // Also when only the locale's separator changed, which the mask names as "/".
    SetEditMask(mask);
    ConfigurePopup();
    SetDateValue(date);
}

void TCustomDateEdit::ConfigurePopup() {
    if (Popup())
        ApplyCalendarSettings(Popup(), FStartOfWeek, FWeekends, UsesFourDigitYear(), FCalendarHints,
                              FWeekendColor);
}

void TCustomDateEdit::changeEvent(QEvent *event) {
    TCustomComboEdit::changeEvent(event);
    // The application has read the new regional settings by the time its widgets hear of it.
    if (event->type() == QEvent::LocaleChange && !IsDesigning()) RebuildFormat();
}

// ---- properties -------------------------------------------------------------------------

void TCustomDateEdit::SetBlanksChar(QChar value) {
    if (value.unicode() < 32) value = u' ';
    if (value == FBlanksChar) return;
    FBlanksChar = value;
    RebuildFormat();
}

void TCustomDateEdit::SetCalendarHints(const QStringList &value) {
    FCalendarHints = value.mid(0, 4);
    if (!IsDesigning()) ConfigurePopup();
}

TCalendarStyle TCustomDateEdit::CalendarStyle() const {
    return FCalendarWanted ? TCalendarStyle::csPopup : TCalendarStyle::csDialog;
}

void TCustomDateEdit::SetCalendarStyle(TCalendarStyle value) {
    if (value == CalendarStyle()) return;
    FCalendarWanted = value == TCalendarStyle::csPopup;
    if (!FCalendarWanted) FreePopup();
}

TColor TCustomDateEdit::PopupColor() const {
    if (const auto *calendar = dynamic_cast<const TPopupCalendar *>(Popup()))
        return calendar->Color();
    return FPopupColor;
}

void TCustomDateEdit::SetPopupColor(TColor value) {
    FPopupColor = value;
    if (auto *calendar = dynamic_cast<TPopupCalendar *>(Popup())) calendar->SetColor(value);
}

void TCustomDateEdit::SetStartOfWeek(TDayOfWeekName value) {
    if (value == FStartOfWeek) return;
    FStartOfWeek = value;
    if (!IsDesigning()) ConfigurePopup();
}

void TCustomDateEdit::SetWeekends(TDaysOfWeek value) {
    if (value == FWeekends) return;
    FWeekends = value;
    if (!IsDesigning()) ConfigurePopup();
}

void TCustomDateEdit::SetWeekendColor(TColor value) {
    if (value == FWeekendColor) return;
    FWeekendColor = value;
    if (!IsDesigning()) ConfigurePopup();
}

void TCustomDateEdit::SetYearDigits(TYearDigits value) {
    if (value == FYearDigits) return;
    FYearDigits = value;
    RebuildFormat();
}

// ---- the date ---------------------------------------------------------------------------

TDateTime TCustomDateEdit::Fallback() const {
    return FDefaultToday ? CurrentDateSerial() : EmptyDate;
}

TDateTime TCustomDateEdit::DateValue() const {
    return ParseDateOr(FFieldFormat, Text(), Fallback());
}

TDateTime TCustomDateEdit::StrictDateValue() const {
    if (!HasDateText() && FDefaultToday) return CurrentDateSerial();
    TDateTime date;
    if (!HasDateText() || !TryParseDate(FFieldFormat, Text(), date)) throw NoDateError(Text());
    return date;
}

void TCustomDateEdit::SetDateValue(TDateTime value) {
    if (!SerialDateValid(value) || value == EmptyDate) value = Fallback();
    const TDateTime old = DateValue();
    SetText(value == EmptyDate ? QString() : FormatDate(FFieldFormat, value));
    setModified(DateValue() != old);
}

void TCustomDateEdit::SetDateAndSelect(TDateTime value) {
    SetDateValue(value);
    SelectAll();
}

bool TCustomDateEdit::HasDateText() const {
    const QChar separator = FormatSettings().DateSeparator;
    for (QChar c : Text())
        if (c != u' ' && c != FBlanksChar && !c.isNull() && c != separator) return true;
    return false;
}

void TCustomDateEdit::ValidateDateText() {
    if (!HasDateText()) return;
    FSettingText = true;
    try {
        SetDateValue(ParseDate(FFieldFormat, Text()));
    } catch (...) {
        FSettingText = false;
        TakeFocusBack();
        throw;
    }
    FSettingText = false;
}

// A paste is read as a whole date: pasted into the mask digit by digit, "2005-01-15" would
// become 20.05.0115.
void TCustomDateEdit::Paste() {
    if (!DirectInput() || ReadOnly()) return;
    TDateTime date;
    if (!TryParseForeignDate(FFieldFormat, QGuiApplication::clipboard()->text(), date)) {
        Desktop().Beep();
        return;
    }
    SetDateAndSelect(date);
}

void TCustomDateEdit::Change() {
    if (!FSettingText) TCustomComboEdit::Change();
}

void TCustomDateEdit::DoExit() {
    if (FCheckOnExit && !IsDesigning()) ValidateDateText();
    ForgetTyping();
    TCustomComboEdit::DoExit();
}

// The line edit keeps every keystroke for its undo: over a day's calculations that grows
// without end, and Ctrl+Z would step back into dates typed for earlier ones. Writing the text
// anew ends the history; what was typed stays, a date typed short ("16.1 .24") written out as
// the field writes dates, and the modified mark stays too.
void TCustomDateEdit::ForgetTyping() {
    const bool modified = isModified();
    const QScopedValueRollback<bool> quiet(FSettingText, true);
    TDateTime date = EmptyDate;
    const bool isDate = HasDateText() && TryParseDate(FFieldFormat, Text(), date) &&
                        SerialDateValid(date) && date != EmptyDate;
    SetText(isDate ? FormatDate(FFieldFormat, date) : Text());
    setModified(modified);
}

// ---- keys -------------------------------------------------------------------------------

void TCustomDateEdit::KeyDown(TKeyCode &key, TShiftState shift) {
    switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_ADD:
    case VK_SUBTRACT:
        if (PopupShown()) {
            if (TPopupCalendar *calendar = Calendar()) calendar->KeyDown(key, shift);
            key = 0;
        } else if (shift == 0 && DirectInput() && (key == VK_ADD || key == VK_SUBTRACT)) {
            // A step out of the calendar's range leaves the date alone rather than emptying
            // the field.
            const TDateTime stepped =
                DateOr(DateValue(), CurrentDateTimeSerial()) + (key == VK_ADD ? 1 : -1);
            if (SerialDateValid(stepped)) SetDateAndSelect(stepped);
            key = 0;
        }
        break;
    default:
        break;
    }
    TCustomComboEdit::KeyDown(key, shift);
}

void TCustomDateEdit::KeyPress(QChar &key) {
    const bool dateKey = key == u'+' || key == u'-' || key == u'T' || key == u't';
    if (dateKey && PopupShown()) {
        if (TPopupCalendar *calendar = Calendar()) calendar->KeyPress(key);
        key = QChar();
    } else if (dateKey && DirectInput()) {
        if (key == u'T' || key == u't') SetDateAndSelect(CurrentDateSerial());
        key = QChar();
    }
    TCustomComboEdit::KeyPress(key);
}

// ---- the calendar's value ---------------------------------------------------------------

void TCustomDateEdit::PushPopupValue(const TVariant &value) {
    // An empty text opens on today too, not on the day the serial 0 stands for.
    const TDateTime date = DateOr(ParseDateOr(FFieldFormat, value.AsString(), CurrentDateSerial()),
                                  CurrentDateSerial());
    TCustomComboEdit::PushPopupValue(TVariant::FromDateTime(date));
}

bool TCustomDateEdit::ConfirmPopupValue(TVariant &value) {
    if (!OnAcceptDate) return true;
    const bool none =
        value.IsEmpty() || (value.VarType() == varString && value.AsString().isEmpty());
    TDateTime date = none ? EmptyDate : DateOf(value).value_or(Fallback());
    bool action = true;
    OnAcceptDate(this, date, action);
    if (action) value = TVariant::FromDateTime(date);
    return action;
}

void TCustomDateEdit::TakePopupValue(const TVariant &value) {
    SetDateValue(DateOf(value).value_or(EmptyDate));
    UpdatePopupShown();
    if (isModified()) TCustomComboEdit::Change();
}
