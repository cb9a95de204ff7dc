// The device pane's tree: device rows under three groups, label editing on request, double-click.
#pragma once

#include <QAbstractItemDelegate>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QTreeWidget>

// A one-column tree without root decoration; dotted connector lines join each group to its rows.
// The user cannot start label editing: the owner asks
// for it with EditLabel. The tree never takes an edited label itself; it reports the text (or the
// cancellation) and leaves the row as it was, so that the owner decides what the row shows.
class CViewTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit CViewTree(QWidget* parent = nullptr);

    // Opens the label editor on item (a row of this tree). False when item is null, not in this
    // tree, or another label edit is open.
    bool EditLabel(QTreeWidgetItem* item);
    // The row whose label is being edited, or nullptr (also when that row has been deleted).
    QTreeWidgetItem* EditedItem() const;
    // The open label editor, or nullptr.
    QWidget* LabelEditor() const { return m_editor; }

signals:
    // The label edit ended: Enter or leaving the editor gives the text, Esc gives cancelled.
    void labelEditEnded(QTreeWidgetItem* item, const QString& text, bool cancelled);
    // A double-click anywhere in the tree while a row is selected (the current row).
    void doubleClickedWithSelection();
    // A context menu was asked for at globalPos; fromKeyboard for the menu key.
    void contextMenuRequested(const QPoint& globalPos, bool fromKeyboard);

protected:
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;
    // A tree without a current row gains the focus without one (Qt would make the first row current).
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The editor's text is kept here instead of being written into the row.
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    // Claims Enter and Esc in the label editor before any window shortcut sees them.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A persistent index, so that a row deleted while it is edited is never reached.
    QPersistentModelIndex m_editedIndex;
    QPointer<QWidget> m_editor;
    QString m_committedText;
    bool m_committed = false;
};
