#pragma once
// What the command line asks of a start: the bar as usual, the bar with a further window
// (--verzug, or the claims statement with a case file), or only a text printed (help, version, a wrong call), without any window and
// without touching the settings.

#include <QStringList>

#include <optional>

struct TCommandLineAnswer {
    int ExitStatus = 0;
    QString Output; // for standard output
    QString Error;  // for standard error
};

// Before the application object exists, so that help and version need no display: the
// answer to --help or --version among the raw arguments, if one is asked for.
std::optional<TCommandLineAnswer> AnswerWithoutWindow(const QStringList &arguments);

// With the arguments the application object left (it takes its own, such as -platform): the
// answer to anything the program does not know, with status 2.
std::optional<TCommandLineAnswer> RefuseUnknownArguments(const QStringList &arguments);

// The further window a start asks for ("verzug"; "forderung" and the case file's URL after a
// blank), or an empty text.
QString WindowAskedFor(const QStringList &arguments);

// Prints the answer where it belongs; gives its exit status.
int Print(const TCommandLineAnswer &answer);
