// One row or group of the read-only property grid.
#pragma once

#include <QString>
#include <memory>
#include <vector>

class QTreeWidgetItem;

namespace platform {

class PropertyGrid;

// A group holds sub items; a value-list group also shows its rows' values, joined, as its own value.
// A property owns its sub items; the grid owns the top-level properties.
class Property {
public:
    enum Kind { Group, ValueList };

    Property(Kind kind, const QString& name);
    Property(const QString& name, const QString& value, const QString& description = {}, int data = 0);
    ~Property();
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    bool isGroup() const { return m_group; }
    bool isValueList() const { return m_valueList; }

    QString name() const { return m_name; }
    // A value-list group's value is always its rows' values, joined by ", ".
    QString value() const;
    // No effect on a value-list group, whose value comes from its rows.
    void setValue(const QString& value);
    QString description() const { return m_description; }
    void setDescription(const QString& description);
    int data() const { return m_data; }
    void setData(int data) { m_data = data; }

    bool isEnabled() const { return m_enabled; }
    void enable(bool on = true);
    bool isExpanded() const { return m_expanded; }
    void expand(bool on = true);

    // Takes ownership; the new item appears at once when this property is already in a grid.
    void addSubItem(Property* child);
    int subItemCount() const { return static_cast<int>(m_children.size()); }
    // nullptr when index is out of range.
    Property* subItem(int index) const;
    Property* parent() const { return m_parent; }

    // True when this property is other or one of other's sub items, at any depth.
    bool isWithin(const Property* other) const;

private:
    friend class PropertyGrid;

    void changed();

    QString m_name;
    QString m_value;
    QString m_description;
    int m_data = 0;
    bool m_group = false;
    bool m_valueList = false;
    bool m_enabled = true;
    bool m_expanded = true;
    Property* m_parent = nullptr;
    std::vector<std::unique_ptr<Property>> m_children;
    PropertyGrid* m_grid = nullptr;
    QTreeWidgetItem* m_item = nullptr;
};

} // namespace platform
