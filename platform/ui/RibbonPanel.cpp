#include "platform/ui/RibbonPanel.h"

#include "platform/ui/CommandRouter.h"
#include "platform/ui/RibbonButton.h"
#include "platform/ui/RibbonCheckBox.h"
#include "platform/ui/RibbonEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace platform {

namespace {
constexpr int kRowsPerColumn = 3;
} // namespace

RibbonPanel::RibbonPanel(const QString& name, CommandRouter* router, CommandTarget* owner, QWidget* parent)
    : QWidget(parent), m_router(router), m_owner(owner), m_title(new QLabel(name, this)),
      m_content(new QWidget(this)) {
    // The panel takes its natural width; a caption wider than the controls centres them under it.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_content, 1, Qt::AlignHCenter);
    layout->addWidget(m_title);
    m_title->setAlignment(Qt::AlignHCenter);
    recalcLayout();
}

QString RibbonPanel::name() const {
    return m_title->text();
}

RibbonButton* RibbonPanel::addButton(UINT id, const QString& label, const QIcon& icon, bool large) {
    auto* button = new RibbonButton(id, label, icon, large);
    append(button);
    return button;
}

RibbonEdit* RibbonPanel::addEdit(UINT id, const QString& label, int width, int minimum, int maximum) {
    auto* edit = new RibbonEdit(id, label, width, minimum, maximum);
    append(edit);
    return edit;
}

RibbonCheckBox* RibbonPanel::addCheckBox(UINT id, const QString& label) {
    auto* box = new RibbonCheckBox(id, label);
    append(box);
    return box;
}

void RibbonPanel::append(RibbonElement* element) {
    element->setParent(m_content);
    // Reparenting hides a widget; an element added to a ribbon already on screen shows at once.
    element->show();
    m_elements.push_back(element);
    if (m_router) {
        m_router->bind(element, element->id(), m_owner, element->updateSink());
        CommandRouter* router = m_router;
        connect(element, &RibbonElement::activated, router, [router, element] { router->invoke(element); });
    }
    recalcLayout();
}

RibbonElement* RibbonPanel::elementAt(int index) const {
    if (index < 0 || index >= elementCount())
        return nullptr;
    return m_elements[static_cast<size_t>(index)];
}

bool RibbonPanel::removeAt(int index) {
    RibbonElement* element = elementAt(index);
    if (!element)
        return false;
    m_elements.erase(m_elements.begin() + index);
    if (m_router)
        m_router->unbind(element);
    element->hide();
    element->deleteLater();
    recalcLayout();
    return true;
}

void RibbonPanel::recalcLayout() {
    // Rebuilt from scratch; deleting a layout leaves its widgets alone.
    delete m_columns;
    m_columns = new QHBoxLayout(m_content);
    m_columns->setContentsMargins(0, 0, 0, 0);
    QVBoxLayout* column = nullptr;
    int rows = 0;
    for (RibbonElement* element : m_elements) {
        if (element->isLarge()) {
            m_columns->addWidget(element);
            column = nullptr;
            continue;
        }
        if (!column || rows == kRowsPerColumn) {
            column = new QVBoxLayout;
            m_columns->addLayout(column);
            rows = 0;
        }
        column->addWidget(element);
        ++rows;
    }
}

} // namespace platform
