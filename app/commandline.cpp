#include "app/commandline.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QUrl>

#include <cstdio>

namespace {

const QString Program = QStringLiteral("tarvo");

struct TOptions {
    QCommandLineOption Help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption Version{{QStringLiteral("v"), QStringLiteral("version")}};
    QCommandLineOption Verzug{QStringLiteral("verzug")};

    QList<QCommandLineOption> All() const { return {Help, Version, Verzug}; }
};

QString HelpText() {
    return QStringLiteral(
        "Aufruf: tarvo [Option] [DATEI.tarvo]\n"
        "Tarvo – Zinsrechner als Leiste auf dem Desktop: Zinstage und Zinsbetrag nach der\n"
        "EURO-, der deutschen (30/360) oder der englischen Zinsmethode. Jedes Ergebnis kommt\n"
        "in die Zwischenablage.\n"
        "\n"
        "Optionen:\n"
        "  -h, --help      zeigt diese Hilfe und endet\n"
        "  -v, --version   zeigt die Version und endet\n"
        "      --verzug    öffnet das Fenster für Verzugszinsen, in einem schon laufenden\n"
        "                  Tarvo dort\n"
        "\n"
        "DATEI.tarvo öffnet die Forderungsaufstellung in diesem Fenster, in einem schon\n"
        "laufenden Tarvo dort.\n"
        "\n"
        "Die Einstellungen stehen in ~/.config/tarvo/registry.db. Mehr in „man tarvo“.\n");
}

QString UsageText(const QString &problem) {
    return QStringLiteral("%1: %2\nAufruf: tarvo [--help] [--version] [--verzug] [DATEI.tarvo]\n")
        .arg(Program, problem);
}

} // namespace

std::optional<TCommandLineAnswer> AnswerWithoutWindow(const QStringList &arguments) {
    TOptions options;
    QCommandLineParser parser;
    parser.addOptions(options.All());
    // Whatever else stands there is judged once the application object has taken its own.
    parser.parse(arguments);
    if (parser.isSet(options.Help)) return TCommandLineAnswer{0, HelpText(), {}};
    if (parser.isSet(options.Version))
        return TCommandLineAnswer{0, QStringLiteral("Tarvo %1\n").arg(TARVO_VERSION), {}};
    return std::nullopt;
}

std::optional<TCommandLineAnswer> RefuseUnknownArguments(const QStringList &arguments) {
    TOptions options;
    QCommandLineParser parser;
    parser.addOptions(options.All());
    parser.parse(arguments);
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString dashes =
            unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        return TCommandLineAnswer{
            2,
            {},
            UsageText(QStringLiteral("unbekannte Option „%1%2“").arg(dashes, unknown.first()))};
    }
    // One case file at most.
    if (parser.positionalArguments().size() > 1)
        return TCommandLineAnswer{2,
                                  {},
                                  UsageText(QStringLiteral("unerwartetes Argument „%1“")
                                                .arg(parser.positionalArguments().at(1)))};
    // Said here, where the caller sees it, rather than in a window of the running copy.
    if (const QStringList files = parser.positionalArguments();
        !files.isEmpty() && !QFileInfo(files.first()).isFile())
        return TCommandLineAnswer{
            2,
            {},
            UsageText(QFileInfo::exists(files.first())
                          ? QStringLiteral("„%1“ ist keine Datei").arg(files.first())
                          : QStringLiteral("die Datei „%1“ gibt es nicht").arg(files.first()))};
    return std::nullopt;
}

QString WindowAskedFor(const QStringList &arguments) {
    TOptions options;
    QCommandLineParser parser;
    parser.addOptions(options.All());
    parser.parse(arguments);
    // The running copy has a folder of its own: the file goes there whole, as a URL, which
    // also keeps blanks and line breaks of a name out of the one line of the request.
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty())
        return QStringLiteral("forderung ") +
               QUrl::fromLocalFile(QFileInfo(files.first()).absoluteFilePath())
                   .toString(QUrl::FullyEncoded);
    return parser.isSet(options.Verzug) ? QStringLiteral("verzug") : QString();
}

int Print(const TCommandLineAnswer &answer) {
    std::fputs(answer.Output.toLocal8Bit().constData(), stdout);
    std::fputs(answer.Error.toLocal8Bit().constData(), stderr);
    return answer.ExitStatus;
}
