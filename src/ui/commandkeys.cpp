#include "ui/commandkeys.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include <initializer_list>

void CommandKeys::attach(QToolBar *bar, QWidget *window)
{
    for (QAction *item : bar->actions()) {
        QList<QKeySequence> keys;
        const QString name = item->objectName();
        if (name == u"miExit") {
            // Some platforms name no Quit key; Ctrl+Q is what desktops use.
            const QKeySequence quit(QKeySequence::Quit);
            keys << (quit.isEmpty() ? QKeySequence(Qt::CTRL | Qt::Key_Q) : quit);
        }
        else if (name == u"miGlue")
            keys << QKeySequence(Qt::CTRL | Qt::Key_G);
        else if (name == u"miSave")
            keys << QKeySequence(QKeySequence::Save);
        // Alt and the letter after the "&" of the item's text.
        const QKeySequence mnemonic = QKeySequence::mnemonic(item->text());
        if (!mnemonic.isEmpty())
            keys << mnemonic;
        if (!item->menu()) {
            item->setShortcuts(keys);
            item->setShortcutContext(Qt::WindowShortcut);
            continue;
        }
        // An item with a list drops it down, as a click on it does.
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(item));
        if (!button)
            continue;
        if (name == u"miOpen")
            keys.prepend(QKeySequence(QKeySequence::Open));
        for (const QKeySequence &key : keys) {
            auto *shortcut = new QShortcut(key, window);
            shortcut->setObjectName(name + QStringLiteral("Key"));
            QObject::connect(shortcut, &QShortcut::activated, button, &QToolButton::showMenu);
        }
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
