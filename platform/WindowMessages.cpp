#include "platform/WindowMessages.h"

#include "veyrahost.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <map>
#include <mutex>
#include <unordered_map>

namespace platform {
namespace {

constexpr UINT kFirstRegisteredMessage = 0xC000;
constexpr UINT kLastRegisteredMessage = 0xFFFF;

// The process-wide handle and message-name tables. Never destroyed, so that windows and threads that
// outlive static destruction still find it.
struct Registry {
    std::mutex mutex;
    std::unordered_map<HWND, MessageWindow*> windows;
    uintptr_t nextHandle = 0x10000;
    std::map<QString, UINT> messages;
    UINT nextMessage = kFirstRegisteredMessage;
};

Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

QEvent::Type messageEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class MessageEvent : public QEvent {
public:
    MessageEvent(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
        : QEvent(messageEventType()), window(window), msg(msg), wParam(wParam), lParam(lParam) {}

    const HWND window;
    const UINT msg;
    const WPARAM wParam;
    const LPARAM lParam;
};

HWND registerWindow(MessageWindow* window) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto handle = reinterpret_cast<HWND>(r.nextHandle++);
    r.windows.emplace(handle, window);
    return handle;
}

uint32_t hostRegisterMessage(const char* name) {
    if (name == nullptr)
        return 0;
    return RegisterWindowMessage(QString::fromUtf8(name));
}

int hostPostMessage(OrvHwnd window, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    return PostMessage(window, msg, wParam, lParam) ? 1 : 0;
}

} // namespace

MessageWindow::MessageWindow(QObject* target, Handler handler)
    : m_target(target), m_handler(std::move(handler)), m_handle(nullptr) {
    Q_ASSERT(target != nullptr);
    Q_ASSERT(target->thread() == QThread::currentThread());
    m_target->installEventFilter(this);
    connect(m_target, &QObject::destroyed, this, [this] { detach(); });
    m_handle = registerWindow(this);
}

MessageWindow::~MessageWindow() {
    detach();
}

void MessageWindow::detach() {
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        r.windows.erase(m_handle);
    }
    if (m_target != nullptr)
        m_target->removeEventFilter(this);
    m_target = nullptr;
}

bool MessageWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != messageEventType() || watched != m_target)
        return QObject::eventFilter(watched, event);
    const auto* message = static_cast<const MessageEvent*>(event);
    if (message->window != m_handle)
        return false;
    call(message->msg, message->wParam, message->lParam);
    return true;
}

LRESULT MessageWindow::call(UINT msg, WPARAM wParam, LPARAM lParam) const {
    // Called through a copy: the handler may destroy this object, and with it m_handler.
    const Handler handler = m_handler;
    return handler ? handler(msg, wParam, lParam) : 0;
}

UINT RegisterWindowMessage(const QString& name) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (auto it = r.messages.find(name); it != r.messages.end())
        return it->second;
    if (r.nextMessage > kLastRegisteredMessage)
        return 0;
    const UINT id = r.nextMessage++;
    r.messages.emplace(name, id);
    return id;
}

bool PostMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.windows.find(window);
    if (it == r.windows.end())
        return false;
    // Posting under the lock: the target cannot be unregistered (and destroyed) meanwhile.
    QCoreApplication::postEvent(it->second->target(), new MessageEvent(window, msg, wParam, lParam));
    return true;
}

LRESULT SendMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    MessageWindow* receiver = nullptr;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        auto it = r.windows.find(window);
        if (it == r.windows.end())
            return 0;
        receiver = it->second;
    }
    Q_ASSERT(receiver->thread() == QThread::currentThread());
    return receiver->call(msg, wParam, lParam);
}

void installHostPlatformHooks() {
    const OrvBleHostPlatform hooks{hostRegisterMessage, hostPostMessage};
    OrvBleHostSetPlatform(&hooks);
}

} // namespace platform
