#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;

// Takes files dropped on a widget: it accepts a drag that carries file
// names and hands the local paths of a drop, in their order, to a function.
class DropReceiver : public QObject
{
    Q_OBJECT
public:
    // paths: the dropped local files; reasons: a line for each dropped item
    // that is no local file.
    using Receive = std::function<void(const QStringList &paths, const QStringList &reasons)>;

    DropReceiver(QWidget *target, Receive receive);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QWidget *target;
    Receive receive;
};
