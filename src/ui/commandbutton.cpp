#include "ui/commandbutton.h"

#include <QAction>
#include <QPushButton>

QPushButton *commandButton(QAction *action)
{
    auto *button = new QPushButton(action->icon(), action->text());
    QString name = action->objectName();
    button->setObjectName(name.replace(0, 2, QStringLiteral("bt")));
    button->setFocusPolicy(Qt::TabFocus);
    button->setFixedHeight(24);
    // As wide as its text, however wide the row.
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
        button->setToolTip(action->toolTip());
    };
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    follow();
    return button;
}
