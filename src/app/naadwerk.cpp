#include "ui/tformnaadwerk.h"

#include <QApplication>

// Naadwerk: one window, open until it is closed.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Naadwerk"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));
    TformNaadwerk formNaadwerk;
    formNaadwerk.show();
    return QApplication::exec();
}
