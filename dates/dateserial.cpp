#include "dates/dateserial.h"
#include "dates/dateserial_p.h"

#include "platform/base/clock.h"
#include "platform/base/exceptions.h"
#include "platform/base/formatsettings.h"
#include "platform/base/numtext.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int DaysPer400Years = 146097;
constexpr int DaysPer100Years = 36524;
constexpr int DaysPer4Years = 1461;
// Days from 0001-01-01 (day 1) to 1899-12-30 (serial 0).
constexpr int SerialOffset = 693594;
constexpr qint64 MSecsPerDay = 86400000;

constexpr int MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Whole days of a serial, with its time rounded to the millisecond first so that a moment a
// hair before midnight counts as the next day. Only meaningful for finite serials in range.
qint64 wholeDays(TDateTime serial) {
    return static_cast<qint64>(std::nearbyint(serial * MSecsPerDay)) / MSecsPerDay;
}

// Keeps the millisecond rounding away from values that would overflow it.
bool convertible(TDateTime serial) {
    return std::isfinite(serial) && serial > MinDateSerial - 1 && serial < MaxDateSerial + 1;
}

} // namespace

bool LeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int MonthLength(int year, int month) {
    return MonthDays[month - 1] + (month == 2 && LeapYear(year) ? 1 : 0);
}

bool DatePartsValid(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= MonthLength(year, month);
}

namespace {

// Days are counted from 1 March of the year 0, so that the leap day ends each year of the count
// and the months from March on have a fixed pattern of lengths (153 days every five months):
// year, month and day follow from a few divisions, whatever the date. Days from 0000-03-01 to
// 1899-12-30 (serial 0):
constexpr int MarchZeroOffset = 693899;

int daysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const int era = year / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    return era * DaysPer400Years + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear -
           MarchZeroOffset;
}

} // namespace

TDateTime MakeDateSerial(quint16 year, quint16 month, quint16 day) {
    if (!DatePartsValid(year, month, day))
        throw EConvertError(QStringLiteral("Ungültiges Argument zum Codieren des Datums"));
    return daysFromCivil(year, month, day);
}

void SplitDateSerial(TDateTime serial, quint16 &year, quint16 &month, quint16 &day) {
    year = month = day = 0;
    qint64 whole;
    if (serial >= MinDateSerial && serial <= MaxDateSerial &&
        double(whole = static_cast<qint64>(serial)) == serial) {
        // A whole day, as most are: nothing to round.
    } else {
        if (!convertible(serial)) return;
        whole = wholeDays(serial);
        if (whole < MinDateSerial || whole > MaxDateSerial) return;
    }
    const int days = static_cast<int>(whole) + MarchZeroOffset; // from 0000-03-01, never negative
    const int era = days / DaysPer400Years;
    const int dayOfEra = days - era * DaysPer400Years;
    // The leap days of the era so far, left out, make every year 365 days long.
    const int yearOfEra = (dayOfEra - dayOfEra / (DaysPer4Years - 1) + dayOfEra / DaysPer100Years -
                           dayOfEra / (DaysPer400Years - 1)) /
                          365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int m = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    year = static_cast<quint16>(era * 400 + yearOfEra + (m <= 2 ? 1 : 0));
    month = static_cast<quint16>(m);
    day = static_cast<quint16>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
}

bool SerialDateValid(TDateTime serial) {
    quint16 y, m, d;
    SplitDateSerial(serial, y, m, d);
    return DatePartsValid(y, m, d);
}

int WeekdayNumber(TDateTime serial) {
    // Serials out of range still get a weekday in 1..7 rather than a negative remainder.
    double days = convertible(serial) ? static_cast<double>(wholeDays(serial)) : std::trunc(serial);
    if (!std::isfinite(days)) days = 0;
    double r = std::fmod(days + SerialOffset, 7.0);
    if (r < 0) r += 7;
    return static_cast<int>(r) + 1;
}

TDateTime CurrentDateSerial() {
    const QDate today = Today();
    return MakeDateSerial(today.year(), today.month(), today.day());
}

TDateTime CurrentDateTimeSerial() {
    const QDateTime now = Now();
    const QTime t = now.time();
    const QDate d = now.date();
    return MakeDateSerial(d.year(), d.month(), d.day()) +
           static_cast<double>(t.msecsSinceStartOfDay()) / MSecsPerDay;
}

int CurrentLocalYear() {
    return Today().year();
}

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Reading of free date text. Only the space counts as a blank. QString holds UTF-16, so
// there are no double-byte lead characters to step over.
class SeparatorScanner {
public:
    SeparatorScanner(const QString &text, qsizetype position) : FText(text), FPos(position) {}

    qsizetype Position() const { return FPos; }
    bool AtEnd() const { return FPos >= FText.size(); }

    void SkipBlanks() {
        while (!AtEnd() && FText[FPos] == u' ')
            ++FPos;
    }

