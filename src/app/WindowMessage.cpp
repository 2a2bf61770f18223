#include "app/WindowMessage.h"

#include <QCoreApplication>

namespace corvix {

QEvent::Type WindowMessage::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

const WindowMessage* AsWindowMessage(const QEvent* event)
{
    return event != nullptr && event->type() == WindowMessage::eventType()
               ? static_cast<const WindowMessage*>(event)
               : nullptr;
}

void PostWindowMessage(QObject* target, int id, quintptr wParam, qintptr lParam)
{
    if (target != nullptr) {
        QCoreApplication::postEvent(target, new WindowMessage(id, wParam, lParam));
    }
}

qintptr SendWindowMessage(QObject* target, int id, quintptr wParam, qintptr lParam)
{
    if (target == nullptr) {
        return 0;
    }
    WindowMessage message(id, wParam, lParam);
    QCoreApplication::sendEvent(target, &message);
    return message.result();
}

}  // namespace corvix
