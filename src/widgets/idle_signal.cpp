#include "widgets/idle_signal.h"

#include <QCoreApplication>
#include <QPointer>

CIdleSignal::CIdleSignal(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CIdleSignal::idle);
    m_timer.start();
}

CIdleSignal &CIdleSignal::Instance()
{
    static QPointer<CIdleSignal> instance;
    if (!instance)
        instance = new CIdleSignal(QCoreApplication::instance());
    return *instance;
}
