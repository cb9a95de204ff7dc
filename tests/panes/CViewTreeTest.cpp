#include "panes/CViewTree.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

TEST(CViewTreeTest, EditEndsWithTheTextOrCancelledAndTheRowKeepsItsLabel) {
    CViewTree tree;
    auto* row = new QTreeWidgetItem(new QTreeWidgetItem(&tree, QStringList{"Group"}), QStringList{"Old"});
    std::vector<QString> ends;
    QObject::connect(&tree, &CViewTree::labelEditEnded,
                     [&](QTreeWidgetItem* item, const QString& text, bool cancelled) {
                         ends.push_back(item->text(0) + "->" + text + (cancelled ? " cancelled" : ""));
                     });
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&tree, &focus);
    EXPECT_EQ(tree.currentItem(), nullptr); // focus alone makes no row current
    EXPECT_EQ(tree.editTriggers(), QAbstractItemView::NoEditTriggers);

    for (const auto& [text, key] : std::vector<std::pair<QString, int>>{
             {"New", Qt::Key_Return}, {"", Qt::Key_Enter}, {"New", Qt::Key_Escape}}) {
        ASSERT_TRUE(tree.EditLabel(row));
        EXPECT_FALSE(tree.EditLabel(row)); // one edit at a time
        auto* editor = qobject_cast<QLineEdit*>(tree.LabelEditor());
        editor->setText(text);
        QKeyEvent override(QEvent::ShortcutOverride, key, Qt::NoModifier);
        override.ignore();
        QApplication::sendEvent(editor, &override);
        EXPECT_TRUE(override.isAccepted()) << "claimed before any window shortcut sees it";
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(editor, &press);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(ends, (std::vector<QString>{"Old->New", "Old->", "Old-> cancelled"}));
    EXPECT_FALSE(row->flags() & Qt::ItemIsEditable);

    QTreeWidget other;
    EXPECT_FALSE(tree.EditLabel(new QTreeWidgetItem(&other, QStringList{"Foreign"})));
    ASSERT_TRUE(tree.EditLabel(row));
    delete row; // ends the edit without a report
    QCoreApplication::processEvents();
    EXPECT_EQ(tree.EditedItem(), nullptr);
    EXPECT_EQ(ends.size(), 3u);
}

} // namespace
