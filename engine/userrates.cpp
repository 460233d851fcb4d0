#include "engine/userrates.h"

#include "engine/fixedtext.h"
#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/base/fixedpoint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <unordered_set>

namespace {

const char Heading[] = "# Eigene Basiszinssätze (§ 247 BGB): Halbjahr ab;Prozent[;Bundesbank, "
                       "wenn aus ihrem Download übernommen]";

bool isComment(const QByteArray &line) {
    const QByteArray text = line.trimmed();
    return text.isEmpty() || text.startsWith('#');
}

// One line "date;rate" or "date;rate;Bundesbank"; the reason it is broken otherwise.
std::optional<TBaseRate> parseLine(const QByteArray &bytes, TEngineError &reason) {
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString line = decode(bytes);
    if (decode.hasError()) {
        reason = TEngineError(ecFileContent, TErrorText::LineNotUtf8);
        return std::nullopt;
    }
    const QList<QStringView> fields = QStringView(line).split(u';');
    if (fields.size() < 2 || fields.size() > 3) {
        reason = TEngineError(ecFileContent, TErrorText::LineShape);
        return std::nullopt;
    }
    const QStringView dateText = fields[0].trimmed();
    const QStringView rateText = fields[1].trimmed();
    const std::optional<TDateTime> from = ParseDayDate(dateText);
    if (!from) {
        reason = TEngineError(ecFileContent, TErrorText::NotADate, {dateText.toString()});
        return std::nullopt;
    }
    const std::optional<TBasisPoints> rate = ParseBasisPoints(rateText);
    if (!rate) {
        reason = TEngineError(ecFileContent, TErrorText::NotARate, {rateText.toString()});
        return std::nullopt;
    }
    const QStringView origin = fields.size() == 3 ? fields[2].trimmed() : QStringView();
    const bool imported = origin.compare(QLatin1String(ImportedRateMark), Qt::CaseInsensitive) == 0;
    if (!origin.isEmpty() && !imported) {
        reason = TEngineError(ecFileContent, TErrorText::NotAnOrigin,
                              {origin.toString(), QString::fromLatin1(ImportedRateMark)});
        return std::nullopt;
    }
    if ((reason = CheckBaseRate(*from, *rate))) return std::nullopt;
    return TBaseRate{*from, *rate, true, imported};
}

// CR, LF and CRLF alike; a last line without its end counts as a line.
QList<QByteArray> splitLines(const QByteArray &bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r') continue;
        lines.append(bytes.sliced(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.append(bytes.sliced(start));
    return lines;
}

QString setAsideName(const QString &path) {
    const QString stem =
        path + QStringLiteral(".broken-") + Now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = stem;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = stem + QStringLiteral("-%1").arg(n);
    return target;
}

} // namespace

std::vector<TBaseRate> TUserRatesFile::Rates() const {
    std::vector<TBaseRate> rates;
    for (const TLine &line : FLines)
        if (line.Rate) rates.push_back(*line.Rate);
    return rates;
}

const TBaseRate *TUserRatesFile::Find(TDateTime from) const {
    for (const TLine &line : FLines)
        if (line.Rate && line.Rate->From == from) return &*line.Rate;
    return nullptr;
}

void TUserRatesFile::Set(TBaseRate rate) {
    rate.User = true;
    const TLine line{UserRateLine(rate), rate};
    const auto same = std::find_if(FLines.begin(), FLines.end(), [&](const TLine &l) {
        return l.Rate && l.Rate->From == rate.From;
    });
    if (same != FLines.end()) {
        *same = line;
        return;
    }
    // After the last earlier half-year, else before the first later one: a file kept in
    // order stays so, and the comments stay beside the rates they were written above.
    if (FLines.empty()) FLines.push_back({QByteArray(Heading), std::nullopt});
    std::optional<std::size_t> at;
    for (std::size_t i = 0; i < FLines.size(); ++i)
        if (FLines[i].Rate && FLines[i].Rate->From < rate.From) at = i + 1;
    for (std::size_t i = 0; i < FLines.size() && !at; ++i)
        if (FLines[i].Rate) at = i;
    FLines.insert(FLines.begin() + std::ptrdiff_t(at.value_or(FLines.size())), line);
}

bool TUserRatesFile::Remove(TDateTime from) {
    return std::erase_if(FLines, [&](const TLine &l) { return l.Rate && l.Rate->From == from; }) >
           0;
}

QByteArray TUserRatesFile::Bytes() const {
    QByteArray bytes;
    for (const TLine &line : FLines)
        bytes += line.Text + '\n';
    return bytes;
}

QByteArray UserRateLine(const TBaseRate &rate) {
    QString text = FormatDayDate(rate.From) + u';' + HundredthsText(rate.Rate, u',');
    if (rate.Imported) text += u';' + QLatin1String(ImportedRateMark);
    return text.toUtf8();
}

TUserRates ParseUserRates(const QByteArray &bytes) {
    TUserRates result;
    QList<QByteArray> lines = splitLines(bytes);
    // A byte-order mark is no part of the first line, and is not written back.
    if (!lines.isEmpty() && lines[0].startsWith("\xEF\xBB\xBF")) lines[0].remove(0, 3);
    std::unordered_set<qint64> halfYears;
    for (int i = 0; i < lines.size(); ++i) {
        if (isComment(lines[i])) {
            result.File.Append({lines[i], std::nullopt});
            continue;
        }
        TEngineError reason;
        std::optional<TBaseRate> rate = parseLine(lines[i], reason);
        if (rate && !halfYears.insert(qint64(rate->From)).second) {
            reason =
                TEngineError(ecFileContent, TErrorText::HalfYearTwice, {TErrorDay{rate->From}});
            rate.reset();
        }
        if (!rate) {
            reason.Code = ecFileContent;
            reason.Line = i + 1;
            return {{}, {}, reason};
        }
        result.File.Append({lines[i], rate});
    }
    result.Rates = result.File.Rates();
    return result;
}

TUserRates LoadUserRates(const QString &path, bool setAside, QByteArray *bytes) {
    const TFileRead read = ReadWholeFile(path);
    if (bytes) *bytes = read.Data;
    if (read.Status == TReadStatus::Missing) return {};
    if (!read)
        return {{},
                {},
                TEngineError(ecFile, TErrorText::FileUnreadable, {TErrorFile{path}, read.Reason},
                             path)};
    TUserRates result = ParseUserRates(read.Data);
    if (!result.Error) return result;
    QString aside;
    if (setAside) {
        aside = setAsideName(path);
        if (!QFile::rename(path, aside)) aside.clear();
    }
    const TErrorCount line{result.Error.Line};
    result.Error = aside.isEmpty()
                       ? Around(TErrorText::UserRatesBroken, {TErrorFile{path}, line}, result.Error)
                       : Around(TErrorText::UserRatesSetAside,
                                {TErrorFile{path}, line, TErrorFile{aside}}, result.Error);
    result.Error.File = path;
    return result;
}

TEngineError SaveUserRates(const QString &path, const TUserRatesFile &file) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return TEngineError(ecFile, TErrorText::FileNotWrittenStays,
                            {TErrorFile{path}, FolderError(folder)}, path);
    const QString reason = ReplaceFile(path, file.Bytes());
    if (reason.isEmpty()) return {};
    return TEngineError(ecFile, TErrorText::FileNotWrittenStays, {TErrorFile{path}, reason}, path);
}

QStringList SetAsideUserRates(const QString &path) {
    const QFileInfo info(path);
    QStringList files;
    const QFileInfoList found =
        info.absoluteDir().entryInfoList({info.fileName() + QStringLiteral(".broken-*")},
                                         QDir::Files | QDir::Hidden, QDir::Name | QDir::Reversed);
    for (const QFileInfo &file : found)
        files << file.absoluteFilePath();
    return files;
}

TEngineError SetUserRate(TUserRatesFile &file, TBaseRate rate) {
    if (TEngineError error = CheckBaseRate(rate.From, rate.Rate)) return error;
    rate.Imported = false;
    file.Set(rate);
    return {};
}

int AdoptRates(TUserRatesFile &file, const std::vector<TBaseRate> &rates,
               const TBaseRateTable &shipped, std::vector<TRateChange> *changes) {
    int changed = 0;
    for (const TBaseRate &rate : rates) {
        const TBaseRate *own = file.Find(rate.From);
        const TBaseRate *inForce = own ? own : shipped.Find(rate.From);
        if (!inForce || inForce->Rate != rate.Rate) {
            ++changed;
            if (changes)
                changes->push_back(
                    {rate.From, rate.Rate, inForce ? std::optional(inForce->Rate) : std::nullopt});
        }
        const TBaseRate *shippedRate = shipped.Find(rate.From);
        if (shippedRate && shippedRate->Rate == rate.Rate)
            file.Remove(rate.From);
        else
            file.Set({rate.From, rate.Rate, true, true});
    }
    return changed;
}
