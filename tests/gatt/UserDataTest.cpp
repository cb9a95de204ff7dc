// User Data values at their limits: the first name written (19 characters) and read (262 bytes), and
// a database change increment cut short. Requests, responses and typed numbers are tested with the
// user-data window.
#include "gatt/UserData.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(UserDataTest, FirstNameAndIncrementAtTheirLimits) {
    Bytes nineteen(19, 0x61);
    nineteen.push_back(0);
    EXPECT_EQ(FirstNameValue(QString(25, u'a')), nineteen);
    // A character outside the basic plane counts once and is not cut in half.
    const QString emoji = QString(18, u'a') + QString::fromUtf8("\xF0\x9F\x98\x80") + u'b';
    Bytes withEmoji(18, 0x61);
    withEmoji.insert(withEmoji.end(), {0xF0, 0x9F, 0x98, 0x80, 0x00});
    EXPECT_EQ(FirstNameValue(emoji), withEmoji);

    EXPECT_EQ(FirstNameText(Bytes(300, 0x61)), QString(262, u'a'));
    EXPECT_EQ(FirstNameText(Bytes{0x5A, 0x6F, 0xC3}), QStringLiteral("Zo\uFFFD"));
    EXPECT_EQ(DatabaseChangeIncrement(Bytes{0x01, 0x02, 0x03}), std::nullopt);
}

} // namespace
