#include "platform/ui/RibbonPanel.h"

#include "platform/ui/CommandRouter.h"
#include "platform/ui/RibbonButton.h"
#include "platform/ui/RibbonCheckBox.h"

#include <QCoreApplication>
#include <QPointer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <vector>

namespace platform {
namespace {

class RibbonPanelTest : public ::testing::Test {
protected:
    std::vector<UINT> ids() const {
        std::vector<UINT> result;
        for (int i = 0; i < panel.elementCount(); ++i)
            result.push_back(panel.elementAt(i)->id());
        return result;
    }

    CommandTarget frame;
    CommandRouter router;
    RibbonPanel panel{QStringLiteral("Device Connections"), &router, &frame};
};

TEST_F(RibbonPanelTest, ReplacingAnElementKeepsTheOthersInOrderAndAddsTheNewOneLast) {
    panel.addButton(310, QStringLiteral("Discover devices"));
    panel.addButton(311, QStringLiteral("Connect to device"));
    panel.addButton(318, QStringLiteral("Update parameters"));

    ASSERT_TRUE(panel.removeAt(1));
    panel.append(new RibbonButton(311, QStringLiteral("Disconnect")));

    EXPECT_EQ(ids(), (std::vector<UINT>{310, 318, 311}));
    EXPECT_EQ(panel.elementAt(2)->label(), QStringLiteral("Disconnect"));
}

TEST_F(RibbonPanelTest, ReplacingTheSecondOfTwoKeepsItsPlace) {
    panel.addButton(310, QStringLiteral("Discover devices"));
    panel.addButton(311, QStringLiteral("Connect to device"));

    panel.removeAt(1);
    panel.append(new RibbonButton(311, QStringLiteral("Disconnect")));

    EXPECT_EQ(ids(), (std::vector<UINT>{310, 311}));
}

TEST_F(RibbonPanelTest, RemovedElementIsUnboundAtOnceAndDestroyedByTheEventLoop) {
    QPointer<RibbonElement> connect = panel.addButton(311, QStringLiteral("Connect to device"));
    ASSERT_TRUE(router.isBound(connect));

    panel.removeAt(0);
    EXPECT_FALSE(router.isBound(connect));
    EXPECT_EQ(panel.elementCount(), 0);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(connect.isNull());
}

TEST_F(RibbonPanelTest, ElementAppendedToAShownPanelIsShownAtOnce) {
    panel.addButton(310, QStringLiteral("Discover devices"));
    panel.show();

    auto* disconnect = new RibbonButton(311, QStringLiteral("Disconnect"));
    panel.append(disconnect);

    EXPECT_TRUE(disconnect->isVisible());
}

TEST_F(RibbonPanelTest, IndexesOutOfRangeAreRefused) {
    panel.addButton(310, QStringLiteral("Discover devices"));

    EXPECT_FALSE(panel.removeAt(1));
    EXPECT_FALSE(panel.removeAt(-1));
    EXPECT_EQ(panel.elementAt(1), nullptr);
    EXPECT_EQ(panel.elementCount(), 1);
}

TEST_F(RibbonPanelTest, ClickIssuesTheCommandUnlessItIsDisabled) {
    bool searching = false;
    int discovers = 0;
    frame.onCommand(310, [&] { ++discovers; });
    frame.onUpdate(310, [&](CmdUI& ui) { ui.Enable(!searching); });
    RibbonButton* discover = panel.addButton(310, QStringLiteral("Discover devices"));
    QToolButton* face = discover->findChild<QToolButton*>();
    ASSERT_NE(face, nullptr);
    router.runUpdatePass();

    face->click();
    EXPECT_EQ(discovers, 1);

    searching = true; // the element still looks enabled
    face->click();
    EXPECT_EQ(discovers, 1);
    EXPECT_FALSE(discover->isEnabled());
}

TEST_F(RibbonPanelTest, ElementMayRemoveItselfFromInsideItsOwnCommand) {
    frame.onCommand(311, [&] {
        panel.removeAt(0);
        panel.append(new RibbonButton(311, QStringLiteral("Disconnect")));
    });
    RibbonButton* connect = panel.addButton(311, QStringLiteral("Connect to device"));

    connect->findChild<QToolButton*>()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ASSERT_EQ(panel.elementCount(), 1);
    EXPECT_EQ(panel.elementAt(0)->label(), QStringLiteral("Disconnect"));
}

TEST_F(RibbonPanelTest, AppendedElementIsBoundToTheRouter) {
    frame.onUpdate(1081, [](CmdUI& ui) {
        ui.Enable(false);
        ui.SetCheck(0);
    });
    auto* random = new RibbonCheckBox(1081, QStringLiteral("Random address"));
    panel.append(random);

    router.runUpdatePass();

    EXPECT_FALSE(random->isEnabled());
    EXPECT_FALSE(random->isChecked());
}

} // namespace
} // namespace platform