    void SkipToDigit() {
        while (!AtEnd() && !isDigit(FText[FPos]))
            ++FPos;
    }

    // Stops at four significant digits, so "20055" leaves its last 5 unread. `digits` counts
    // the digits read, leading zeros included.
    bool ReadNumber(int &value, qsizetype *digits = nullptr) {
        SkipBlanks();
        const qsizetype start = FPos;
        value = 0;
        while (!AtEnd() && isDigit(FText[FPos]) && value < 1000)
            value = value * 10 + (FText[FPos++].unicode() - u'0');
        if (digits) *digits = FPos - start;
        return FPos > start;
    }

    bool ReadSeparator(QChar separator) {
        SkipBlanks();
        if (AtEnd() || FText[FPos] != separator) return false;
        ++FPos;
        return true;
    }

    void SkipWord() {
        while (!AtEnd() && FText[FPos] != u' ')
            ++FPos;
    }

    bool StartsWith(const QString &word) const {
        return QStringView(FText).mid(FPos, word.size()).compare(word, Qt::CaseInsensitive) == 0;
    }

private:
    const QString &FText;
    qsizetype FPos;
};

// The weekday name that some Far-East formats write after the date.
void skipWeekdayName(SeparatorScanner &scan, const TFormatSettings &fs) {
    if (!fs.ShortTimeFormat.isEmpty() && isDigit(fs.ShortTimeFormat[0])) {
        scan.SkipToDigit();
        return;
    }
    do {
        scan.SkipWord();
        scan.SkipBlanks();
    } while (!scan.AtEnd() && !scan.StartsWith(fs.TimeAMString) &&
             !scan.StartsWith(fs.TimePMString));
}

enum class TYearReading { WidenAll, WidenShort };

bool scanDate(const QString &text, const QString &format, qsizetype &position, quint16 &year,
              quint16 &month, quint16 &day, TYearReading reading);

} // namespace

DateFieldOrder DateOrderOf(const QString &format) {
    for (QChar c : format) {
        switch (c.toUpper().unicode()) {
        case u'D':
            return DateFieldOrder::DayMonthYear;
        case u'M':
            return DateFieldOrder::MonthDayYear;
        case u'Y':
        case u'E':
            return DateFieldOrder::YearMonthDay;
        default:
            break;
        }
    }
    return DateFieldOrder::DayMonthYear;
}

int WidenYear(int year) {
    // Negative values are the markers of blank or unreadable year fields, not two-digit years.
    if (year < 0 || year >= 100) return year;
    const int windowStart = CurrentLocalYear() - CenturyWindowOffset;
    int result = year + windowStart / 100 * 100;
    if (result < windowStart) result += 100;
    return result;
}

bool ScanDateBySeparators(const QString &text, const QString &format, qsizetype &position,
                          quint16 &year, quint16 &month, quint16 &day) {
    return scanDate(text, format, position, year, month, day, TYearReading::WidenAll);
}

bool ScanDateKeepingLongYears(const QString &text, const QString &format, qsizetype &position,
                              quint16 &year, quint16 &month, quint16 &day) {
    return scanDate(text, format, position, year, month, day, TYearReading::WidenShort);
}

namespace {

bool scanDate(const QString &text, const QString &format, qsizetype &position, quint16 &year,
              quint16 &month, quint16 &day, TYearReading reading) {
    const TFormatSettings &fs = FormatSettings();
    const DateFieldOrder order = DateOrderOf(format);
    SeparatorScanner scan(text, position);
    year = month = day = 0;
    if (fs.ShortDateFormat.startsWith(u'g')) // an era name leads the date
        scan.SkipToDigit();

    int n1, n2, n3;
    qsizetype d1 = 0, d3 = 0;
    bool ok =
        scan.ReadNumber(n1, &d1) && scan.ReadSeparator(fs.DateSeparator) && scan.ReadNumber(n2);
    int y = 0, m = 0, d = 0;
    if (ok && scan.ReadSeparator(fs.DateSeparator)) {
        ok = scan.ReadNumber(n3, &d3);
        switch (order) {
        case DateFieldOrder::MonthDayYear:
            m = n1;
            d = n2;
            y = n3;
            break;
        case DateFieldOrder::DayMonthYear:
            d = n1;
            m = n2;
            y = n3;
            break;
        case DateFieldOrder::YearMonthDay:
            y = n1;
            m = n2;
            d = n3;
            break;
        }
        const qsizetype yearDigits = order == DateFieldOrder::YearMonthDay ? d1 : d3;
        if (ok && (reading == TYearReading::WidenAll || yearDigits <= 2)) y = WidenYear(y);
    } else if (ok) {
        y = CurrentLocalYear();
        const bool dayFirst = order == DateFieldOrder::DayMonthYear;
        d = dayFirst ? n1 : n2;
        m = dayFirst ? n2 : n1;
    }
    if (ok) {
        scan.ReadSeparator(fs.DateSeparator);
        scan.SkipBlanks();
        if (fs.FarEast && fs.ShortDateFormat.contains(QStringLiteral("ddd")))
            skipWeekdayName(scan, fs);
    }
    position = scan.Position();
    if (!ok || !DatePartsValid(y, m, d) || !scan.AtEnd()) return false;
    year = static_cast<quint16>(y);
    month = static_cast<quint16>(m);
    day = static_cast<quint16>(d);
    return true;
}

} // namespace

