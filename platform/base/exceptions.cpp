#include "platform/base/exceptions.h"

#include "platform/base/services.h"

Exception::Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}

QString Exception::Format(const QString &pattern, const QStringList &args) {
    QString result;
    result.reserve(pattern.size() + 16);
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's' &&
            next < args.size()) {
            result += args[next++];
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}

void ReportException(const std::exception &error) {
    Services().ReportError(error);
}
