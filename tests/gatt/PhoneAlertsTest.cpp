#include "gatt/PhoneAlerts.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(PhoneAlertsTest, ControlPointNeedsTwoBytesAKnownCommandAndCategory) {
    EXPECT_FALSE(DecodeAlertControlPoint(Bytes{0}));
    EXPECT_FALSE(DecodeAlertControlPoint(Bytes{0, 0xFF, 0}));
    const std::tuple<uint8_t, uint8_t, uint8_t> cases[] = {
        {0, 0xFF, 0}, {5, 9, 0}, {3, 0, 0}, {6, 0, 0xA0}, {0xFF, 0xFF, 0xA0}, {0, 10, 0xA0}, {4, 0xFE, 0xA0}};
    for (const auto& [command, category, result] : cases) {
        const auto request = DecodeAlertControlPoint(Bytes{command, category});
        ASSERT_TRUE(request);
        EXPECT_EQ(CheckAlertControlPoint(*request), result) << int(command) << ' ' << int(category);
    }
}

TEST(PhoneAlertsTest, NewAlertCarriesAtMostEighteenCharactersThatFitEighteenBytes) {
    EXPECT_EQ(EncodeNewAlert(3, QStringLiteral("Mira")), (Bytes{3, 1, 'M', 'i', 'r', 'a'}));
    EXPECT_EQ(EncodeNewAlert(1, QStringLiteral("abcdefghijklmnopqrstuvwxyz")).size(), 20u);
    EXPECT_EQ(EncodeNewAlert(5, QString(9, QChar(0x00E9))).size(), 20u) << "nine two-byte characters";
    EXPECT_EQ(EncodeNewAlert(5, QString(10, QChar(0x00E9))), (Bytes{5, 1})) << "twenty bytes do not fit";
    EXPECT_EQ(EncodeNewAlert(0, QString()), (Bytes{0, 1}));
    const QString face = QString(17, QLatin1Char('a')) + QString::fromUcs4(U"\U0001F600");
    EXPECT_EQ(EncodeNewAlert(9, face).size(), 19u)
        << "a surrogate pair at the 18th character is left out whole";
}

} // namespace
