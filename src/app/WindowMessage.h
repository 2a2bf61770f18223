#pragma once

#include <QEvent>
#include <QtGlobal>

class QObject;

namespace corvix {

// A private message between objects and windows, carrying the numbers the program has always
// used (0xFDB driver status, 0x1491 parameter reply handled, ...) with their two arguments.
class WindowMessage : public QEvent {
public:
    WindowMessage(int id, quintptr wParam, qintptr lParam)
        : QEvent(eventType()), id_(id), wParam_(wParam), lParam_(lParam)
    {
    }

    static QEvent::Type eventType();

    int id() const { return id_; }
    quintptr wParam() const { return wParam_; }
    qintptr lParam() const { return lParam_; }

    // What a handler answers to a sent (not posted) message.
    qintptr result() const { return result_; }
    void setResult(qintptr result) { result_ = result; }

private:
    int id_;
    quintptr wParam_;
    qintptr lParam_;
    qintptr result_ = 0;
};

// The message inside event, or nullptr when event is something else.
const WindowMessage* AsWindowMessage(const QEvent* event);

// Queues the message; it is handled when the event loop next runs. Safe from any thread.
void PostWindowMessage(QObject* target, int id, quintptr wParam = 0, qintptr lParam = 0);

// Handles the message at once on the calling thread and returns the handler's result.
qintptr SendWindowMessage(QObject* target, int id, quintptr wParam = 0, qintptr lParam = 0);

}  // namespace corvix
