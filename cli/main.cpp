// tarvo-zins: the calculations of Tarvo on the command line.

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console.h"

#include <QFile>

#include <cstdio>

int main(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    TConsoleDesktop desktop;
    TConsoleServices services(desktop);
    const TServicesInUse inUse(services);
    QFile in, out, err;
    in.open(stdin, QIODevice::ReadOnly);
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return RunCommandLine(ParseCommandLine(arguments), in, out, err);
}
