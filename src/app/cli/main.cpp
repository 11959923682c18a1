// naadwerk-cli: Naadwerk's commands without the window. The first argument
// names the command; each command parses its own options.
#include "app/cli/batchcommand.h"
#include "app/cli/checkcommand.h"
#include "app/cli/clioutput.h"
#include "app/cli/gluecommand.h"
#include "app/cli/reshapecommand.h"
#include "app/cli/reviewcommand.h"
#include "base/version.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const char *const generalUsage =
    "Usage: naadwerk-cli <command> [options]\n"
    "\n"
    "Commands:\n"
    "  reshape   Reflow the cues of an SRT file: clean, split and line-break them.\n"
    "  glue      Glue two aligned halves into one recording, word list, text, SRT and transcript.\n"
    "  batch     Glue every interview of a manifest or a folder, side by side, resumable.\n"
    "  review    List where the words and the transcript part ways, and other doubtful words.\n"
    "  check     List where the cues of an SRT or WebVTT file break a subtitle profile's rules.\n"
    "\n"
    "Run 'naadwerk-cli <command> --help' for the options of a command.\n"
    "\n"
    "Options:\n"
    "  -h, --help  Displays this help.\n"
    "  --version   Displays the version of naadwerk-cli.\n";

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("naadwerk-cli"));
    const QStringList arguments = QCoreApplication::arguments();
    const QString command = arguments.value(1);

    if (command == u"reshape")
        return reshapeCommand(arguments);
    if (command == u"glue")
        return glueCommand(arguments);
    if (command == u"batch")
        return batchCommand(arguments);
    if (command == u"review")
        return reviewCommand(arguments);
    if (command == u"check")
        return checkCommand(arguments);

    if (command == u"--version") {
        std::printf("naadwerk-cli %s\n", naadwerkVersion);
        return 0;
    }
    if (command == u"-h" || command == u"--help" || command == u"help") {
        std::fputs(generalUsage, stdout);
        return 0;
    }
    printText(stderr, command.isEmpty() ? QStringLiteral("No command given.")
                                        : QStringLiteral("Unknown command '%1'.").arg(command));
    std::fputs(generalUsage, stderr);
    return exitUsage;
}
