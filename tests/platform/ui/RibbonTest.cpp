#include "platform/ui/Ribbon.h"

#include "platform/ui/CommandRouter.h"
#include "platform/ui/RibbonButton.h"
#include "platform/ui/RibbonCategory.h"
#include "platform/ui/RibbonCheckBox.h"
#include "platform/ui/RibbonEdit.h"
#include "platform/ui/RibbonPanel.h"

#include <QCoreApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace platform {
namespace {

class RibbonTest : public ::testing::Test {
protected:
    CommandTarget frame;
    CommandRouter router;
    Ribbon ribbon{router, &frame};
};

TEST_F(RibbonTest, FindByIdReturnsTheFirstElementAcrossCategories) {
    RibbonPanel* connections = ribbon.addCategory(QStringLiteral("Main"))->addPanel(QStringLiteral("Device"));
    connections->addButton(310, QStringLiteral("Discover devices"));
    RibbonCategory* help = ribbon.addCategory(QStringLiteral("Help"));
    RibbonButton* about = help->addPanel(QStringLiteral("Help"))->addButton(32775, QStringLiteral("About"));
    help->addPanel(QStringLiteral("Again"))->addButton(310, QStringLiteral("Second 310"));

    EXPECT_EQ(ribbon.findById(32775), about);
    ASSERT_NE(ribbon.findById(310), nullptr);
    EXPECT_EQ(ribbon.findById(310)->label(), QStringLiteral("Discover devices"));
    EXPECT_EQ(ribbon.findById(4242), nullptr);
}

TEST_F(RibbonTest, CategoriesAndPanelsKeepTheirOrderAndNames) {
    ribbon.addCategory(QStringLiteral("Main"));
    RibbonCategory* advanced = ribbon.addCategory(QStringLiteral("Advanced"));
    advanced->addPanel(QStringLiteral("Debug"));

    ASSERT_EQ(ribbon.categoryCount(), 2);
    EXPECT_EQ(ribbon.categoryAt(1)->name(), QStringLiteral("Advanced"));
    EXPECT_EQ(ribbon.categoryAt(1)->panelAt(0)->name(), QStringLiteral("Debug"));
    EXPECT_EQ(ribbon.categoryAt(2), nullptr);
    EXPECT_EQ(advanced->panelAt(-1), nullptr);
}

TEST_F(RibbonTest, ElementsFollowTheUpdatesOfTheOwnersRoute) {
    bool editsEnabled = false;
    frame.onUpdateRange(314, 317, [&](CmdUI& ui) { ui.Enable(editsEnabled); });
    RibbonPanel* parameters =
        ribbon.addCategory(QStringLiteral("Main"))->addPanel(QStringLiteral("Parameters"));
    RibbonEdit* minimum = parameters->addEdit(314, QStringLiteral("Minimum"), 50, 6, 3200);
    RibbonEdit* timeout = parameters->addEdit(317, QStringLiteral("Timeout"), 50, 0, 65535);

    router.runUpdatePass();
    EXPECT_FALSE(minimum->isEnabled());
    EXPECT_FALSE(timeout->isEnabled());

    editsEnabled = true;
    router.runUpdatePass();
    EXPECT_TRUE(minimum->isEnabled());
    EXPECT_TRUE(timeout->isEnabled());
}

TEST_F(RibbonTest, RecalcLayoutKeepsEveryElement) {
    RibbonPanel* panel = ribbon.addCategory(QStringLiteral("Main"))->addPanel(QStringLiteral("Parameters"));
    for (UINT id = 314; id <= 317; ++id)
        panel->addEdit(id, QString::number(id), 50, 0, 100);
    panel->addButton(318, QStringLiteral("Update parameters"));

    ribbon.recalcLayout();

    EXPECT_EQ(panel->elementCount(), 5);
    for (int i = 0; i < panel->elementCount(); ++i)
        EXPECT_EQ(panel->elementAt(i)->parentWidget()->parentWidget(), panel) << i;
}

TEST_F(RibbonTest, PanelsKeepTheirNaturalWidthAndANarrowRibbonScrollsInsteadOfCutting) {
    RibbonCategory* main = ribbon.addCategory(QStringLiteral("Main"));
    RibbonPanel* connections = main->addPanel(QStringLiteral("Device Connections"));
    connections->addButton(310, QStringLiteral("Discover devices"));
    RibbonPanel* security = main->addPanel(QStringLiteral("Security"));
    security->addCheckBox(32799, QStringLiteral("Enable MITM Protection"));
    ribbon.resize(1000, ribbon.sizeHint().height());
    ribbon.show();
    QCoreApplication::processEvents();
    const int height = ribbon.height();
    EXPECT_EQ(connections->width(), connections->sizeHint().width());
    EXPECT_EQ(security->width(), security->sizeHint().width());
    EXPECT_LT(security->geometry().right(), 500);

    ribbon.resize(120, ribbon.height());
    QCoreApplication::processEvents();
    ribbon.resize(120, ribbon.sizeHint().height());
    QCoreApplication::processEvents();

    EXPECT_EQ(security->width(), security->sizeHint().width());
    auto* bar = main->findChild<QScrollArea*>()->horizontalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    // The scroll bar adds its own height: the panels keep theirs.
    EXPECT_GE(ribbon.height(), height + bar->height());
}

} // namespace
} // namespace platform
