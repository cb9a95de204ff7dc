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

// The face of a check box or of a button (Discover while a search runs) shows the update's check.
template <typename Face, typename Element> void ExpectCheckFollowsTheUpdateNotTheClick(Element& element) {
    int activations = 0;
    QObject::connect(&element, &RibbonElement::activated, [&] { ++activations; });
    Face* face = element.template findChild<Face*>();
    ASSERT_NE(face, nullptr);

    face->click();
    EXPECT_EQ(activations, 1);
    EXPECT_FALSE(element.isChecked());
    EXPECT_FALSE(face->isChecked());

    CmdUI(element.id(), element.updateSink()).SetCheck(1);
    EXPECT_TRUE(element.isChecked());
    EXPECT_TRUE(face->isChecked());
    face->click();
    EXPECT_TRUE(face->isChecked());
}

TEST(RibbonElementTest, CheckBoxAndButtonShowTheUpdatedCheckNotTheClick) {
    RibbonCheckBox quick(327, QStringLiteral("Quick connect"));
    ExpectCheckFollowsTheUpdateNotTheClick<QCheckBox>(quick);
    RibbonButton discover(310, QStringLiteral("Discover devices"));
    ExpectCheckFollowsTheUpdateNotTheClick<QToolButton>(discover);
}

TEST(RibbonElementTest, ButtonsReservingTheSameLabelsTakeTheSameWidth) {
    const QStringList faces{QStringLiteral("Connect to device"), QStringLiteral("Disconnect")};
    RibbonButton connect(311, faces[0]);
    RibbonButton disconnect(311, faces[1]);
    ASSERT_NE(connect.sizeHint().width(), disconnect.sizeHint().width());

    connect.reserveWidthFor(faces);
    disconnect.reserveWidthFor(faces);

    EXPECT_EQ(connect.sizeHint().width(), disconnect.sizeHint().width());
    EXPECT_EQ(disconnect.label(), faces[1]);
}

} // namespace
} // namespace platform
