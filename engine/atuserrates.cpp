#include "engine/atuserrates.h"

#include "engine/fixedtext.h"
#include "engine/userrates.h"
#include "platform/base/files.h"
#include "platform/base/fixedpoint.h"
#include "platform/base/services.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

namespace {

struct TLine {
    QByteArray Text;
    std::optional<TBaseRateChange> Change; // nothing for a comment or a blank line
};

bool isComment(const QByteArray &line) {
    const QByteArray text = line.trimmed();
    return text.isEmpty() || text.startsWith('#');
}

std::optional<TBaseRateChange> parseLine(const QByteArray &bytes, TEngineError &reason) {
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString line = decode(bytes);
    if (decode.hasError()) {
        reason = TEngineError(ecFileContent, TErrorText::LineNotUtf8);
        return std::nullopt;
    }
    const QList<QStringView> fields = QStringView(line).split(u';');
    if (fields.size() != 2) {
        reason = TEngineError(ecFileContent, TErrorText::LineShape);
        return std::nullopt;
    }
    const std::optional<TDateTime> day = ParseDayDate(fields[0].trimmed());
    if (!day) {
        reason =
            TEngineError(ecFileContent, TErrorText::NotADate, {fields[0].trimmed().toString()});
        return std::nullopt;
    }
    const std::optional<TBasisPoints> rate = ParseBasisPoints(fields[1].trimmed());
    if (!rate) {
        reason =
            TEngineError(ecFileContent, TErrorText::NotARate, {fields[1].trimmed().toString()});
        return std::nullopt;
    }
    if (TEngineError check = CheckAtBaseRateChange(*day, *rate)) {
        reason = check;
        return std::nullopt;
    }
    return TBaseRateChange{WholeDay(*day), *rate, true};
}

// The file's lines; an error for one that cannot be read or has a broken line.
TEngineError readLines(const QString &path, std::vector<TLine> &lines) {
    lines.clear();
    const TFileRead read = ReadWholeFile(path);
    if (read.Status == TReadStatus::Missing) return {};
    if (!read)
        return TEngineError(ecFile, TErrorText::FileUnreadable, {TErrorFile{path}, read.Reason},
                            path);
    QList<QByteArray> texts = read.Data.split('\n');
    if (!texts.isEmpty() && texts.last().isEmpty()) texts.removeLast();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        QByteArray text = texts[i];
        if (text.endsWith('\r')) text.chop(1);
        if (i == 0 && text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
        if (isComment(text)) {
            lines.push_back({text, std::nullopt});
            continue;
        }
        TEngineError reason;
        const std::optional<TBaseRateChange> change = parseLine(text, reason);
        if (!change) {
            reason.Code = ecFileContent;
            TEngineError error =
                Around(TErrorText::UserRatesBroken, {TErrorFile{path}, TErrorCount{i + 1}}, reason);
            error.File = path;
            error.Line = int(i + 1);
            return error;
        }
        lines.push_back({text, change});
    }
    return {};
}

QByteArray lineOf(const TBaseRateChange &change) {
    return (FormatDayDate(change.Day) + u';' + HundredthsText(change.Rate, u',')).toUtf8();
}

TEngineError write(const QString &path, const std::vector<TLine> &lines) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return TEngineError(ecFile, TErrorText::FileNotWrittenStays,
                            {TErrorFile{path}, FolderError(folder)}, path);
    QByteArray bytes;
    for (const TLine &line : lines)
        bytes += line.Text + '\n';
    if (const QString reason = ReplaceFile(path, bytes); !reason.isEmpty())
        return TEngineError(ecFile, TErrorText::FileNotWrittenStays, {TErrorFile{path}, reason},
                            path);
    return {};
}

} // namespace

QString AtUserRatesPath() {
    return Services().DataHome() + QStringLiteral("/tarvo/") +
           QString::fromLatin1(AtUserRatesFileName);
}

TAtUserRates LoadAtUserRates(const QString &path) {
    TAtUserRates result;
    std::vector<TLine> lines;
    if ((result.Error = readLines(path, lines))) return result;
    for (const TLine &line : lines)
        if (line.Change) result.Changes.push_back(*line.Change);
    std::stable_sort(result.Changes.begin(), result.Changes.end(),
                     [](const auto &a, const auto &b) { return a.Day < b.Day; });
    return result;
}

TAtBaseRates AtRatesWithUsers(const QString &path, TEngineError &error) {
    const TAtUserRates user = LoadAtUserRates(path);
    error = user.Error;
    return user.Error || user.Changes.empty() ? ShippedAtBaseRates()
                                              : ShippedAtBaseRates().MergedWith(user.Changes);
}

TEngineError SetAtUserRate(const QString &path, TBaseRateChange change) {
    change.Day = WholeDay(change.Day);
    change.User = true;
    if (TEngineError error = CheckAtBaseRateChange(change.Day, change.Rate)) return error;
    std::vector<TLine> lines;
    if (TEngineError error = readLines(path, lines)) return error;
    const auto same = std::find_if(lines.begin(), lines.end(), [&](const TLine &line) {
        return line.Change && line.Change->Day == change.Day;
    });
    if (same != lines.end()) {
        *same = {lineOf(change), change};
    } else {
        // After the lines of earlier days, so that the file reads in order.
        auto at = lines.end();
        for (auto it = lines.begin(); it != lines.end(); ++it)
            if (it->Change && it->Change->Day > change.Day) {
                at = it;
                break;
            }
        lines.insert(at, {lineOf(change), change});
    }
    return write(path, lines);
}

TEngineError RemoveAtUserRate(const QString &path, TDateTime day) {
    std::vector<TLine> lines;
    if (TEngineError error = readLines(path, lines)) return error;
    const auto before = lines.size();
    std::erase_if(
        lines, [&](const TLine &line) { return line.Change && line.Change->Day == WholeDay(day); });
    return lines.size() == before ? TEngineError() : write(path, lines);
}
