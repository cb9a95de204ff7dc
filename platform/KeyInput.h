// Keystrokes sent to the desktop (the remote control's forwarded keys), behind a replaceable function.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace platform {

// Virtual-key codes of the keys the application sends; digits are '0' to '9' and F<n> is F1 + n - 1.
namespace VirtualKey {
inline constexpr uint16_t Back = 0x08;
inline constexpr uint16_t Return = 0x0D;
inline constexpr uint16_t Prior = 0x21;
inline constexpr uint16_t Next = 0x22;
inline constexpr uint16_t Left = 0x25;
inline constexpr uint16_t Up = 0x26;
inline constexpr uint16_t Right = 0x27;
inline constexpr uint16_t Down = 0x28;
inline constexpr uint16_t Digit0 = 0x30;
inline constexpr uint16_t Digit9 = 0x39;
inline constexpr uint16_t F1 = 0x70;
inline constexpr uint16_t F24 = 0x87;
inline constexpr uint16_t VolumeMute = 0xAD;
inline constexpr uint16_t VolumeDown = 0xAE;
inline constexpr uint16_t VolumeUp = 0xAF;
inline constexpr uint16_t MediaStop = 0xB2;
} // namespace VirtualKey

enum class KeyInputResult {
    Sent,
    NoX11Session, // not an X11 session: no way to send keys
    NoKeyCode,    // the desktop's keyboard has no key for this virtual key
};

using KeyInputFunction = std::function<KeyInputResult(uint16_t virtualKey, bool up)>;

// Presses (up false) or releases (up true) the key with the function installed; NoX11Session while none is.
KeyInputResult sendKeyInput(uint16_t virtualKey, bool up);
// Installs the function that sends keys; an empty one leaves no way to send them.
void setKeyInputSender(KeyInputFunction sender);

// When Qt runs on X11, installs an XTest sender on the display Qt uses (its DISPLAY); true when one is
// installed. It lives until the program ends or another sender is installed.
bool installSessionKeyInput();

} // namespace platform
