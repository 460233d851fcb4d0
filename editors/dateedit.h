#pragma once
// The date field: a drop-down edit whose text is a fixed-width date in the locale's order
// under an input mask ("02.05.2005"), read forgivingly, with the month calendar as its
// drop-down window. TDateEdit is the form the windows place.

#include "dates/datetext.h"
#include "editors/calendartypes.h"
#include "editors/comboedit.h"

#include <QStringList>

class TPopupCalendar;

enum class TCalendarStyle { csPopup, csDialog };
enum class TYearDigits { dyDefault, dyFour, dyTwo };

// Asked before a picked date is taken: may change the date or refuse it.
using TExecDateDialog = std::function<void(TObject *Sender, TDateTime &Date, bool &Action)>;

class TCustomDateEdit : public TCustomComboEdit {
public:
    explicit TCustomDateEdit(TComponent *owner, QWidget *parent = nullptr);

    // The date of the text; an unreadable text gives today with DefaultToday, else EmptyDate.
    TDateTime DateValue() const;
    // For a reader that must not work on a guess: the date of the text, or today for a blank
    // text with DefaultToday; raises EConvertError naming the text for anything else.
    TDateTime StrictDateValue() const;
    // An invalid serial or EmptyDate empties the field (shows today with DefaultToday).
    void SetDateValue(TDateTime value);
    virtual void SetDateAndSelect(TDateTime value);
    // The text holds more than blanks and separators.
    bool HasDateText() const;
    // Raises EConvertError for a text that is no date, after taking the focus back.
    void ValidateDateText();
    virtual void RebuildFormat();
    bool UsesFourDigitYear() const;
    const QString &FieldFormat() const { return FFieldFormat; }

    QChar BlanksChar() const { return FBlanksChar; }
    // A control character stores a space.
    void SetBlanksChar(QChar value);
    const QStringList &CalendarHints() const { return FCalendarHints; }
    // Keeps at most four hints.
    void SetCalendarHints(const QStringList &value);
    TCalendarStyle CalendarStyle() const;
    void SetCalendarStyle(TCalendarStyle value);
    bool CheckOnExit() const { return FCheckOnExit; }
    void SetCheckOnExit(bool value) { FCheckOnExit = value; }
    bool DefaultToday() const { return FDefaultToday; }
    void SetDefaultToday(bool value) { FDefaultToday = value; }
    const QString &DialogTitle() const { return FDialogTitle; }
    void SetDialogTitle(const QString &value) { FDialogTitle = value; }
    TColor PopupColor() const;
    void SetPopupColor(TColor value);
    TDayOfWeekName StartOfWeek() const { return FStartOfWeek; }
    void SetStartOfWeek(TDayOfWeekName value);
    TDaysOfWeek Weekends() const { return FWeekends; }
    void SetWeekends(TDaysOfWeek value);
    TColor WeekendColor() const { return FWeekendColor; }
    void SetWeekendColor(TColor value);
    TYearDigits YearDigits() const { return FYearDigits; }
    void SetYearDigits(TYearDigits value);

    // The drop-down calendar, made when first opened or asked for; none with csDialog.
    TPopupCalendar *Calendar();
    void OpenPopup(bool disableEdit = true) override;

    TExecDateDialog OnAcceptDate;

protected:
    void KeyDown(TKeyCode &key, TShiftState shift) override;
    void KeyPress(QChar &key) override;
    void Change() override;
    void DoExit() override;
    void Paste() override;
    TPicture DefaultGlyph() const override;
    bool ConfirmPopupValue(TVariant &value) override;
    void TakePopupValue(const TVariant &value) override;
    void PushPopupValue(const TVariant &value) override;
    void changeEvent(QEvent *event) override;

private:
    void CreatePopup();
    void ConfigurePopup();
    TDateTime Fallback() const;
    void ForgetTyping();

    QString FDialogTitle = QStringLiteral("Select a Date");
    bool FDefaultToday = false;
    TColor FPopupColor = clBtnFace;
    bool FCheckOnExit = false;
    QChar FBlanksChar = u' ';
    QStringList FCalendarHints;
    TDayOfWeekName FStartOfWeek = TDayOfWeekName::Mon;
    TDaysOfWeek FWeekends = DayBit(TDayOfWeekName::Sun);
    TColor FWeekendColor = clRed;
    TYearDigits FYearDigits = TYearDigits::dyDefault;
    QString FFieldFormat;
    bool FSettingText = false;
    bool FCalendarWanted = true;
};

class TDateEdit : public TCustomDateEdit {
public:
    explicit TDateEdit(TComponent *owner, QWidget *parent = nullptr);
};
