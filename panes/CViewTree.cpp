#include "panes/CViewTree.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

CViewTree::CViewTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
}

QTreeWidgetItem* CViewTree::EditedItem() const {
    return m_editor ? itemFromIndex(m_editedIndex) : nullptr;
}

bool CViewTree::EditLabel(QTreeWidgetItem* item) {
    if (!item || item->treeWidget() != this || EditedItem())
        return false;
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    const QModelIndex index = indexFromItem(item);
    editItem(item, 0);
    QWidget* editor = indexWidget(index);
    if (!editor) {
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        return false;
    }
    m_editedIndex = index;
    m_editor = editor;
    m_committed = false;
    m_committedText.clear();
    editor->installEventFilter(this);
    return true;
}

void CViewTree::commitData(QWidget* editor) {
    if (editor != m_editor) {
        QTreeWidget::commitData(editor);
        return;
    }
    const auto* line = qobject_cast<QLineEdit*>(editor);
    m_committedText = line ? line->text() : QString();
    m_committed = true;
}

void CViewTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor != m_editor) {
        QTreeWidget::closeEditor(editor, hint);
        return;
    }
    QTreeWidgetItem* item = EditedItem();
    const bool cancelled = !m_committed;
    const QString text = m_committedText;
    m_editor = nullptr;
    m_editedIndex = QPersistentModelIndex();
    m_committed = false;
    m_committedText.clear();
    if (item)
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    // No hint: the row is never edited further (Tab would otherwise move the editor on).
    QTreeWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (item)
        emit labelEditEnded(item, text, cancelled);
}

bool CViewTree::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor && event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return QTreeWidget::eventFilter(watched, event);
}

void CViewTree::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    QTreeWidget::drawBranches(painter, rect, index);
    if (!index.parent().isValid())
        return; // no lines at the root
    const int step = indentation();
    const int middle = rect.center().y();
    // Each level of indentation is one column; the innermost, at the right, belongs to the row itself.
    int column = rect.right() + 1 - step;
    painter->save();
    painter->setPen(QPen(palette().color(QPalette::Dark), 1, Qt::DotLine));
    painter->drawLine(column + step / 2, middle, column + step - 2, middle);
    bool innermost = true;
    for (QModelIndex level = index; level.parent().isValid(); level = level.parent(), column -= step) {
        const bool hasNext = level.sibling(level.row() + 1, 0).isValid();
        const int x = column + step / 2;
        if (hasNext)
            painter->drawLine(x, rect.top(), x, rect.bottom());
        else if (innermost)
            painter->drawLine(x, rect.top(), x, middle);
        innermost = false;
    }
    painter->restore();
}

void CViewTree::focusInEvent(QFocusEvent* event) {
    if (currentItem()) {
        QTreeWidget::focusInEvent(event);
        return;
    }
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CViewTree::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (currentItem())
        emit doubleClickedWithSelection();
}

void CViewTree::contextMenuEvent(QContextMenuEvent* event) {
    emit contextMenuRequested(event->globalPos(), event->reason() == QContextMenuEvent::Keyboard);
    event->accept();
}
