// naadwerk-screenshot [--size WxH] OUT.png FILES...: draws Naadwerk's window
// with FILES opened as if dropped on it, and the first part's word table
// shown, for the AppStream metadata (1280x800) and for looking at the window
// at other sizes (the tests draw its start size and a large one). Run with
// QT_QPA_PLATFORM=offscreen, so no display is needed.
#include "ui/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTabWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Naadwerk"));
    QStringList arguments = QApplication::arguments();
    // The size software centres show best: 16:10, not wider than 1600.
    QSize size(1280, 800);
    if (arguments.size() > 2 && arguments[1] == u"--size") {
        const QStringList sides = arguments[2].split(u'x');
        size = sides.size() == 2 ? QSize(sides[0].toInt(), sides[1].toInt()) : QSize();
        arguments.remove(1, 2);
    }
    if (arguments.size() < 2 || size.isEmpty()) {
        std::fputs("usage: naadwerk-screenshot [--size WxH] OUT.png FILES...\n", stderr);
        return 2;
    }
    // Named as given: relative names keep the build's folders out of the picture.
    const QStringList files = arguments.mid(2);

    MainWindow window;
    window.resize(size);
    window.show();
    window.receiveDrop(files, {});
    // The first part's words, the table a person works in most.
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tcData"));
    auto *words = window.findChild<QWidget *>(QStringLiteral("tiCTM1"));
    if (tabs && words)
        tabs->setCurrentWidget(words);
    QApplication::processEvents();
    const QPixmap picture = window.grab();
    // A window that could not take the size asked for (smaller than its
    // smallest) is not the picture asked for.
    if (picture.deviceIndependentSize().toSize() != size) {
        std::fprintf(stderr, "the window is %dx%d, not %dx%d\n", window.width(), window.height(), size.width(),
                     size.height());
        return 1;
    }
    QDir().mkpath(QFileInfo(arguments[1]).absolutePath());
    if (!picture.save(arguments[1])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments[1]));
        return 1;
    }
    return 0;
}
