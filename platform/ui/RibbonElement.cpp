#include "platform/ui/RibbonElement.h"

#include <QPointer>
#include <QStringList>

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
    QStringList lines;
    for (const QString& text : {m_toolTip, m_description}) {
        if (!text.isEmpty())
            lines << text.toHtmlEscaped().replace('\n', QStringLiteral("<br/>"));
    }
    // Marked as rich text, so escaped characters show right even in a one-line tip.
    const QString tip = lines.isEmpty() ? QString() : QStringLiteral("<qt>%1</qt>").arg(lines.join("<br/>"));
    // The child widgets carry them too, since they are what the pointer hovers over.
    QList<QWidget*> widgets = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    widgets.prepend(this);
    for (QWidget* widget : widgets) {
        widget->setToolTip(tip);
        widget->setStatusTip(m_description);
    }
}

} // namespace platform
