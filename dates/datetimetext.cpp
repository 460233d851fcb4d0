#include "dates/datetimetext.h"

#include "dates/dateserial_p.h"
#include "platform/base/exceptions.h"
#include "platform/base/formatsettings.h"
#include "platform/base/numtext.h"

#include <QStringList>
#include <QTime>

#include <cmath>

namespace {

constexpr qint64 MSecsPerDay = 86400000;

EConvertError dateTimeError(const QString &text) {
    return EConvertError(Exception::Format(
        QStringLiteral("'%s' ist keine gültige Datums- und Uhrzeitangabe"), {text}));
}

bool endsWithMarker(QString &text, const QString &marker) {
    if (marker.isEmpty() || !text.endsWith(marker, Qt::CaseInsensitive)) return false;
    text.chop(marker.size());
    text = text.trimmed();
    return true;
}

bool readTime(QString text, QTime &time) {
    const TFormatSettings &fs = FormatSettings();
    const bool pm =
        endsWithMarker(text, fs.TimePMString) || endsWithMarker(text, QStringLiteral("PM"));
    const bool am = !pm && (endsWithMarker(text, fs.TimeAMString) ||
                            endsWithMarker(text, QStringLiteral("AM")));
    const QStringList parts = text.split(fs.TimeSeparator);
    if (parts.size() < 2 || parts.size() > 3) return false;
    int hour = ReadDigits(parts[0], 2);
    const int minute = ReadDigits(parts[1], 2);
    const int second = parts.size() == 3 ? ReadDigits(parts[2], 2) : 0;
    if (am || pm) {
        if (hour < 1 || hour > 12) return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    time = QTime(hour, minute, second);
    return hour >= 0 && minute >= 0 && second >= 0 && time.isValid();
}

} // namespace

QString DateTimeToStr(double serial) {
    // Beyond 9999-12-31 or before 0001-01-01 there is no date to show.
    if (!std::isfinite(serial) || serial < -693594.0 || serial >= 2958466.0)
        throw dateTimeError(FloatToStr(serial));
    // A negative serial counts its whole days back and its time forward, so split at zero.
    qint64 days = static_cast<qint64>(std::trunc(serial));
    qint64 msecs = std::llround(std::fabs(serial - days) * MSecsPerDay);
    if (msecs >= MSecsPerDay) {
        days += serial < 0 ? -1 : 1;
        msecs = 0;
    }
    if (!SerialDateValid(static_cast<double>(days))) throw dateTimeError(FloatToStr(serial));
    const TFormatSettings &fs = FormatSettings();
    QString text = FormatDate(fs.ShortDateFormat, static_cast<double>(days));
    if (msecs != 0)
        text += u' ' + QTime::fromMSecsSinceStartOfDay(int(msecs)).toString(fs.LongTimeFormat);
    return text;
}

double StrToDateTime(const QString &text) {
    const QString t = text.trimmed();
    const qsizetype blank = t.indexOf(u' ');
    const QString datePart = blank < 0 ? t : t.left(blank);
    qsizetype position = 0;
    quint16 year, month, day;
    QTime time(0, 0);
    if (!ScanDateKeepingLongYears(datePart, FormatSettings().ShortDateFormat, position, year, month,
                                  day) ||
        (blank >= 0 && !readTime(t.mid(blank + 1).trimmed(), time)))
        throw dateTimeError(text);
    const double days = MakeDateSerial(year, month, day);
    const double fraction = static_cast<double>(time.msecsSinceStartOfDay()) / MSecsPerDay;
    return days < 0 ? days - fraction : days + fraction;
}
