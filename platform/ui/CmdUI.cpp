#include "platform/ui/CmdUI.h"

#include <utility>

namespace platform {

CmdUI::CmdUI(UINT id, CmdUISink sink) : m_id(id), m_sink(std::move(sink)) {}

void CmdUI::Enable(bool on) {
    m_enabled = on;
    if (m_sink.enable)
        m_sink.enable(on);
}

void CmdUI::SetCheck(int check) {
    m_check = check;
    if (m_sink.check)
        m_sink.check(check);
}

void CmdUI::SetText(const QString& text) {
    m_text = text;
    if (m_sink.text)
        m_sink.text(text);
}

} // namespace platform
