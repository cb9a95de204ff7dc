#include "platform/ui/RibbonCategory.h"

#include "platform/ui/CommandRouter.h"
#include "platform/ui/RibbonPanel.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace platform {

RibbonCategory::RibbonCategory(const QString& name, CommandRouter* router, CommandTarget* owner,
                               QWidget* parent)
    : QWidget(parent), m_name(name), m_router(router), m_owner(owner), m_scroll(new QScrollArea(this)),
      m_row(new QWidget), m_layout(new QHBoxLayout(m_row)) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scroll);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_row);
    m_row->setAutoFillBackground(false);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_layout->setContentsMargins(2, 2, 2, 2);
    m_layout->addStretch();
    // The scroll bar takes height of its own: the ribbon grows while it shows.
    connect(m_scroll->horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this] { updateGeometry(); });
}

RibbonPanel* RibbonCategory::addPanel(const QString& name) {
    auto* panel = new RibbonPanel(name, m_router, m_owner, m_row);
    const int stretchIndex = m_layout->count() - 1;
    if (!m_panels.empty()) {
        auto* separator = new QFrame(m_row);
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
    updateGeometry();
}

QSize RibbonCategory::sizeHint() const {
    QSize size = m_row->sizeHint();
    const QScrollBar* bar = m_scroll->horizontalScrollBar();
    if (bar->maximum() > bar->minimum())
        size.rheight() += bar->sizeHint().height();
    return size;
}

QSize RibbonCategory::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

} // namespace platform
