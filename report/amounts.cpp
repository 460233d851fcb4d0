#include "report/amounts.h"

#include "platform/base/fixedpoint.h"

QString GermanCents(TCents value) {
    return HundredthsText(value, u',', u'.');
}

void AppendGermanCents(QString &out, TCents value) {
    AppendHundredths(out, value, u',', u'.');
}

void AppendGermanCents(TByteText &out, TCents value) {
    AppendHundredths(out, value, ',', '.');
}

QString EuroText(TCents value) {
    return GermanCents(value) + QStringLiteral(" €");
}

QString PlainCents(TCents value, QChar decimal) {
    return HundredthsText(value, decimal);
}

void AppendPlainCents(QString &out, TCents value, QChar decimal) {
    AppendHundredths(out, value, decimal);
}

void AppendPlainCents(TByteText &out, TCents value, char decimal) {
    AppendHundredths(out, value, decimal);
}

QString GermanRate(TBasisPoints value) {
    return HundredthsText(value, u',');
}

QString PercentText(TBasisPoints value) {
    return GermanRate(value) + QStringLiteral(" %");
}

QString PlainRate(TBasisPoints value, QChar decimal) {
    return HundredthsText(value, decimal);
}

QString CountText(qint64 value) {
    return IntegerText(value, u'.');
}

QString LawCents(TCents value, TLaw) {
    return GermanCents(value);
}

QString MoneyText(TCents value, TLaw law) {
    switch (law) {
    case lwAustria:
        return QStringLiteral("EUR ") + GermanCents(value);
    case lwSwitzerland:
        return QStringLiteral("CHF ") + GermanCents(value);
    case lwGermany:
        break;
    }
    return EuroText(value);
}

QString LawPercent(TBasisPoints value, TLaw) {
    return PercentText(value);
}
