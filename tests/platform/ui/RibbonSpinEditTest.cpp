#include "platform/ui/RibbonSpinEdit.h"

#include <gtest/gtest.h>
#include <vector>

namespace platform {
namespace {

struct StepCase {
    const char* start;
    int steps;
    const char* expected;
};

TEST(RibbonSpinEditTest, StepsStayWithinTheRange) {
    const std::vector<StepCase> cases = {
        {"400", 1, "401"},   {"400", -1, "399"},
        {"3199", 5, "3200"}, {"7", -3, "6"},
        {"5000", 1, "3200"}, {"1", 1, "6"},
        {"abc", 1, "7"},     {"", -1, "6"},
        {" 12 ", 1, "13"},   {"99999999999", -1, "3200"},
    };
    RibbonSpinEdit spin;
    spin.setRange(6, 3200);
    for (const StepCase& c : cases) {
        spin.setEditText(QString::fromLatin1(c.start));
        spin.stepBy(c.steps);
        EXPECT_EQ(spin.editText(), QString::fromLatin1(c.expected)) << c.start << " " << c.steps;
    }
}

TEST(RibbonSpinEditTest, EveryTextIsAcceptable) {
    RibbonSpinEdit spin;
    spin.setRange(0, 32);
    for (QString text : {QStringLiteral("abc"), QStringLiteral("-1"), QStringLiteral("33"), QString()}) {
        int pos = 0;
        EXPECT_EQ(spin.validate(text, pos), QValidator::Acceptable) << text.toStdString();
    }
}

TEST(RibbonSpinEditTest, SwappedRangeBoundsAreOrdered) {
    RibbonSpinEdit spin;
    spin.setRange(4100, 0);
    EXPECT_EQ(spin.minimum(), 0);
    EXPECT_EQ(spin.maximum(), 4100);
}

} // namespace
} // namespace platform
