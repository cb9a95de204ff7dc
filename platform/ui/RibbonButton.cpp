#include "platform/ui/RibbonButton.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

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
    m_button->setCheckable(true);
    m_button->setToolButtonStyle(large ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
    m_button->setText(label);
    if (large)
        m_button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    connect(m_button, &QToolButton::clicked, this, &RibbonButton::onClicked);
}

QIcon RibbonButton::icon() const {
    return m_button->icon();
}

void RibbonButton::reserveWidthFor(const QStringList& labels) {
    const QString shown = m_button->text();
    int width = 0;
    for (const QString& label : labels) {
        m_button->setText(label);
        width = std::max(width, m_button->sizeHint().width());
    }
    m_button->setText(shown);
    m_button->setMinimumWidth(width);
}

void RibbonButton::showLabel(const QString& label) {
    m_button->setText(label);
}

void RibbonButton::showCheck(int check) {
    m_checked = check != 0;
    m_button->setChecked(m_checked);
}

void RibbonButton::onClicked() {
    // The command decides; the next update shows its result.
    m_button->setChecked(m_checked);
    emit activated();
}

} // namespace platform
