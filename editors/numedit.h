#pragma once
// The number field of the amount and the rate. While focused it shows Value as plain number
// text and lets through only keys that keep it a number with at most DecimalPlaces
// decimals; leaving commits the text to Value, and the unfocused field paints Value by
// DisplayFormat. TCurrencyEdit is the money field, without the drop-down button.

#include "editors/comboedit.h"

class TCustomNumEdit : public TCustomComboEdit {
public:
    explicit TCustomNumEdit(TComponent *owner, QWidget *parent = nullptr);

    // Commits the edit text first; text that is no number gives MinValue, without an error.
    long double Value();
    void SetValue(long double value);
    // Reads locale number text into Value; raises EConvertError when it is no number.
    void SetText(const QString &value);
    unsigned DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(unsigned value);
    long double MinValue() const { return FMinValue; }
    void SetMinValue(long double value);
    long double MaxValue() const { return FMaxValue; }
    void SetMaxValue(long double value);
    // An empty edit text for the value 0.
    bool ZeroEmpty() const { return FZeroEmpty; }
    void SetZeroEmpty(bool value);
    const QString &DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString &value);
    // Where the unfocused text stands; the edit text stays left unless FormatOnEditing.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // Groups the digits while typing.
    bool FormatOnEditing() const { return FFormatOnEditing; }
    void SetFormatOnEditing(bool value);
    bool BeepOnError() const { return FBeepOnError; }
    void SetBeepOnError(bool value) { FBeepOnError = value; }
    // Leaving with a value outside the range is refused with an error.
    bool CheckOnExit() const { return FCheckOnExit; }
    void SetCheckOnExit(bool value) { FCheckOnExit = value; }

    virtual QString StandardDisplayFormat() const;
    // What the unfocused field paints.
    QString DisplayText() const;
    // The edit text while the field is entered, DisplayText otherwise.
    QString ShownText() const override;
    bool ShownTextIsEdited() const override { return Entered(); }

protected:
    void KeyPress(QChar &key) override;
    void Change() override;
    void DoEnter() override;
    void DoExit() override;
    void Paste() override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool AcceptsKey(QChar key) const;
    void CommitEditText();
    void RefreshEditText();
    void RevertEditText();
    void RegroupEditText();
    long double LimitToRange(long double value, bool report) const;
    // Horizontal and vertical gap between the client area and the unfocused text.
    QPoint TextMargins() const;
    void PaintUnfocusedText();
    QString EditFormat() const;

    TAlignment FAlignment = TAlignment::taRightJustify;
    // From entering the field until a successful leave.
    long double FValue = 0;
    long double FMinValue = 0;
    long double FMaxValue = 0;
    unsigned FDecimalPlaces = 2;
    bool FBeepOnError = true;
    bool FCheckOnExit = false;
    bool FZeroEmpty = true;
    bool FFormatOnEditing = false;
    // The field rewrites its own text: no regrouping, no change event.
    bool FFormatting = false;
    QString FDisplayFormat;
};

class TCurrencyEdit : public TCustomNumEdit {
public:
    explicit TCurrencyEdit(TComponent *owner, QWidget *parent = nullptr);

    QString StandardDisplayFormat() const override;
};
