#include "platform/ui/RibbonCategory.h"

#include "platform/ui/CommandRouter.h"
#include "platform/ui/RibbonPanel.h"

#include <QFrame>
#include <QHBoxLayout>

namespace platform {

RibbonCategory::RibbonCategory(const QString& name, CommandRouter* router, CommandTarget* owner,
                               QWidget* parent)
    : QWidget(parent), m_name(name), m_router(router), m_owner(owner), m_layout(new QHBoxLayout(this)) {
    m_layout->setContentsMargins(2, 2, 2, 2);
    m_layout->addStretch();
}

RibbonPanel* RibbonCategory::addPanel(const QString& name) {
    auto* panel = new RibbonPanel(name, m_router, m_owner, this);
    const int stretchIndex = m_layout->count() - 1;
    if (!m_panels.empty()) {
        auto* separator = new QFrame(this);
        separator->setFrameShape(QFrame::VLine);
        separator->setFrameShadow(QFrame::Sunken);
        m_layout->insertWidget(stretchIndex, separator);
    }
    m_layout->insertWidget(m_layout->count() - 1, panel);
    m_panels.push_back(panel);
    return panel;
}

RibbonPanel* RibbonCategory::panelAt(int index) const {
    if (index < 0 || index >= panelCount())
        return nullptr;
    return m_panels[static_cast<size_t>(index)];
}

void RibbonCategory::recalcLayout() {
    for (RibbonPanel* panel : m_panels)
        panel->recalcLayout();
    m_layout->invalidate();
}

} // namespace platform
