// Keystrokes into an X display through its XTEST extension.
#pragma once

#include "platform/KeyInput.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

struct _XDisplay;

namespace platform {

// One connection to an X display; each key goes to the window that has the keyboard focus there.
class XTestKeySender {
public:
    // The sender for the display with that name; null when it cannot be opened or has no XTEST.
    static std::unique_ptr<XTestKeySender> open(const QString& displayName);
    ~XTestKeySender();
    XTestKeySender(const XTestKeySender&) = delete;
    XTestKeySender& operator=(const XTestKeySender&) = delete;

    // Presses or releases the key the display's keymap has for the virtual key: NoKeyCode when the
    // virtual key has no key symbol here or the keymap no key for that symbol.
    KeyInputResult send(uint16_t virtualKey, bool up);

    // The X key symbol of a virtual key: function keys, arrows, page keys, Return, BackSpace, digits and
    // the audio keys; nullopt for any other.
    static std::optional<unsigned long> keysymFor(uint16_t virtualKey);

private:
    explicit XTestKeySender(_XDisplay* display) : m_display(display) {}

    _XDisplay* m_display;
};

} // namespace platform
