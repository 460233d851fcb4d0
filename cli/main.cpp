// tarvo-zins: the calculations of Tarvo on the command line.

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/descriptor.h"

#include <unistd.h>

int main(int argc, char *argv[]) {
    ReserveStandardStreams();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    TConsoleDesktop desktop;
    TConsoleServices services(desktop);
    const TServicesInUse inUse(services);
    TDescriptorDevice in(STDIN_FILENO, QIODevice::ReadOnly);
    TDescriptorDevice out(STDOUT_FILENO, QIODevice::WriteOnly);
    TDescriptorDevice err(STDERR_FILENO, QIODevice::WriteOnly);
    return RunCommandLine(ParseCommandLine(arguments), in, out, err);
}