QString FormatDate(const QString &format, TDateTime serial) {
    const TFormatSettings &fs = FormatSettings();
    quint16 y, m, d;
    SplitDateSerial(serial, y, m, d);
    const auto number = [](int value, int width) {
        return QString::number(value).rightJustified(width, u'0');
    };
    const auto monthName = [m](const std::array<QString, 12> &names) {
        return m >= 1 && m <= 12 ? names[m - 1] : QString();
    };

    QString result;
    result.reserve(format.size() + 8);
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        const QChar letter = c.toUpper();
        qsizetype run = 1;
        if (letter == u'D' || letter == u'M' || letter == u'Y')
            while (i + run < format.size() && format[i + run].toUpper() == letter)
                ++run;
        i += run;
        if (letter == u'D')
            result += run == 1 ? QString::number(d) : number(d, 2);
        else if (letter == u'M')
            result += run == 1   ? QString::number(m)
                      : run == 2 ? number(m, 2)
                      : run == 3 ? monthName(fs.ShortMonthNames)
                                 : monthName(fs.LongMonthNames);
        else if (letter == u'Y')
            result += run <= 2 ? number(y % 100, 2) : number(y, 4);
        else if (c == u'/')
            result += fs.DateSeparator;
        else
            result += c;
    }
    return result;
}

std::optional<TDateTime> ParseIsoDate(QStringView text) {
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') return std::nullopt;
    const int year = ReadDigits(text.first(4), 4), month = ReadDigits(text.sliced(5, 2), 2),
              day = ReadDigits(text.sliced(8, 2), 2);
    if (!DatePartsValid(year, month, day)) return std::nullopt;
    return MakeDateSerial(quint16(year), quint16(month), quint16(day));
}

namespace {

// Two digits of a day or month, four of a year: "TT.MM.JJJJ" or "JJJJ-MM-TT", written into
// the ten characters at `text`, as text or as bytes.
template <typename Char>
void writeDate(Char *text, quint16 year, quint16 month, quint16 day, bool iso, Char separator) {
    const auto two = [text](int at, unsigned value) {
        text[at] = Char('0' + value / 10);
        text[at + 1] = Char('0' + value % 10);
    };
    two(iso ? 0 : 6, year / 100);
    two(iso ? 2 : 8, year % 100);
    two(iso ? 5 : 3, month);
    two(iso ? 8 : 0, day);
    text[iso ? 4 : 2] = text[iso ? 7 : 5] = separator;
}

void appendDate(QString &out, TDateTime serial, bool iso) {
    quint16 year, month, day;
    SplitDateSerial(serial, year, month, day);
    if (year == 0) return;
    const qsizetype at = out.size();
    out.resize(at + 10);
    writeDate(reinterpret_cast<char16_t *>(out.data()) + at, year, month, day, iso,
              iso ? u'-' : u'.');
}

void appendDate(TByteText &out, TDateTime serial, bool iso) {
    quint16 year, month, day;
    SplitDateSerial(serial, year, month, day);
    if (year == 0) return;
    writeDate(out.Reserve(10), year, month, day, iso, iso ? '-' : '.');
    out.Commit(10);
}

} // namespace

void AppendIsoDate(QString &out, TDateTime serial) {
    appendDate(out, serial, true);
}

void AppendIsoDate(TByteText &out, TDateTime serial) {
    appendDate(out, serial, true);
}

QString FormatIsoDate(TDateTime serial) {
    QString text;
    AppendIsoDate(text, serial);
    return text;
}

void AppendDayDate(QString &out, TDateTime serial) {
    appendDate(out, serial, false);
}

void AppendDayDate(TByteText &out, TDateTime serial) {
    appendDate(out, serial, false);
}

QString FormatDayDate(TDateTime serial) {
    QString text;
    AppendDayDate(text, serial);
    return text;
}

std::optional<TDateTime> ParseDayDate(QStringView text) {
    text = text.trimmed();
    if (text.size() == 10 && text[2] == u'.' && text[5] == u'.') {
        const int year = ReadDigits(text.sliced(6, 4), 4), month = ReadDigits(text.sliced(3, 2), 2),
                  day = ReadDigits(text.first(2), 2);
        if (!DatePartsValid(year, month, day)) return std::nullopt;
        return MakeDateSerial(quint16(year), quint16(month), quint16(day));
    }
    return ParseIsoDate(text);
}
