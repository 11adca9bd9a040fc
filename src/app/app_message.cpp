#include "app/app_message.h"

#include "core/last_error.h"

#include <QCoreApplication>

namespace {
constexpr quint32 kErrorInvalidWindowHandle = 1400;
}

CAppMessageEvent::CAppMessageEvent(int number, quint32 wParam, quint32 lParam)
    : QEvent(EventType()), m_number(number), m_wParam(wParam), m_lParam(lParam)
{
}

QEvent::Type CAppMessageEvent::EventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

bool PostAppMessage(QObject *target, int number, quint32 wParam, quint32 lParam)
{
    if (!target || !QCoreApplication::instance()) {
        SetLastError(kErrorInvalidWindowHandle);
        return false;
    }
    QCoreApplication::postEvent(target, new CAppMessageEvent(number, wParam, lParam));
    return true;
}

const CAppMessageEvent *AsAppMessage(const QEvent *event)
{
    if (!event || event->type() != CAppMessageEvent::EventType())
        return nullptr;
    return static_cast<const CAppMessageEvent *>(event);
}
