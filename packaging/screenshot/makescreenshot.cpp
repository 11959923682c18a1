// naadwerk-screenshot OUT.png FILES...: draws Naadwerk's window with FILES
// opened as if dropped on it, and the first part's word table shown, for the
// AppStream metadata. Run with
// QT_QPA_PLATFORM=offscreen, so no display is needed.
#include "ui/mainwindow.h"

#include <QApplication>
#include <QTabWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Naadwerk"));
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fputs("usage: naadwerk-screenshot OUT.png FILES...\n", stderr);
        return 2;
    }
    // Named as given: relative names keep the build's folders out of the picture.
    const QStringList files = arguments.mid(2);

    MainWindow window;
    // The size software centres show best: 16:10, not wider than 1600.
    window.resize(1280, 800);
    window.show();
    window.receiveDrop(files, {});
    // The first part's words, the table a person works in most.
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tcData"));
    auto *words = window.findChild<QWidget *>(QStringLiteral("tiCTM1"));
    if (tabs && words)
        tabs->setCurrentWidget(words);
    QApplication::processEvents();
    if (!window.grab().save(arguments[1])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments[1]));
        return 1;
    }
    return 0;
}
