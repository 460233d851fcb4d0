#include "report/json.h"

#include "platform/base/fixedpoint.h"
#include "report/echo.h"

void AppendJsonString(QString &out, QStringView text) {
    out += u'"';
    for (QChar c : text) {
        if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if ((c.unicode() < 0x20 || c.unicode() >= 0x7f) && Unsafe(c.unicode())) {
            // Lossless, and nothing a terminal or a line reader would act on.
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        } else {
            out += c;
        }
    }
    out += u'"';
}

QString JsonString(QStringView text) {
    QString json;
    AppendJsonString(json, text);
    return json;
}

void AppendJsonKey(QString &out, QLatin1StringView key, bool first) {
    if (!first) out += QLatin1StringView(", ");
    out += u'"';
    out += key;
    out += QLatin1StringView("\": ");
}

void AppendJsonKey(TByteText &out, QLatin1StringView key, bool first) {
    if (!first) out += ", ";
    out += '"';
    out.Append(key.data(), key.size());
    out += "\": ";
}

void AppendJsonCents(TByteText &out, TCents value) {
    out += '"';
    AppendHundredths(out, value, '.');
    out += '"';
}

void AppendJsonCents(QString &out, TCents value) {
    out += u'"';
    AppendHundredths(out, value, u'.');
    out += u'"';
}

void AppendJsonRate(QString &out, TBasisPoints value) {
    AppendJsonCents(out, value);
}
