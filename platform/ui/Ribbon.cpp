#include "platform/ui/Ribbon.h"

#include "platform/ui/CommandRouter.h"
#include "platform/ui/CommandTarget.h"
#include "platform/ui/RibbonCategory.h"
#include "platform/ui/RibbonElement.h"
#include "platform/ui/RibbonPanel.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace platform {

Ribbon::Ribbon(CommandRouter& router, CommandTarget* owner, QWidget* parent)
    : QWidget(parent), m_router(router), m_owner(owner), m_tabs(new QTabWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

RibbonCategory* Ribbon::addCategory(const QString& name) {
    auto* category = new RibbonCategory(name, &m_router, m_owner, this);
    m_tabs->addTab(category, name);
    m_categories.push_back(category);
    return category;
}

RibbonCategory* Ribbon::categoryAt(int index) const {
    if (index < 0 || index >= categoryCount())
        return nullptr;
    return m_categories[static_cast<size_t>(index)];
}

RibbonElement* Ribbon::findById(UINT id) const {
    for (const RibbonCategory* category : m_categories) {
        for (int p = 0; p < category->panelCount(); ++p) {
            const RibbonPanel* panel = category->panelAt(p);
            for (int e = 0; e < panel->elementCount(); ++e) {
                if (panel->elementAt(e)->id() == id)
                    return panel->elementAt(e);
            }
        }
    }
    return nullptr;
}

void Ribbon::recalcLayout() {
    for (RibbonCategory* category : m_categories)
        category->recalcLayout();
    updateGeometry();
}

} // namespace platform
