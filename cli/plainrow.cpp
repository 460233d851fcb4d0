#include "cli/plainrow.h"

#include "engine/fixedtext.h"

#include <algorithm>
#include <cstring>

namespace {

bool digit(char c) {
    return c >= '0' && c <= '9';
}

// "1234" or "1234,5" or "1234,56", at most fifteen digits: the nearest long double, made as the
// general reader makes it (the digits as an integer, one division by 1, 10 or 100).
bool readNumber(QByteArrayView text, long double &value) {
    static constexpr long double Powers[] = {1.0L, 10.0L, 100.0L};
    quint64 digits = 0;
    int count = 0, decimals = -1;
    for (char c : text) {
        if (c == ',' && decimals < 0 && count > 0) {
            decimals = 0;
            continue;
        }
        if (!digit(c) || ++count > 15 || decimals == 2) return false;
        digits = digits * 10 + quint64(c - '0');
        if (decimals >= 0) ++decimals;
    }
    if (count == 0 || decimals == 0) return false;
    value = static_cast<long double>(digits) / Powers[std::max(decimals, 0)];
    return true;
}

int number(QByteArrayView digits) {
    int value = 0;
    for (char c : digits) {
        if (!digit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool readDate(QByteArrayView text, TDateTime &day) {
    int year, month, date;
    if (text.size() != 10) return false;
    if (text[2] == '.' && text[5] == '.') {
        date = number(text.first(2));
        month = number(text.sliced(3, 2));
        year = number(text.sliced(6, 4));
    } else if (text[4] == '-' && text[7] == '-') {
        year = number(text.first(4));
        month = number(text.sliced(5, 2));
        date = number(text.sliced(8, 2));
    } else {
        return false;
    }
    if (!DatePartsValid(year, month, date)) return false;
    day = MakeDateSerial(quint16(year), quint16(month), quint16(date));
    return true;
}

// The place of the text among the names, from `first`.
template <std::size_t N>
bool readName(QByteArrayView text, const char *const (&names)[N], int first, int &value) {
    for (std::size_t i = 0; i < N; ++i)
        if (text == QByteArrayView(names[i])) {
            value = first + int(i);
            return true;
        }
    return false;
}

bool readSwitch(QByteArrayView text, bool &on) {
    static constexpr const char *Yes[] = {"ja", "j", "x", "1", "wahr", "true", "yes"};
    static constexpr const char *No[] = {"nein", "n", "0", "falsch", "false", "no"};
    int ignored;
    on = readName(text, Yes, 0, ignored);
    return on || readName(text, No, 0, ignored);
}

constexpr const char *FormulaNames[] = {"euro", "deutsche", "englische"};
constexpr const char *DayCountNames[] = {"taggenau", "actact", "act360", "30360"};

} // namespace

bool SplitPlainRecord(QByteArrayView record, char separator, std::vector<QByteArrayView> &cells,
                      qsizetype maxCells) {
    cells.clear();
    const char *data = record.data();
    const std::size_t size = std::size_t(record.size());
    if (size > 0 && std::memchr(data, '"', size)) return false;
    for (std::size_t at = 0;;) {
        if (qsizetype(cells.size()) == maxCells) return false;
        const void *found = std::memchr(data + at, separator, size - at);
        const std::size_t end = found ? std::size_t(static_cast<const char *>(found) - data) : size;
        cells.emplace_back(data + at, qsizetype(end - at));
        if (!found) return true;
        at = end + 1;
    }
}

bool ReadPlainField(TCommand command, TField field, QByteArrayView text, TPlainValue &value) {
    value = TPlainValue{.Given = true};
    switch (field) {
    case fdBetrag:
        if (!readNumber(text, value.Number)) return false;
        if (command == TCommand::Zinsen) return true;
        // The window's claim: its currency field's value in cents.
        if (const std::optional<TCents> cents = CentsFromAmount(value.Number)) {
            value.Cents = *cents;
            return true;
        }
        return false;
    case fdVon:
    case fdBis:
        return readDate(text, value.Day);
    case fdSatz:
        return command == TCommand::Zinsen && readNumber(text, value.Number);
    case fdFormel:
        return command == TCommand::Zinsen && readName(text, FormulaNames, fcEuro, value.Code);
    case fdTage:
        return command == TCommand::Verzug &&
               readName(text, DayCountNames, dcActual365, value.Code);
    case fdVerbraucher:
    case fdUnternehmer:
    case fdVor2014:
    case fdPauschale:
    case fdOhneZahlungstag:
        return command == TCommand::Verzug && readSwitch(text, value.On);
    default:
        // A rate rule's typed rate, and any field added later: the general way.
        return false;
    }
}

TPlainCases::TPlainCases(TCommand command, const TFields &options, int defaultCode, TDateTime today)
    : FCommand(command), FDefaultCode(defaultCode), FToday(today) {
    FUsable = command == TCommand::Zinsen || command == TCommand::Verzug;
    for (TField field : RuleFields())
        FRule[field] = true;
    for (int field = 0; field < FieldCount && FUsable; ++field)
        if (!options[field].isEmpty())
            FUsable =
                ReadPlainField(command, TField(field), options[field].toUtf8(), FOptions[field]);
}

bool TPlainCases::Read(const std::vector<QByteArrayView> &cells, const std::vector<TField> &fields,
                       TValues &values) const {
    values = FOptions;
    const std::size_t used = std::min(cells.size(), fields.size());
    // Cells past the header's columns must be empty.
    for (std::size_t i = used; i < cells.size(); ++i)
        if (!cells[i].isEmpty()) return false;
    // A row that names its rate rule replaces the options' rule.
    for (std::size_t i = 0; i < used; ++i)
        if (!cells[i].isEmpty() && fields[i] != FieldCount && FRule[fields[i]]) {
            for (int field = 0; field < FieldCount; ++field)
                if (FRule[field]) values[field] = TPlainValue();
            break;
        }
    for (std::size_t i = 0; i < used; ++i)
        if (fields[i] != FieldCount && !cells[i].isEmpty() &&
            !ReadPlainField(FCommand, fields[i], cells[i], values[fields[i]]))
            return false;
    if (!values[fdBis].Given) values[fdBis] = TPlainValue{.Given = true, .Day = FToday};
    return true;
}

bool TPlainCases::Zinsen(const std::vector<QByteArrayView> &cells,
                         const std::vector<TField> &fields, TZinsenCase &c) const {
    TValues values;
    if (FCommand != TCommand::Zinsen || !Read(cells, fields, values)) return false;
    for (TField required : {fdBetrag, fdVon, fdSatz})
        if (!values[required].Given) return false;
    c.Principal = values[fdBetrag].Number;
    c.Start = values[fdVon].Day;
    c.End = values[fdBis].Day;
    c.Rate = values[fdSatz].Number;
    c.Code = values[fdFormel].Given ? values[fdFormel].Code : FDefaultCode;
    return true;
}

bool TPlainCases::Verzug(const std::vector<QByteArrayView> &cells,
                         const std::vector<TField> &fields, TDefaultInterestInput &input) const {
    TValues values;
    if (FCommand != TCommand::Verzug || !Read(cells, fields, values)) return false;
    if (!values[fdBetrag].Given || !values[fdVon].Given) return false;
    const bool consumer = values[fdVerbraucher].On, business = values[fdUnternehmer].On;
    // One rule, and the older law only for a business: else the general way says what is wrong.
    if (consumer == business || (values[fdVor2014].On && !business)) return false;
    input = TDefaultInterestInput();
    input.Claim = values[fdBetrag].Cents;
    input.FirstDay = values[fdVon].Day;
    input.LastDay = values[fdBis].Day;
    input.Rule.Kind = consumer ? rkConsumer : rkNoConsumer;
    input.Rule.ClaimBefore29072014 =
        business && (values[fdVor2014].On || ClaimBefore29072014Preset(input.FirstDay));
    if (values[fdTage].Given) input.DayCount = TDayCount(values[fdTage].Code);
    input.LastDayCounts = !values[fdOhneZahlungstag].On;
    input.FlatFee = values[fdPauschale].On;
    return true;
}
