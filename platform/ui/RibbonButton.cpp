#include "platform/ui/RibbonButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace platform {

namespace {
constexpr int kLargeIconSize = 32;
constexpr int kSmallIconSize = 16;
} // namespace

RibbonButton::RibbonButton(UINT id, const QString& label, const QIcon& icon, bool large, QWidget* parent)
    : RibbonElement(id, label, parent), m_large(large), m_button(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_button);
    const int size = large ? kLargeIconSize : kSmallIconSize;
    m_button->setIcon(icon);
    m_button->setIconSize(QSize(size, size));
    m_button->setAutoRaise(true);
    m_button->setToolButtonStyle(large ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
    m_button->setText(label);
    if (large)
        m_button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    connect(m_button, &QToolButton::clicked, this, &RibbonElement::activated);
}

QIcon RibbonButton::icon() const {
    return m_button->icon();
}

void RibbonButton::showLabel(const QString& label) {
    m_button->setText(label);
}

} // namespace platform
