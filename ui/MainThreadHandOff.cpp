#include "ui/MainThreadHandOff.h"

#include <QMetaObject>

MainThreadHandOff::MainThreadHandOff(PassListener& target, QObject* parent) : QObject(parent), m_queue(target)
{
    m_queue.setWake([this] {
        QMetaObject::invokeMethod(
            this, [this] { m_queue.runPending(); }, Qt::QueuedConnection);
    });
}
