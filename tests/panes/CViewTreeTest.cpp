#include "panes/CViewTree.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

#include <vector>

namespace {

class CViewTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_group = new QTreeWidgetItem(&m_tree, QStringList{QStringLiteral("Group")});
        m_row = new QTreeWidgetItem(m_group, QStringList{QStringLiteral("Old")});
        QObject::connect(&m_tree, &CViewTree::labelEditEnded,
                         [this](QTreeWidgetItem* item, const QString& text, bool cancelled) {
                             m_ends.push_back({item, text, cancelled});
                         });
    }

    void TearDown() override { QCoreApplication::processEvents(); }

    QLineEdit* OpenEditor(const QString& text) {
        EXPECT_TRUE(m_tree.EditLabel(m_row));
        auto* editor = qobject_cast<QLineEdit*>(m_tree.LabelEditor());
        if (editor)
            editor->setText(text);
        return editor;
    }

    static void Press(QWidget* widget, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QCoreApplication::processEvents();
    }

    struct End {
        QTreeWidgetItem* item;
        QString text;
        bool cancelled;
    };

    CViewTree m_tree;
    QTreeWidgetItem* m_group = nullptr;
    QTreeWidgetItem* m_row = nullptr;
    std::vector<End> m_ends;
};

TEST_F(CViewTreeTest, UserCannotStartLabelEditing) {
    EXPECT_EQ(m_tree.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(m_row->flags() & Qt::ItemIsEditable);
}

TEST_F(CViewTreeTest, FocusWithoutACurrentRowLeavesTheTreeWithoutOne) {
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&m_tree, &focus);
    EXPECT_EQ(m_tree.currentItem(), nullptr);
}

TEST_F(CViewTreeTest, DoubleClickReportsOnlyWhileARowIsCurrent) {
    int reports = 0;
    QObject::connect(&m_tree, &CViewTree::doubleClickedWithSelection, [&reports] { ++reports; });
    m_tree.resize(200, 200);
    m_tree.show();
    const QPoint pos(5, m_tree.viewport()->height() - 2); // below the rows
    ASSERT_EQ(m_tree.itemAt(pos), nullptr);
    auto doubleClick = [this, pos] {
        QMouseEvent event(QEvent::MouseButtonDblClick, pos, m_tree.viewport()->mapToGlobal(pos),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_tree.viewport(), &event);
    };
    doubleClick();
    EXPECT_EQ(reports, 0);
    m_tree.setCurrentItem(m_group);
    doubleClick();
    EXPECT_EQ(reports, 1);
}

TEST_F(CViewTreeTest, EnterReportsTheTextWithoutTakingIt) {
    QLineEdit* editor = OpenEditor(QStringLiteral("New"));
    ASSERT_NE(editor, nullptr);
    Press(editor, Qt::Key_Return);

    ASSERT_EQ(m_ends.size(), 1u);
    EXPECT_EQ(m_ends[0].item, m_row);
    EXPECT_EQ(m_ends[0].text, QStringLiteral("New"));
    EXPECT_FALSE(m_ends[0].cancelled);
    EXPECT_EQ(m_row->text(0), QStringLiteral("Old"));
    EXPECT_EQ(m_tree.EditedItem(), nullptr);
    EXPECT_FALSE(m_row->flags() & Qt::ItemIsEditable);
}

TEST_F(CViewTreeTest, EscReportsCancelled) {
    QLineEdit* editor = OpenEditor(QStringLiteral("New"));
    ASSERT_NE(editor, nullptr);
    Press(editor, Qt::Key_Escape);

    ASSERT_EQ(m_ends.size(), 1u);
    EXPECT_TRUE(m_ends[0].cancelled);
    EXPECT_EQ(m_row->text(0), QStringLiteral("Old"));
}

TEST_F(CViewTreeTest, EmptyTextIsReportedAsEnteredNotAsCancelled) {
    QLineEdit* editor = OpenEditor(QString());
    ASSERT_NE(editor, nullptr);
    Press(editor, Qt::Key_Return);

    ASSERT_EQ(m_ends.size(), 1u);
    EXPECT_TRUE(m_ends[0].text.isEmpty());
    EXPECT_FALSE(m_ends[0].cancelled);
}

TEST_F(CViewTreeTest, EnterAndEscAreClaimedFromWindowShortcuts) {
    QLineEdit* editor = OpenEditor(QStringLiteral("New"));
    ASSERT_NE(editor, nullptr);
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QKeyEvent override(QEvent::ShortcutOverride, key, Qt::NoModifier);
        override.ignore();
        QApplication::sendEvent(editor, &override);
        EXPECT_TRUE(override.isAccepted()) << key;
    }
    EXPECT_TRUE(m_ends.empty());
}

TEST_F(CViewTreeTest, SecondEditWhileOneIsOpenIsRefused) {
    ASSERT_NE(OpenEditor(QStringLiteral("New")), nullptr);
    auto* other = new QTreeWidgetItem(m_group, QStringList{QStringLiteral("Other")});
    EXPECT_FALSE(m_tree.EditLabel(other));
    EXPECT_EQ(m_tree.EditedItem(), m_row);
}

TEST_F(CViewTreeTest, EditLabelRefusesRowsOfAnotherTree) {
    QTreeWidget other;
    auto* foreign = new QTreeWidgetItem(&other, QStringList{QStringLiteral("Foreign")});
    EXPECT_FALSE(m_tree.EditLabel(foreign));
    EXPECT_FALSE(m_tree.EditLabel(nullptr));
}

TEST_F(CViewTreeTest, RowDeletedDuringTheEditEndsItWithoutReport) {
    ASSERT_NE(OpenEditor(QStringLiteral("New")), nullptr);
    delete m_row;
    m_row = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(m_tree.EditedItem(), nullptr);
    EXPECT_TRUE(m_ends.empty());
    auto* next = new QTreeWidgetItem(m_group, QStringList{QStringLiteral("Next")});
    EXPECT_TRUE(m_tree.EditLabel(next));
}

} // namespace
