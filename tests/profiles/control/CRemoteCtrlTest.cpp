// The remote-control window: the keys a report lights and the keystrokes it forwards.
#include "profiles/control/CRemoteCtrl.h"

#include "platform/KeyInput.h"
#include "platform/ui/CommandRouter.h"
#include "profiles/control/CRemotePict.h"
#include "support/RecordingKeyInput.h"

#include <QMdiArea>
#include <gtest/gtest.h>

namespace {

namespace Vk = platform::VirtualKey;
using Keys = std::vector<std::pair<uint16_t, bool>>;

TEST(CRemoteCtrlTest, AReportLightsItsKnownKeysAndForwardsEachPressedAndReleasedInReportOrder) {
    QMdiArea area;
    platform::CommandRouter router;
    platform::CommandTarget mainTarget;
    auto* window = new CRemoteCtrl; // owned by its sub-window
    window->Create(&area, &router, &mainTarget);
    RecordingKeyInput keys;
    struct Row {
        const char* name;
        std::vector<uint8_t> report;
        bool forwarding;
        std::vector<int> lit;
        Keys sent;
    };
    const Keys up = {{Vk::Up, false}, {Vk::Up, true}};
    const Keys volumeUpThenOne = {{Vk::VolumeUp, false}, {Vk::VolumeUp, true}, {'1', false}, {'1', true}};
    const Row rows[] = {
        {"Up", {0x00, 0x00, 0x52, 0x00}, true, {0x52}, up},
        {"two keys", {0x80, 0x1E}, true, {0x1E, 0x80}, volumeUpThenOne},
        {"F4 is not a key", {0x3D, 0x27}, true, {0x27}, {{'0', false}, {'0', true}}},
        {"empty", {}, true, {}, {}},
        {"all zero", {0x00, 0x00, 0x00, 0x00}, true, {}, {}},
        {"forwarding off", {0x00, 0x00, 0x52, 0x00}, false, {0x52}, {}},
    };
    for (const Row& row : rows) {
        keys.keys.clear();
        window->SetForwarding(row.forwarding);
        window->OnKeyReport(row.report);
        EXPECT_EQ(window->Picture()->PressedKeys(), row.lit) << row.name;
        EXPECT_EQ(keys.keys, row.sent) << row.name;
    }
}

} // namespace
