#include "platform/ui/RibbonElement.h"

#include "platform/ui/RibbonButton.h"
#include "platform/ui/RibbonCheckBox.h"

#include <QCheckBox>
#include <QToolButton>
#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(RibbonElementTest, ToolTipShowsTitleAndDescriptionOnTheElementAndItsFace) {
    RibbonButton button(310, "Discover devices");
    button.setToolTipText("Discover");
    button.setDescription("Discover <Bluetooth>\nSmart Devices");

    EXPECT_EQ(button.toolTip(), "<qt>Discover<br/>Discover &lt;Bluetooth&gt;<br/>Smart Devices</qt>");
    EXPECT_EQ(button.statusTip(), "Discover <Bluetooth>\nSmart Devices");
    EXPECT_EQ(button.findChild<QToolButton*>()->toolTip(), button.toolTip());

    button.setToolTipText(QString());
    button.setDescription(QString());
    EXPECT_TRUE(button.toolTip().isEmpty());
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

    CmdUI update(element.id(), element.updateSink());
    update.SetCheck(1);
    update.Enable(false);
    update.SetText("Stop");
    EXPECT_TRUE(element.isChecked());
    EXPECT_TRUE(face->isChecked());
    EXPECT_FALSE(element.isEnabled());
    EXPECT_EQ(element.label(), "Stop");
    EXPECT_EQ(face->text(), "Stop");
    element.setEnabled(true);
    face->click();
    EXPECT_TRUE(face->isChecked());
}

TEST(RibbonElementTest, CheckBoxAndButtonShowTheUpdatedCheckNotTheClick) {
    RibbonCheckBox quick(327, "Quick connect");
    ExpectCheckFollowsTheUpdateNotTheClick<QCheckBox>(quick);
    RibbonButton discover(310, "Discover devices");
    ExpectCheckFollowsTheUpdateNotTheClick<QToolButton>(discover);
}

} // namespace
} // namespace platform
