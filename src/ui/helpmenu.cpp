#include "ui/helpmenu.h"

#include "base/version.h"
#include "formats/libraryversions.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTextBrowser>
#include <QMenuBar>
#include <QVBoxLayout>

QAction *HelpMenu::add(QMenuBar *bar, QWidget *window)
{
    auto *list = new QMenu(tr("&Help"), bar);
    list->setObjectName(QStringLiteral("mnHelp"));
    QAction *item = list->menuAction();
    item->setObjectName(QStringLiteral("miHelp"));

    auto *help = list->addAction(tr("&Help"));
    help->setObjectName(QStringLiteral("miHelpSteps"));
    help->setShortcut(QKeySequence::HelpContents);
    // F1 works wherever the focus is in the window, the list closed.
    help->setShortcutContext(Qt::WindowShortcut);
    window->addAction(help);
    QObject::connect(help, &QAction::triggered, window, [window] { showHelp(window); });

    auto *about = list->addAction(tr("&About Naadwerk"));
    about->setObjectName(QStringLiteral("miAbout"));
    QObject::connect(about, &QAction::triggered, window, [window] { showAbout(window); });

    bar->addMenu(list);
    return item;
}

QString HelpMenu::steps()
{
    Q_INIT_RESOURCE(help);
    QFile readme(QStringLiteral(":/help/README.md"));
    if (!readme.open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromUtf8(readme.readAll());
    // From its heading to the next heading of the same level.
    const QString heading = QStringLiteral("## Gluing in the window");
    const qsizetype start = text.indexOf(heading);
    if (start < 0)
        return QString();
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start + heading.size());
    return text.mid(start, end < 0 ? -1 : end - start).trimmed();
}

QString HelpMenu::aboutText()
{
    return QStringLiteral("Naadwerk %1\n\nGlues the parts of an interview into one recording, "
                          "one word list and one text, with subtitles, a Word-like transcript "
                          "and a karaoke page.\n\nFree software under the GNU General Public "
                          "License, version 3 or any later version (GPL-3.0-or-later), "
                          "without any warranty.\n\nLibraries:\n%2")
        .arg(QString::fromLatin1(naadwerkVersion), libraryVersions().join(u'\n'));
}

void HelpMenu::showHelp(QWidget *window)
{
    // One help window, kept open beside the main window while one works.
    auto *dialog = window->findChild<QDialog *>(QStringLiteral("helpDialog"));
    if (!dialog) {
        dialog = new QDialog(window);
        dialog->setObjectName(QStringLiteral("helpDialog"));
        dialog->setWindowTitle(QStringLiteral("Naadwerk Help"));
        auto *column = new QVBoxLayout(dialog);
        auto *browser = new QTextBrowser;
        browser->setObjectName(QStringLiteral("helpText"));
        browser->setMarkdown(steps());
        column->addWidget(browser);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
        QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::hide);
        column->addWidget(buttons);
        dialog->resize(640, 480);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void HelpMenu::showAbout(QWidget *window)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("About Naadwerk"), aboutText(),
                    QMessageBox::Ok, window);
    box.setObjectName(QStringLiteral("aboutBox"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
