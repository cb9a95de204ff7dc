#include "platform/ui/CommandTarget.h"

#include <gtest/gtest.h>
#include <vector>

namespace platform {
namespace {

struct RangeCase {
    UINT id;
    const char* expected;
};

TEST(CommandTargetTest, SpecificEntriesAddedBeforeARangeWinInsideIt) {
    CommandTarget target;
    QString decidedBy;
    target.onUpdate(1082, [&](CmdUI&) { decidedBy = "1082"; });
    target.onUpdate(1093, [&](CmdUI&) { decidedBy = "1093"; });
    target.onUpdateRange(1082, 1098, [&](CmdUI&) { decidedBy = "range"; });

    const std::vector<RangeCase> cases = {
        {1082, "1082"}, {1083, "range"}, {1093, "1093"}, {1098, "range"}, {1099, ""}, {1081, ""},
    };
    for (const RangeCase& c : cases) {
        decidedBy.clear();
        CmdUI cmdUI(c.id);
        EXPECT_EQ(target.runUpdate(cmdUI), !QString(c.expected).isEmpty()) << c.id;
        EXPECT_EQ(decidedBy, QString(c.expected)) << c.id;
    }
}

TEST(CommandTargetTest, RangeHandlerReceivesTheIssuedId) {
    CommandTarget target;
    std::vector<UINT> received;
    target.onCommandRange(1033, 1035, [&](UINT id) { received.push_back(id); });

    EXPECT_TRUE(target.runCommand(1033));
    EXPECT_TRUE(target.runCommand(1035));
    EXPECT_FALSE(target.runCommand(1036));
    EXPECT_EQ(received, (std::vector<UINT>{1033, 1035}));
}

TEST(CommandTargetTest, KnowsWhichIdsItHandles) {
    CommandTarget target;
    target.onCommand(310, [] {});
    target.onUpdate(311, [](CmdUI&) {});

    EXPECT_TRUE(target.hasCommandHandler(310));
    EXPECT_FALSE(target.hasCommandHandler(311));
}

TEST(CommandTargetTest, HandlerMayAddEntriesWhileItRuns) {
    CommandTarget target;
    int runs = 0;
    target.onCommand(318, [&] {
        ++runs;
        for (UINT id = 2000; id < 2100; ++id)
            target.onCommand(id, [] {});
    });

    EXPECT_TRUE(target.runCommand(318));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(target.hasCommandHandler(2099));
}

TEST(CommandTargetTest, NextTargetIsForgottenWhenItIsDestroyed) {
    CommandTarget child;
    auto* main = new CommandTarget;
    child.setNextTarget(main);
    EXPECT_EQ(child.nextTarget(), main);

    delete main;
    EXPECT_EQ(child.nextTarget(), nullptr);
}

TEST(CommandTargetTest, ActiveChildComesFromTheProvider) {
    CommandTarget main;
    CommandTarget child;
    CommandTarget* active = nullptr;
    main.setActiveChildProvider([&] { return active; });

    EXPECT_EQ(main.activeChild(), nullptr);
    active = &child;
    EXPECT_EQ(main.activeChild(), &child);
}

} // namespace
} // namespace platform
