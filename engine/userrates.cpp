#include "engine/userrates.h"

#include "engine/fixedtext.h"
#include "platform/clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace {

TEngineError lineError(int line, const QString &reason) {
    return TEngineError(ecFileContent, reason, QString(), line);
}

// One line "date;rate"; the reason it is broken otherwise.
std::optional<TBaseRate> parseLine(QStringView line, QString &reason) {
    const qsizetype separator = line.indexOf(u';');
    if (separator < 0) {
        reason = QStringLiteral("Erwartet wird „Datum;Zinssatz“, etwa „01.01.2027;1,52“.");
        return std::nullopt;
    }
    const QStringView dateText = line.first(separator).trimmed();
    const QStringView rateText = line.sliced(separator + 1).trimmed();
    const std::optional<TDateTime> from = ParseDayDate(dateText);
    if (!from) {
        reason = QStringLiteral("„%1“ ist kein Datum.").arg(dateText);
        return std::nullopt;
    }
    const std::optional<TBasisPoints> rate = ParseBasisPoints(rateText);
    if (!rate) {
        reason = QStringLiteral("„%1“ ist kein Zinssatz.").arg(rateText);
        return std::nullopt;
    }
    if (const TEngineError error = CheckBaseRate(*from, *rate)) {
        reason = error.Message;
        return std::nullopt;
    }
    return TBaseRate{*from, *rate, true};
}

QString movedAsideName(const QString &path) {
    const QString stem =
        path + QStringLiteral(".broken-") + Now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = stem;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = stem + QStringLiteral("-%1").arg(n);
    return target;
}

bool sameHalfYear(const TBaseRate &a, const TBaseRate &b) {
    return a.From == b.From;
}

} // namespace

TUserRates ParseUserRates(const QString &text) {
    TUserRates result;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QStringView line = QStringView(lines[i]).trimmed();
        if (i == 0 && line.startsWith(QChar(0xFEFF))) line = line.sliced(1).trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        QString reason;
        std::optional<TBaseRate> rate = parseLine(line, reason);
        if (rate && std::any_of(result.Rates.begin(), result.Rates.end(),
                                [&](const TBaseRate &r) { return sameHalfYear(r, *rate); })) {
            reason = QStringLiteral("Für das Halbjahr ab %1 steht schon ein Zinssatz in der Datei.")
                         .arg(FormatDayDate(rate->From));
            rate.reset();
        }
        if (!rate) return {{}, lineError(i + 1, reason)};
        result.Rates.push_back(*rate);
    }
    return result;
}

QString SerializeUserRates(const std::vector<TBaseRate> &rates) {
    std::vector<TBaseRate> sorted = rates;
    std::sort(sorted.begin(), sorted.end(),
              [](const TBaseRate &a, const TBaseRate &b) { return a.From < b.From; });
    QString text = QStringLiteral("# Eigene Basiszinssätze (§ 247 BGB): Halbjahr ab;Prozent\n");
    for (const TBaseRate &rate : sorted)
        text += FormatDayDate(rate.From) + u';' + FormatBasisPoints(rate.Rate) + u'\n';
    return text;
}

TUserRates LoadUserRates(const QString &path) {
    QFile file(path);
    if (!file.exists()) return {};
    if (!file.open(QIODevice::ReadOnly))
        return {{},
                TEngineError(ecFile,
                             QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                                 .arg(QDir::toNativeSeparators(path), file.errorString()),
                             path)};
    const QByteArray bytes = file.readAll();
    file.close();
    TUserRates result = ParseUserRates(QString::fromUtf8(bytes));
    // Line by line, so that a byte that is not UTF-8 is named by its line as well.
    const QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < lines.size() && (!result.Error || i + 1 < result.Error.Line); ++i) {
        QStringDecoder decode(QStringDecoder::Utf8);
        const QString decoded = decode(lines[i]); // decoding is lazy until converted
        if (decode.hasError())
            result = {{}, lineError(i + 1, QStringLiteral("Die Zeile ist kein UTF-8-Text."))};
    }
    if (!result.Error) return result;
    result.Error.File = path;
    const QString aside = movedAsideName(path);
    const bool moved = QFile::rename(path, aside);
    result.Error.Message =
        QStringLiteral("Die Datei „%1“ ist in Zeile %2 nicht lesbar: %3 ")
            .arg(QDir::toNativeSeparators(path), QString::number(result.Error.Line),
                 result.Error.Message) +
        (moved ? QStringLiteral("Sie wurde als „%1“ beiseitegelegt; es gelten die "
                                "mitgelieferten Basiszinssätze.")
                     .arg(QDir::toNativeSeparators(aside))
               : QStringLiteral("Es gelten die mitgelieferten Basiszinssätze."));
    return result;
}

TEngineError SaveUserRates(const QString &path, const std::vector<TBaseRate> &rates) {
    QSaveFile file(path);
    QString reason;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        reason = QStringLiteral("Der Ordner lässt sich nicht anlegen.");
    else if (!file.open(QIODevice::WriteOnly) ||
             file.write(SerializeUserRates(rates).toUtf8()) < 0 || !file.commit())
        reason = file.errorString();
    if (reason.isEmpty()) return {};
    return TEngineError(ecFile,
                        QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                            .arg(QDir::toNativeSeparators(path), reason),
                        path);
}

TEngineError SetUserRate(std::vector<TBaseRate> &user, TBaseRate rate) {
    if (TEngineError error = CheckBaseRate(rate.From, rate.Rate)) return error;
    rate.User = true;
    const auto at = std::find_if(user.begin(), user.end(),
                                 [&](const TBaseRate &r) { return sameHalfYear(r, rate); });
    if (at != user.end())
        *at = rate;
    else
        user.push_back(rate);
    return {};
}

int AdoptRates(std::vector<TBaseRate> &user, const std::vector<TBaseRate> &rates,
               const TBaseRateTable &shipped) {
    int changed = 0;
    for (const TBaseRate &rate : rates) {
        const TBaseRateTable merged = shipped.MergedWith(user);
        const TBaseRate *before = merged.Find(rate.From);
        const TBaseRate *own = shipped.Find(rate.From);
        std::erase_if(user, [&](const TBaseRate &r) { return sameHalfYear(r, rate); });
        if (!own || own->Rate != rate.Rate) user.push_back({rate.From, rate.Rate, true});
        if (!before || before->Rate != rate.Rate) ++changed;
    }
    return changed;
}
