#include "platform/ui/RibbonElement.h"

#include <QPointer>

namespace platform {

RibbonElement::RibbonElement(UINT id, const QString& label, QWidget* parent)
    : QWidget(parent), m_id(id), m_label(label) {}

void RibbonElement::setLabel(const QString& label) {
    m_label = label;
    showLabel(label);
}

void RibbonElement::setToolTipText(const QString& text) {
    m_toolTip = text;
    refreshTips();
}

void RibbonElement::setDescription(const QString& text) {
    m_description = text;
    refreshTips();
}

CmdUISink RibbonElement::updateSink() {
    QPointer<RibbonElement> self(this);
    return {
        [self](bool on) {
            if (self)
                self->setEnabled(on);
        },
        [self](int check) {
            if (self)
                self->showCheck(check);
        },
        [self](const QString& text) {
            if (self && self->label() != text)
                self->setLabel(text);
        },
    };
}

void RibbonElement::showCheck(int) {}

void RibbonElement::refreshTips() {
    // Child widgets leave tooltip and status-tip events to this element.
    QString tip = m_toolTip.toHtmlEscaped();
    if (!m_description.isEmpty())
        tip += QStringLiteral("<br/>") + m_description.toHtmlEscaped().replace('\n', QStringLiteral("<br/>"));
    setToolTip(m_toolTip.isEmpty() && m_description.isEmpty() ? QString() : tip);
    setStatusTip(m_description);
}

} // namespace platform
