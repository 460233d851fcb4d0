#include "platform/exceptions.h"

#include <cstdio>

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

namespace {
std::function<void(const std::exception &)> &exceptionReport() {
    static std::function<void(const std::exception &)> report;
    return report;
}
} // namespace

void ReportException(const std::exception &error) {
    if (exceptionReport())
        exceptionReport()(error);
    else
        std::fprintf(stderr, "%s\n", error.what());
}

void SetExceptionReport(std::function<void(const std::exception &)> report) {
    exceptionReport() = std::move(report);
}
