// A read-only property grid: groups and name/value rows in a tree, with a description area below.
#pragma once

#include <QColor>
#include <QWidget>
#include <memory>
#include <vector>

class QFont;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {

class Property;

// Rows are never edited by the user; propertyChanged() fires only through notifyPropertyChanged().
// Disabled properties are drawn greyed; each property's enabled state is its own, so an enabled row
// under a disabled group still shows as enabled.
class PropertyGrid : public QWidget {
    Q_OBJECT
public:
    explicit PropertyGrid(QWidget* parent = nullptr);
    ~PropertyGrid() override;

    // Takes ownership and shows the property with all its sub items at the end of the grid.
    void addProperty(Property* property);
    // Deletes a top-level property or a sub item, with its sub items; a selection inside it is
    // cleared first. False (nothing deleted) when the property is not in this grid.
    bool deleteProperty(Property* property);

    int propertyCount() const { return static_cast<int>(m_properties.size()); }
    // nullptr when index is out of range.
    Property* property(int index) const;

    // nullptr clears the selection; a property of another grid is ignored.
    void setCurSel(Property* property);
    Property* curSel() const;

    void setGroupTextColor(const QColor& color);
    QColor groupTextColor() const;
    void setGridFont(const QFont& font);

    void notifyPropertyChanged(Property* property);

    // What the description area shows: the selected property's name and description.
    QString descriptionTitle() const;
    QString descriptionText() const;

    QTreeWidget* tree() const { return m_tree; }

signals:
    void propertyChanged(Property* property);

private:
    friend class Property;

    void attach(Property* property, QTreeWidgetItem* parentItem);
    void refresh(Property* property);
    void refreshAll(Property* property);
    void showDescription();
    static Property* propertyOf(const QTreeWidgetItem* item);

    QTreeWidget* m_tree;
    QLabel* m_descriptionTitle;
    QLabel* m_descriptionText;
    QColor m_groupTextColor;
    std::vector<std::unique_ptr<Property>> m_properties;
};

} // namespace platform
