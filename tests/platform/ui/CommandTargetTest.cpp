#include "platform/ui/CommandTarget.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CommandTargetTest, EntriesAddedBeforeARangeWinInsideItAndARangeHandlerGetsTheId) {
    CommandTarget target;
    QString decidedBy;
    target.onUpdate(1082, [&](CmdUI&) { decidedBy = "1082"; });
    target.onUpdateRange(1082, 1098, [&](CmdUI& ui) { decidedBy = QString::number(ui.id()); });
    std::vector<UINT> ran;
    target.onCommandRange(1033, 1035, [&](UINT id) { ran.push_back(id); });
    for (const auto& [id, expected] : std::vector<std::pair<UINT, QString>>{
             {1082, "1082"}, {1083, "1083"}, {1098, "1098"}, {1099, ""}, {1081, ""}}) {
        decidedBy.clear();
        CmdUI cmdUI(id);
        EXPECT_EQ(target.runUpdate(cmdUI), !expected.isEmpty()) << id;
        EXPECT_EQ(decidedBy, expected) << id;
    }
    EXPECT_TRUE(target.runCommand(1035));
    EXPECT_FALSE(target.runCommand(1036));
    EXPECT_EQ(ran, std::vector<UINT>{1035});
    EXPECT_FALSE(target.hasCommandHandler(1082)); // an update handler is not a command handler
}

TEST(CommandTargetTest, HandlerMayAddEntriesWhileItRunsAndANextTargetMayGoAway) {
    CommandTarget target;
    target.onCommand(318, [&] {
        for (UINT id = 2000; id < 2100; ++id)
            target.onCommand(id, [] {});
    });
    EXPECT_TRUE(target.runCommand(318));
    EXPECT_TRUE(target.hasCommandHandler(2099));

    auto* main = new CommandTarget;
    target.setNextTarget(main);
    delete main;
    EXPECT_EQ(target.nextTarget(), nullptr);
}

} // namespace
} // namespace platform
