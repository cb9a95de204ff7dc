#include "platform/ui/CmdUI.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CmdUITest, AppliesEachChangeToItsControlAndRemembersIt) {
    bool enabled = true;
    int check = -1;
    QString text;
    CmdUI cmdUI(311, {[&](bool on) { enabled = on; }, [&](int c) { check = c; },
                      [&](const QString& t) { text = t; }});

    cmdUI.Enable(false);
    cmdUI.SetCheck(1);
    cmdUI.SetText(QStringLiteral("Disconnect"));

    EXPECT_FALSE(enabled);
    EXPECT_EQ(check, 1);
    EXPECT_EQ(text, QStringLiteral("Disconnect"));
    EXPECT_TRUE(cmdUI.enableChanged());
    EXPECT_EQ(cmdUI.enabled(), false);
    EXPECT_EQ(cmdUI.check(), 1);
    EXPECT_EQ(cmdUI.text(), QStringLiteral("Disconnect"));
}

TEST(CmdUITest, UntouchedRequestReportsNothingDecided) {
    CmdUI cmdUI(1081);
    EXPECT_EQ(cmdUI.id(), 1081u);
    EXPECT_FALSE(cmdUI.enableChanged());
    EXPECT_FALSE(cmdUI.check().has_value());
    EXPECT_FALSE(cmdUI.text().has_value());
}

TEST(CmdUITest, ControlWithoutCheckStateStillRecordsTheCheck) {
    bool enabled = false;
    CmdUI cmdUI(329, {[&](bool on) { enabled = on; }, {}, {}});
    cmdUI.Enable();
    cmdUI.SetCheck(0);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(cmdUI.check(), 0);
}

} // namespace
} // namespace platform
