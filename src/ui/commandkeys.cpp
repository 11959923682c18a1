#include "ui/commandkeys.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <QShortcut>
#include <QWidget>

void CommandKeys::attach(QMenuBar *bar, QWidget *window)
{
    QList<QAction *> items = bar->actions();
    items += window->actions();
    for (QAction *item : items) {
        const QString name = item->objectName();
        QKeySequence key;
        if (name == u"miExit") {
            // Some platforms name no Quit key; Ctrl+Q is what desktops use.
            const QKeySequence quit(QKeySequence::Quit);
            key = quit.isEmpty() ? QKeySequence(Qt::CTRL | Qt::Key_Q) : quit;
        }
        else if (name == u"miGlue")
            key = QKeySequence(Qt::CTRL | Qt::Key_G);
        else if (name == u"miSave")
            key = QKeySequence(QKeySequence::Save);
        else if (name == u"miOpen") {
            // The list drops down, as a click on it does.
            auto *shortcut = new QShortcut(QKeySequence(QKeySequence::Open), window);
            shortcut->setObjectName(name + QStringLiteral("Key"));
            QObject::connect(shortcut, &QShortcut::activated, bar, [bar, item] { bar->setActiveAction(item); });
            continue;
        }
        if (key.isEmpty())
            continue;
        item->setShortcut(key);
        item->setShortcutContext(Qt::WindowShortcut);
    }
}

void CommandKeys::chain(const std::vector<QWidget *> &widgets)
{
    QWidget *previous = nullptr;
    for (QWidget *widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}
