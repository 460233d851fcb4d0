// The regional settings as the C library's locale defines them.

#include "platform/formatsettings.h"
#include "platform/formatsettings_p.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>

namespace {

// The locale the environment names for the date and time, as the C library resolves "".
QString EffectiveName(const QString &name) {
    if (!name.isEmpty()) return name;
    for (const char *variable : {"LC_ALL", "LC_TIME", "LANG"})
        if (const char *value = std::getenv(variable); value && *value)
            return QString::fromLocal8Bit(value);
    return QStringLiteral("C");
}

bool IsCLocale(const QString &name) {
    return name == QLatin1String("C") || name == QLatin1String("POSIX") ||
           name.startsWith(QLatin1String("C."));
}

class TLocaleData {
public:
    explicit TLocaleData(const QString &name)
        : FLocale(newlocale(LC_ALL_MASK, name.toLocal8Bit().constData(), locale_t(nullptr))) {
        if (FLocale)
            FUtf8 =
                QByteArray(nl_langinfo_l(CODESET, FLocale)).toUpper().replace("-", "") == "UTF8";
    }
    ~TLocaleData() {
        if (FLocale) freelocale(FLocale);
    }
    TLocaleData(const TLocaleData &) = delete;
    TLocaleData &operator=(const TLocaleData &) = delete;

    bool IsValid() const { return FLocale != locale_t(nullptr); }
    QString Item(nl_item item) const {
        const char *text = nl_langinfo_l(item, FLocale);
        return FUtf8 ? QString::fromUtf8(text) : QString::fromLatin1(text);
    }

private:
    locale_t FLocale;
    bool FUtf8 = false;
};

// A strftime pattern in the letters the settings use: d, M, y for the date, Qt's H, h, m, s
// and AP for the time. Text that is not a field stands as written; in a time pattern letters
// are quoted, since Qt would read them as fields.
QString FromStrftime(const QString &pattern, const TLocaleData &data, bool time) {
    QString result;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != u'%' || i + 1 == pattern.size()) {
            if (time && c.isLetter())
                result += u'\'' + QString(c) + u'\'';
            else
                result += c;
            continue;
        }
        QChar field = pattern[++i];
        // The alternative-digit and era modifiers change nothing here.
        if ((field == u'E' || field == u'O') && i + 1 < pattern.size()) field = pattern[++i];
        switch (field.unicode()) {
        case u'd':
            result += QStringLiteral("dd");
            break;
        case u'e':
            result += u'd';
            break;
        case u'm':
            result += QStringLiteral("MM");
            break;
        case u'b':
        case u'h':
            result += QStringLiteral("MMM");
            break;
        case u'B':
            result += QStringLiteral("MMMM");
            break;
        case u'y':
            result += QStringLiteral("yy");
            break;
        case u'Y':
            result += QStringLiteral("yyyy");
            break;
        case u'D':
            result += QStringLiteral("MM/dd/yy");
            break;
        case u'F':
            result += QStringLiteral("yyyy-MM-dd");
            break;
        case u'a':
            result += QStringLiteral("ddd");
            break;
        case u'A':
            result += QStringLiteral("dddd");
            break;
        case u'H':
            result += QStringLiteral("HH");
            break;
        case u'k':
            result += u'H';
            break;
        case u'I':
            result += QStringLiteral("hh");
            break;
        case u'l':
            result += u'h';
            break;
        case u'M':
            result += QStringLiteral("mm");
            break;
        case u'S':
            result += QStringLiteral("ss");
            break;
        case u'p':
        case u'P':
            result += QStringLiteral("AP");
            break;
        case u'R':
            result += QStringLiteral("HH:mm");
            break;
        case u'T':
            result += QStringLiteral("HH:mm:ss");
            break;
        case u'r':
            result += FromStrftime(data.Item(T_FMT_AMPM), data, true);
            break;
        case u'n':
        case u't':
            result += u' ';
            break;
        default: // "%%" and anything unknown
            result += field;
            break;
        }
    }
    return result;
}

} // namespace

TFormatSettings TFormatSettings::FromSystemLocale(const QString &name) {
    const QString effective = EffectiveName(name);
    if (IsCLocale(effective)) return German();
    const TLocaleData data(name);
    if (!data.IsValid()) return German();

    // The currency, which the C library does not describe in the form needed, from Qt.
    TFormatSettings s = FromLocale(QLocale(effective.section(u'.', 0, 0).section(u'@', 0, 0)));
    if (const QString radix = data.Item(RADIXCHAR); !radix.isEmpty())
        s.DecimalSeparator = radix.front();
    if (const QString thousands = data.Item(THOUSEP); !thousands.isEmpty())
        s.ThousandSeparator = thousands.front();
    s.ShortDateFormat = FromStrftime(data.Item(D_FMT), data, false);
    s.DateSeparator = SeparatorOf(s.ShortDateFormat, u'/');
    s.LongTimeFormat = FromStrftime(data.Item(T_FMT), data, true);
    s.ShortTimeFormat = QString(s.LongTimeFormat).remove(QLatin1String(":ss"));
    s.TimeSeparator = SeparatorOf(s.LongTimeFormat, u':');
    s.TimeAMString = data.Item(AM_STR);
    s.TimePMString = data.Item(PM_STR);
    for (int m = 0; m < 12; ++m) {
        // The name on its own, as a calendar's title shows it, where the language has one.
        const QString alone = data.Item(nl_item(ALTMON_1 + m));
        s.LongMonthNames[m] = alone.isEmpty() ? data.Item(nl_item(MON_1 + m)) : alone;
        s.ShortMonthNames[m] = data.Item(nl_item(ABMON_1 + m));
    }
    for (int d = 0; d < 7; ++d) {
        s.LongDayNames[d] = data.Item(nl_item(DAY_1 + d));
        s.ShortDayNames[d] = data.Item(nl_item(ABDAY_1 + d));
    }
    return s;
}
