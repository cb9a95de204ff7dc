// Controls of dialog templates found by their numeric ids.
#include "platform/DialogItems.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QWidget* AddControl(QWidget* parent, QWidget* control, UINT id) {
    control->setParent(parent);
    control->setProperty(platform::kControlIdProperty, id);
    return control;
}

TEST(DialogItemsTest, FindsControlsAtAnyDepthAndTheFirstOfAReusedId) {
    QWidget root;
    auto* group = new QWidget(&root);
    QWidget* label = AddControl(group, new QLabel, 1030);
    AddControl(&root, new QLabel, 1030);
    QWidget* edit = AddControl(&root, new QLineEdit, 1067);
    EXPECT_EQ(platform::GetDlgItem(&root, 1030), label);
    EXPECT_EQ(platform::GetDlgItem(&root, 1067), edit);
    EXPECT_EQ(platform::GetDlgItem(&root, 9999), nullptr);
    EXPECT_EQ(platform::GetDlgItem(nullptr, 1030), nullptr);
}

TEST(DialogItemsTest, FollowsControlsAddedRemovedOrRenumberedAfterTheFirstLookUp) {
    QWidget root;
    QWidget* first = AddControl(&root, new QLabel, 1);
    ASSERT_EQ(platform::GetDlgItem(&root, 1), first);
    QWidget* later = AddControl(&root, new QLabel, 2);
    EXPECT_EQ(platform::GetDlgItem(&root, 2), later);
    delete first;
    EXPECT_EQ(platform::GetDlgItem(&root, 1), nullptr);
    later->setProperty(platform::kControlIdProperty, 3u);
    EXPECT_EQ(platform::GetDlgItem(&root, 2), nullptr);
    EXPECT_EQ(platform::GetDlgItem(&root, 3), later);
}

TEST(DialogItemsTest, TextOfLabelsEditsAndButtons) {
    QWidget root;
    AddControl(&root, new QLabel, 1);
    AddControl(&root, new QLineEdit, 2);
    AddControl(&root, new QPushButton, 3);
    AddControl(&root, new QWidget, 4);
    for (UINT id : {1u, 2u, 3u}) {
        EXPECT_TRUE(platform::SetDlgItemText(&root, id, QStringLiteral("text %1").arg(id)));
        EXPECT_EQ(platform::GetDlgItemText(&root, id), QStringLiteral("text %1").arg(id));
    }
    EXPECT_FALSE(platform::SetDlgItemText(&root, 4, QStringLiteral("x")));
    EXPECT_FALSE(platform::SetDlgItemText(&root, 5, QStringLiteral("x")));
    EXPECT_EQ(platform::GetDlgItemText(&root, 4), QString());
}

} // namespace
