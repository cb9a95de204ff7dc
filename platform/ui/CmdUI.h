// One update request for one control: the update handler says what the control should show.
#pragma once

#include "platform/WinTypes.h"

#include <QString>
#include <functional>
#include <optional>

namespace platform {

// What an update request can change on the control that asked. A missing function means the
// control has no such state (an action without a check mark, a probe with no control at all).
struct CmdUISink {
    std::function<void(bool)> enable;
    std::function<void(int)> check;
    std::function<void(const QString&)> text;
};

// Handed to update handlers. Each call is applied at once to the one control that asked and is also
// remembered, so the router can tell whether a handler decided the enabled state and what it decided.
class CmdUI {
public:
    explicit CmdUI(UINT id, CmdUISink sink = {});

    UINT id() const { return m_id; }
    void Enable(bool on = true);
    void SetCheck(int check);
    void SetText(const QString& text);

    // True once a handler called Enable.
    bool enableChanged() const { return m_enabled.has_value(); }
    std::optional<bool> enabled() const { return m_enabled; }
    std::optional<int> check() const { return m_check; }
    std::optional<QString> text() const { return m_text; }

private:
    UINT m_id;
    CmdUISink m_sink;
    std::optional<bool> m_enabled;
    std::optional<int> m_check;
    std::optional<QString> m_text;
};

} // namespace platform
