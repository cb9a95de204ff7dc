#include "platform/ui/PropertyGrid.h"

#include "platform/ui/Property.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace platform {

namespace {
constexpr int kNameColumn = 0;
constexpr int kValueColumn = 1;
} // namespace

PropertyGrid::PropertyGrid(QWidget* parent)
    : QWidget(parent), m_tree(new QTreeWidget(this)), m_descriptionTitle(new QLabel(this)),
      m_descriptionText(new QLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_descriptionTitle);
    layout->addWidget(m_descriptionText);
    m_tree->setColumnCount(2);
    m_tree->setHeaderHidden(true);
    // Names and values share the width, as a property grid's divider does.
    m_tree->header()->setSectionResizeMode(QHeaderView::Stretch);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setAlternatingRowColors(false);
    m_descriptionTitle->setTextFormat(Qt::PlainText);
    m_descriptionText->setTextFormat(Qt::PlainText);
    m_descriptionText->setWordWrap(true);
    m_descriptionText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setGridFont(font());
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { showDescription(); });
}

PropertyGrid::~PropertyGrid() {
    // Before the tree goes: each property deletes its own tree item.
    QSignalBlocker block(m_tree);
    m_properties.clear();
}

void PropertyGrid::addProperty(Property* property) {
    m_properties.emplace_back(property);
    attach(property, nullptr);
}

bool PropertyGrid::deleteProperty(Property* property) {
    if (!property || property->m_grid != this)
        return false;
    if (const Property* selected = curSel(); selected && selected->isWithin(property))
        setCurSel(nullptr);
    QSignalBlocker block(m_tree);
    if (Property* parent = property->m_parent) {
        auto& siblings = parent->m_children;
        std::erase_if(siblings, [property](const auto& p) { return p.get() == property; });
        refresh(parent);
    } else {
        std::erase_if(m_properties, [property](const auto& p) { return p.get() == property; });
    }
    showDescription();
    return true;
}

Property* PropertyGrid::property(int index) const {
    if (index < 0 || index >= propertyCount())
        return nullptr;
    return m_properties[static_cast<size_t>(index)].get();
}

void PropertyGrid::setCurSel(Property* property) {
    if (!property) {
        m_tree->clearSelection();
        m_tree->setCurrentItem(nullptr);
        return;
    }
    if (property->m_grid == this)
        m_tree->setCurrentItem(property->m_item);
}

Property* PropertyGrid::curSel() const {
    return propertyOf(m_tree->currentItem());
}

void PropertyGrid::setGroupTextColor(const QColor& color) {
    m_groupTextColor = color;
    for (const auto& property : m_properties)
        refreshAll(property.get());
}

QColor PropertyGrid::groupTextColor() const {
    return m_groupTextColor.isValid() ? m_groupTextColor : palette().color(QPalette::WindowText);
}

void PropertyGrid::setGridFont(const QFont& font) {
    m_tree->setFont(font);
    m_descriptionText->setFont(font);
    QFont bold = font;
    bold.setBold(true);
    m_descriptionTitle->setFont(bold);
    for (const auto& property : m_properties)
        refreshAll(property.get());
}

void PropertyGrid::notifyPropertyChanged(Property* property) {
    emit propertyChanged(property);
}

QString PropertyGrid::descriptionTitle() const {
    return m_descriptionTitle->text();
}

QString PropertyGrid::descriptionText() const {
    return m_descriptionText->text();
}

void PropertyGrid::attach(Property* property, QTreeWidgetItem* parentItem) {
    auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_tree);
    item->setData(kNameColumn, Qt::UserRole, QVariant::fromValue(static_cast<void*>(property)));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    property->m_grid = this;
    property->m_item = item;
    if (property->isGroup() && !property->isValueList())
        item->setFirstColumnSpanned(true);
    for (const auto& child : property->m_children)
        attach(child.get(), item);
    refresh(property);
}

void PropertyGrid::refresh(Property* property) {
    QTreeWidgetItem* item = property->m_item;
    if (!item)
        return;
    const bool plainGroup = property->isGroup() && !property->isValueList();
    item->setText(kNameColumn, property->name());
    item->setText(kValueColumn, plainGroup ? QString() : property->value());
    QFont font = m_tree->font();
    font.setBold(plainGroup);
    item->setFont(kNameColumn, font);
    const QPalette& colors = m_tree->palette();
    const QColor nameColor = !property->isEnabled() ? colors.color(QPalette::Disabled, QPalette::Text)
                             : plainGroup           ? groupTextColor()
                                                    : colors.color(QPalette::Active, QPalette::Text);
    item->setForeground(kNameColumn, nameColor);
    item->setForeground(
        kValueColumn,
        colors.color(property->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    item->setExpanded(property->isExpanded());
    if (property == curSel())
        showDescription();
}

void PropertyGrid::refreshAll(Property* property) {
    refresh(property);
    for (const auto& child : property->m_children)
        refreshAll(child.get());
}

void PropertyGrid::showDescription() {
    const Property* selected = curSel();
    m_descriptionTitle->setText(selected ? selected->name() : QString());
    m_descriptionText->setText(selected ? selected->description() : QString());
}

Property* PropertyGrid::propertyOf(const QTreeWidgetItem* item) {
    return item ? static_cast<Property*>(item->data(kNameColumn, Qt::UserRole).value<void*>()) : nullptr;
}

} // namespace platform
