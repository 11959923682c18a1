#include "base/version.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

const char *const usage =
    "Usage: naadwerk [options] [files...]\n"
    "Opens Naadwerk's window. Files named go where files dropped on the window go: each\n"
    "word file, text and recording to its slot, its part by the last number in its name;\n"
    "an interview file (NAME.naadwerk) opens with every correction in it.\n"
    "\n"
    "Options:\n"
    "  -h, --help  Displays this help.\n"
    "  --version   Displays the version of naadwerk.\n"
    "\n"
    "Arguments:\n"
    "  files       Word files, texts and recordings, or an interview file, to open.\n";

// --help and --version answer before the window's application starts, so
// they work where no display is (a package's checks, a build making its
// manual page).
bool asked(int argc, char *argv[], const char *option)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

} // namespace

// Naadwerk: one window, open until it is closed.
int main(int argc, char *argv[])
{
    if (asked(argc, argv, "--help") || asked(argc, argv, "-h")) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (asked(argc, argv, "--version")) {
        std::printf("naadwerk %s\n", naadwerkVersion);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Naadwerk"));
    QApplication::setApplicationVersion(QString::fromLatin1(naadwerkVersion));
    // The desktop entry, by which a Wayland desktop finds the icon.
    QApplication::setDesktopFileName(QStringLiteral("nl.naadwerk.naadwerk"));
    // What is left after Qt took its own options (-platform, -style, ...).
    QStringList files;
    for (const QString &argument : QApplication::arguments().mid(1)) {
        if (argument.startsWith(u'-')) {
            std::fprintf(stderr, "Unknown option '%s'.\n%s", qPrintable(argument), usage);
            return 2;
        }
        files << QFileInfo(argument).absoluteFilePath();
    }

    MainWindow formNaadwerk;
    formNaadwerk.show();
    // Corrections a killed or crashed window left are offered first.
    QTimer::singleShot(0, &formNaadwerk, [&] { formNaadwerk.offerRecovery(); });
    if (!files.isEmpty())
        QTimer::singleShot(0, &formNaadwerk, [&] { formNaadwerk.receiveDrop(files, {}); });
    return QApplication::exec();
}
