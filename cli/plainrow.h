#pragma once
// A batch's rows in their commonest shape, read straight from their bytes: cells without
// quotes, amounts and rates as "1234,56", dates as "TT.MM.JJJJ" or "JJJJ-MM-TT", names and
// switches in small letters as the help writes them. Every other row, and every row that has
// a fault, is read the general way (TCaseReader, which words each message); for the rows read
// here both ways give the same case.

#include "cli/commands.h"
#include "cli/fields.h"

#include <QByteArrayView>
#include <array>
#include <vector>

// The cells of a record split at the separator; false (and nothing split) where the record
// holds a quote, or more than `maxCells` cells.
bool SplitPlainRecord(QByteArrayView record, char separator, std::vector<QByteArrayView> &cells,
                      qsizetype maxCells);

// A field's value read from plain bytes: the members of TFieldValue the general reader fills.
struct TPlainValue {
    bool Given = false;
    long double Number = 0;
    TCents Cents = 0; // a claim
    TDateTime Day = EmptyDate;
    int Code = 0; // a formula, or a day count
    bool On = false;
};

// Reads the field as the command takes it; false where the text is not plain (or no value).
bool ReadPlainField(TCommand command, TField field, QByteArrayView text, TPlainValue &value);

// The cases of plain rows. The options are read once; where one of them is not plain, no row
// is (Usable() is false).
class TPlainCases {
public:
    TPlainCases(TCommand command, const TFields &options, int defaultCode, TDateTime today);

    bool Usable() const { return FUsable; }
    // The case of a row whose cells (in the columns' order, `fields` naming each column's field
    // or FieldCount for a carried one) are all plain and read without a fault; false for any
    // other row.
    bool Zinsen(const std::vector<QByteArrayView> &cells, const std::vector<TField> &fields,
                TZinsenCase &c) const;
    bool Verzug(const std::vector<QByteArrayView> &cells, const std::vector<TField> &fields,
                TDefaultInterestInput &input) const;

private:
    using TValues = std::array<TPlainValue, FieldCount>;
    // The options, then the row's cells where they are not empty.
    bool Read(const std::vector<QByteArrayView> &cells, const std::vector<TField> &fields,
              TValues &values) const;

    TCommand FCommand;
    TValues FOptions;
    std::array<bool, FieldCount> FRule{}; // the fields that choose the rate rule
    int FDefaultCode;
    TDateTime FToday;
    bool FUsable = true;
};
