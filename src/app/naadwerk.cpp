#include "base/version.h"
#include "ui/mainwindow.h"

#include <QApplication>

// Naadwerk: one window, open until it is closed.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Naadwerk"));
    QApplication::setApplicationVersion(QString::fromLatin1(naadwerkVersion));
    MainWindow formNaadwerk;
    formNaadwerk.show();
    return QApplication::exec();
}
