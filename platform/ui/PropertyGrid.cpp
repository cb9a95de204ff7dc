#include "platform/ui/PropertyGrid.h"

#include "platform/ui/Property.h"

#include <QFont>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace platform {

namespace {
constexpr int kNameColumn = 0;
constexpr int kValueColumn = 1;
// How far from the divider (pixels) the pointer grabs it, and how narrow a column may get.
constexpr int kDividerGrip = 3;
constexpr int kMinimumColumn = 16;
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
    // The divider is dragged in the rows (the header is hidden); both columns together fill the width.
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(QHeaderView::Fixed);
    m_tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tree->viewport()->installEventFilter(this);
    m_tree->viewport()->setMouseTracking(true);
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

QString PropertyGrid::cutTextAt(const QPoint& pos) const {
    const QModelIndex index = m_tree->indexAt(pos);
    if (!index.isValid())
        return {};
    const QString text = index.data(Qt::DisplayRole).toString();
    const QVariant font = index.data(Qt::FontRole);
    const QFontMetrics metrics(font.isValid() ? font.value<QFont>() : m_tree->font());
    // The item view leaves this margin on both sides of the text.
    const int margin = m_tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_tree) + 1;
    const int room = m_tree->visualRect(index).width() - 2 * margin;
    return metrics.horizontalAdvance(text) > room ? text : QString();
}

bool PropertyGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_tree->viewport())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = cutTextAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, m_tree->viewport());
        return true;
    }
    case QEvent::Resize:
        placeDivider();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return dragDivider(event);
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool PropertyGrid::nearDivider(int x) const {
    return std::abs(x - m_tree->header()->sectionViewportPosition(kValueColumn)) <= kDividerGrip;
}

void PropertyGrid::placeDivider() {
    const int width = m_tree->viewport()->width();
    const int names = static_cast<int>(width * m_nameShare);
    m_tree->setColumnWidth(kNameColumn, names);
    m_tree->setColumnWidth(kValueColumn, width - names);
}

bool PropertyGrid::dragDivider(QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int x = mouse->position().toPoint().x();
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton && nearDivider(x)) {
        m_dragging = true;
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && m_dragging) {
        m_dragging = false;
        return true;
    }
    if (event->type() != QEvent::MouseMove)
        return false;
    if (!m_dragging) {
        if (nearDivider(x))
            m_tree->viewport()->setCursor(Qt::SplitHCursor);
        else
            m_tree->viewport()->unsetCursor();
        return false;
    }
    const int width = m_tree->viewport()->width();
    if (width <= 2 * kMinimumColumn)
        return true;
    m_nameShare = static_cast<double>(std::clamp(x, kMinimumColumn, width - kMinimumColumn)) / width;
    placeDivider();
    return true;
}

Property* PropertyGrid::propertyOf(const QTreeWidgetItem* item) {
    return item ? static_cast<Property*>(item->data(kNameColumn, Qt::UserRole).value<void*>()) : nullptr;
}

} // namespace platform
