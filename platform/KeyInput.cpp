#include "platform/KeyInput.h"

#include "platform/XTestKeySender.h"

#include <QGuiApplication>
#include <memory>

namespace platform {
namespace {

KeyInputFunction& installedSender() {
    static KeyInputFunction sender;
    return sender;
}

} // namespace

KeyInputResult sendKeyInput(uint16_t virtualKey, bool up) {
    const KeyInputFunction& sender = installedSender();
    return sender ? sender(virtualKey, up) : KeyInputResult::NoX11Session;
}

void setKeyInputSender(KeyInputFunction sender) {
    installedSender() = std::move(sender);
}

bool installSessionKeyInput() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    std::shared_ptr<XTestKeySender> xtest = XTestKeySender::open(qEnvironmentVariable("DISPLAY"));
    if (!xtest)
        return false;
    setKeyInputSender([xtest](uint16_t virtualKey, bool up) { return xtest->send(virtualKey, up); });
    return true;
}

} // namespace platform
