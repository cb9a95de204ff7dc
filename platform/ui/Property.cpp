#include "platform/ui/Property.h"

#include "platform/ui/PropertyGrid.h"

#include <QStringList>
#include <QTreeWidgetItem>

namespace platform {

Property::Property(Kind kind, const QString& name)
    : m_name(name), m_group(true), m_valueList(kind == ValueList) {}

Property::Property(const QString& name, const QString& value, const QString& description, int data)
    : m_name(name), m_value(value), m_description(description), m_data(data) {}

Property::~Property() {
    // Sub items first: each deletes its own tree item before this one goes.
    m_children.clear();
    delete m_item;
}

QString Property::value() const {
    if (!m_valueList)
        return m_value;
    QStringList values;
    for (const auto& child : m_children)
        values << child->value();
    return values.join(QStringLiteral(", "));
}

void Property::setValue(const QString& value) {
    if (m_valueList)
        return;
    m_value = value;
    changed();
}

void Property::setDescription(const QString& description) {
    m_description = description;
    changed();
}

void Property::enable(bool on) {
    m_enabled = on;
    changed();
}

void Property::expand(bool on) {
    m_expanded = on;
    changed();
}

void Property::addSubItem(Property* child) {
    child->m_parent = this;
    m_children.emplace_back(child);
    if (m_grid)
        m_grid->attach(child, m_item);
    changed();
}

Property* Property::subItem(int index) const {
    if (index < 0 || index >= subItemCount())
        return nullptr;
    return m_children[static_cast<size_t>(index)].get();
}

bool Property::isWithin(const Property* other) const {
    for (const Property* p = this; p; p = p->m_parent) {
        if (p == other)
            return true;
    }
    return false;
}

void Property::changed() {
    if (m_grid)
        m_grid->refresh(this);
    if (m_parent && m_parent->m_valueList)
        m_parent->changed();
}

} // namespace platform
