// Controls of dialog templates found by their numeric ids.
#include "platform/DialogItems.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace platform {
namespace {

QWidget* AddControl(QWidget* parent, QWidget* control, UINT id) {
    control->setParent(parent);
    control->setProperty(kControlIdProperty, id);
    return control;
}

TEST(DialogItemsTest, FindsTheFirstControlOfAnIdAtAnyDepthAsControlsComeAndGo) {
    QWidget root;
    QWidget* label = AddControl(new QWidget(&root), new QLabel, 1030);
    AddControl(&root, new QLabel, 1030);
    EXPECT_EQ(GetDlgItem(&root, 1030), label);
    EXPECT_EQ(GetDlgItem(nullptr, 1030), nullptr);
    QWidget* later = AddControl(&root, new QLineEdit, 2);
    EXPECT_EQ(GetDlgItem(&root, 2), later);
    later->setProperty(kControlIdProperty, 3u);
    EXPECT_EQ(GetDlgItem(&root, 2), nullptr);
    EXPECT_EQ(GetDlgItem(&root, 3), later);
    delete later;
    EXPECT_EQ(GetDlgItem(&root, 3), nullptr);
}

TEST(DialogItemsTest, TextOfLabelsEditsAndButtonsOnly) {
    QWidget root;
    const std::vector<QWidget*> controls = {new QLabel, new QLineEdit, new QPushButton, new QWidget};
    for (UINT id = 1; id <= 4; ++id) {
        AddControl(&root, controls[id - 1], id);
        EXPECT_EQ(SetDlgItemText(&root, id, "text"), id != 4) << id;
        EXPECT_EQ(GetDlgItemText(&root, id), id != 4 ? "text" : "") << id;
    }
    EXPECT_FALSE(SetDlgItemText(&root, 5, "x"));
}

} // namespace
} // namespace platform
