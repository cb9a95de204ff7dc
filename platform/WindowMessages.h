// Window messages: registered message ids, posting onto the Qt event loop and synchronous sending.
#pragma once

#include "platform/WinTypes.h"

#include <QObject>
#include <QString>
#include <functional>

namespace platform {

// Gives a QObject (usually a window) a handle that messages can be posted and sent to. The handle is
// registered process-wide from construction until the MessageWindow or its target is destroyed;
// handles are never reused, so a message for a window that is gone can never reach a later one.
// Posted messages are delivered as a queued event seen by an event filter on the target, so the
// handler runs on the target's thread and the target class needs no event() override.
class MessageWindow : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

    MessageWindow(QObject* target, Handler handler);
    ~MessageWindow() override;
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND handle() const { return m_handle; }
    QObject* target() const { return m_target; }
    // Runs the handler; it may destroy this object.
    LRESULT call(UINT msg, WPARAM wParam, LPARAM lParam) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void detach();

    QObject* m_target;
    Handler m_handler;
    HWND m_handle;
};

// Returns the id of the named message: ids start at 0xC000 and the same name always gives the same
// id. Returns 0 when every id up to 0xFFFF is taken. Thread-safe.
UINT RegisterWindowMessage(const QString& name);

// Queues the message for the window; callable from any thread. Returns false, and queues nothing,
// when the handle is not (or no longer) registered. A message still queued when the window goes
// away is dropped without calling its handler.
bool PostMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Calls the window's handler at once and returns its result; 0 for an unknown handle. Only from the
// window's own thread.
LRESULT SendMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Gives the host library RegisterWindowMessage and PostMessage as its platform hooks.
void installHostPlatformHooks();

} // namespace platform
