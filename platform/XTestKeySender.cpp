#include "platform/XTestKeySender.h"

#include <X11/XF86keysym.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace platform {

std::unique_ptr<XTestKeySender> XTestKeySender::open(const QString& displayName) {
    const QByteArray name = displayName.toLocal8Bit();
    Display* display = XOpenDisplay(name.isEmpty() ? nullptr : name.constData());
    if (!display)
        return nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<XTestKeySender>(new XTestKeySender(display));
}

XTestKeySender::~XTestKeySender() {
    XCloseDisplay(m_display);
}

std::optional<unsigned long> XTestKeySender::keysymFor(uint16_t virtualKey) {
    if (virtualKey >= VirtualKey::Digit0 && virtualKey <= VirtualKey::Digit9)
        return XK_0 + (virtualKey - VirtualKey::Digit0);
    if (virtualKey >= VirtualKey::F1 && virtualKey <= VirtualKey::F24)
        return XK_F1 + (virtualKey - VirtualKey::F1);
    switch (virtualKey) {
    case VirtualKey::Back:
        return XK_BackSpace;
    case VirtualKey::Return:
        return XK_Return;
    case VirtualKey::Prior:
        return XK_Prior;
    case VirtualKey::Next:
        return XK_Next;
    case VirtualKey::Left:
        return XK_Left;
    case VirtualKey::Up:
        return XK_Up;
    case VirtualKey::Right:
        return XK_Right;
    case VirtualKey::Down:
        return XK_Down;
    case VirtualKey::VolumeMute:
        return XF86XK_AudioMute;
    case VirtualKey::VolumeDown:
        return XF86XK_AudioLowerVolume;
    case VirtualKey::VolumeUp:
        return XF86XK_AudioRaiseVolume;
    case VirtualKey::MediaStop:
        return XF86XK_AudioStop;
    default:
        return std::nullopt;
    }
}

KeyInputResult XTestKeySender::send(uint16_t virtualKey, bool up) {
    const std::optional<unsigned long> keysym = keysymFor(virtualKey);
    const KeyCode code = keysym ? XKeysymToKeycode(m_display, *keysym) : 0;
    if (code == 0)
        return KeyInputResult::NoKeyCode;
    XTestFakeKeyEvent(m_display, code, up ? False : True, CurrentTime);
    XSync(m_display, False); // the key has reached the server when the call returns
    return KeyInputResult::Sent;
}

} // namespace platform
