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
//
// Names and values share the width, half each, until the user drags the divider between them; the
// share then keeps its new proportion as the grid is resized. A name or value cut short shows its
// full text as a tool tip.
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

    // The full text of the name or value at pos (tree viewport coordinates) when it is cut short
    // there; empty when it fits or nothing is there.
    QString cutTextAt(const QPoint& pos) const;

signals:
    void propertyChanged(Property* property);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class Property;

    void attach(Property* property, QTreeWidgetItem* parentItem);
    void refresh(Property* property);
    void refreshAll(Property* property);
    void showDescription();
    static Property* propertyOf(const QTreeWidgetItem* item);
    bool nearDivider(int x) const;
    void placeDivider();
    bool dragDivider(QEvent* event);

    QTreeWidget* m_tree;
    QLabel* m_descriptionTitle;
    QLabel* m_descriptionText;
    QColor m_groupTextColor;
    double m_nameShare = 0.5;
    bool m_dragging = false;
    std::vector<std::unique_ptr<Property>> m_properties;
};

} // namespace platform
