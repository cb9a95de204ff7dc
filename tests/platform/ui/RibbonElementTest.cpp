#include "platform/ui/RibbonElement.h"

#include "platform/ui/RibbonButton.h"
#include "platform/ui/RibbonCheckBox.h"

#include <QCheckBox>
#include <QToolButton>
#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(RibbonElementTest, ToolTipShowsTitleAndDescriptionAndStatusTipTheDescription) {
    RibbonButton button(310, QStringLiteral("Discover devices"));
    button.setToolTipText(QStringLiteral("Discover"));
    button.setDescription(QStringLiteral("Discover <Bluetooth> Smart Devices"));

    EXPECT_EQ(button.toolTipText(), QStringLiteral("Discover"));
    EXPECT_EQ(button.description(), QStringLiteral("Discover <Bluetooth> Smart Devices"));
    EXPECT_EQ(button.toolTip(),
              QStringLiteral("<qt>Discover<br/>Discover &lt;Bluetooth&gt; Smart Devices</qt>"));
    EXPECT_EQ(button.statusTip(), QStringLiteral("Discover <Bluetooth> Smart Devices"));
    EXPECT_EQ(button.findChild<QToolButton*>()->toolTip(), button.toolTip());
    EXPECT_EQ(button.findChild<QToolButton*>()->statusTip(), button.statusTip());
}

TEST(RibbonElementTest, DescriptionLinesBreakInTheToolTipAndEmptyTipsClearIt) {
    RibbonButton button(1055, QStringLiteral("Show log"));
    button.setDescription(QStringLiteral("first\nsecond"));
    EXPECT_EQ(button.toolTip(), QStringLiteral("<qt>first<br/>second</qt>"));

    button.setDescription(QString());
    EXPECT_TRUE(button.toolTip().isEmpty());
    EXPECT_TRUE(button.statusTip().isEmpty());
}

TEST(RibbonElementTest, UpdateSinkSetsEnabledStateAndLabel) {
    RibbonButton button(311, QStringLiteral("Connect to device"));
    CmdUI cmdUI(311, button.updateSink());

    cmdUI.Enable(false);
    cmdUI.SetText(QStringLiteral("Disconnect"));

    EXPECT_FALSE(button.isEnabled());
    EXPECT_EQ(button.label(), QStringLiteral("Disconnect"));
    EXPECT_EQ(button.findChild<QToolButton*>()->text(), QStringLiteral("Disconnect"));
}

TEST(RibbonElementTest, LargeAndSmallButtonsUseTheirIconSizes) {
    RibbonButton large(318, QStringLiteral("Update parameters"), QIcon(), true);
    RibbonButton small(1055, QStringLiteral("Show log"), QIcon(), false);

    EXPECT_TRUE(large.isLarge());
    EXPECT_FALSE(small.isLarge());
    EXPECT_EQ(large.findChild<QToolButton*>()->iconSize(), QSize(32, 32));
    EXPECT_EQ(small.findChild<QToolButton*>()->iconSize(), QSize(16, 16));
}

TEST(RibbonElementTest, CheckBoxShowsTheUpdatedCheckNotTheClick) {
    RibbonCheckBox quick(327, QStringLiteral("Quick connect"));
    int activations = 0;
    QObject::connect(&quick, &RibbonElement::activated, [&] { ++activations; });
    QCheckBox* face = quick.findChild<QCheckBox*>();
    ASSERT_NE(face, nullptr);

    face->click();
    EXPECT_EQ(activations, 1);
    EXPECT_FALSE(quick.isChecked());
    EXPECT_FALSE(face->isChecked());

    CmdUI(327, quick.updateSink()).SetCheck(1);
    EXPECT_TRUE(quick.isChecked());
    EXPECT_TRUE(face->isChecked());
}

} // namespace
} // namespace platform
