#include "ui/dropreceiver.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

DropReceiver::DropReceiver(QWidget *target, Receive receive)
    : QObject(target), target(target), receive(std::move(receive))
{
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

bool DropReceiver::eventFilter(QObject *object, QEvent *event)
{
    if (object != target)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (!drag->mimeData()->hasUrls() || !target->isEnabled())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!drop->mimeData()->hasUrls())
            return false;
        QStringList paths;
        QStringList reasons;
        for (const QUrl &url : drop->mimeData()->urls()) {
            if (url.isLocalFile())
                paths << url.toLocalFile();
            else
                reasons << QStringLiteral("%1: not a file on this computer").arg(url.toDisplayString());
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        receive(paths, reasons);
        return true;
    }
    default:
        return false;
    }
}
