// The regional settings as the C library's locale defines them.

#include "platform/base/formatsettings.h"
#include "platform/base/formatsettings_p.h"

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
// The Qt pattern of each strftime field that has one; "%r" is the locale's own 12-hour time.
QString QtField(QChar field) {
    static const std::pair<char16_t, const char *> fields[] = {
        {u'd', "dd"},       {u'e', "d"},          {u'm', "MM"},  {u'b', "MMM"},
        {u'h', "MMM"},      {u'B', "MMMM"},       {u'y', "yy"},  {u'Y', "yyyy"},
        {u'D', "MM/dd/yy"}, {u'F', "yyyy-MM-dd"}, {u'a', "ddd"}, {u'A', "dddd"},
        {u'H', "HH"},       {u'k', "H"},          {u'I', "hh"},  {u'l', "h"},
        {u'M', "mm"},       {u'S', "ss"},         {u'p', "AP"},  {u'P', "AP"},
        {u'R', "HH:mm"},    {u'T', "HH:mm:ss"},   {u'n', " "},   {u't', " "},
    };
    for (const auto &[letter, qt] : fields)
        if (field == QChar(letter)) return QString::fromLatin1(qt);
    return {};
}

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
        if (field == u'r')
            result += FromStrftime(data.Item(T_FMT_AMPM), data, true);
        else if (const QString qt = QtField(field); !qt.isEmpty())
            result += qt;
        else
            result += field; // "%%" and anything unknown
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
