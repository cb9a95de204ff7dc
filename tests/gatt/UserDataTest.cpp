// User Data values from golden bytes: control-point requests and responses, typed numbers, the first
// name both ways and the database change increment.
#include "gatt/UserData.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;
using UCPR = UserControlPointResponse;
using State = TypedNumber::State;

TEST(UserDataTest, ControlPointRequestsAndResponses) {
    EXPECT_EQ(RegisterNewUserRequest(4321), (Bytes{0x01, 0xE1, 0x10}));
    EXPECT_EQ(RegisterNewUserRequest(65535), (Bytes{0x01, 0xFF, 0xFF}));
    EXPECT_EQ(ConsentRequest(0, 1234), (Bytes{0x02, 0x00, 0xD2, 0x04}));
    EXPECT_EQ(DeleteUserDataRequest(), Bytes{0x03});

    const struct {
        Bytes value;
        std::optional<UCPR> expected;
    } rows[] = {
        {{0x20, 0x01, 0x01, 0x02}, UCPR{0x20, 0x01, 0x01, 0x02}},
        {{0x20, 0x02, 0x05}, UCPR{0x20, 0x02, 0x05, std::nullopt}},
        {{0x10, 0x03, 0x01, 0x07, 0x08}, UCPR{0x10, 0x03, 0x01, 0x07}},
        {{0x20, 0x02}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& [value, expected] : rows)
        EXPECT_EQ(UCPR::decode(value), expected) << value.size();
}

TEST(UserDataTest, TypedNumbersAreDecimalWithinFiveCharactersAndTheirMaximum) {
    const std::tuple<const char*, uint32_t, State, uint32_t> rows[] = {
        {"", 255, State::Empty, 0},
        {"x1", 65535, State::Empty, 0},
        {"0", 255, State::Valid, 0},
        {"255", 255, State::Valid, 255},
        {"256", 255, State::OutOfRange, 0},
        {"010", 255, State::Valid, 10},
        {"00012", 65535, State::Valid, 12},
        {"65535", 65535, State::Valid, 65535},
        {"65536", 65535, State::OutOfRange, 0},
        {"123456", 65535, State::OutOfRange, 0},
        {"000001", 65535, State::OutOfRange, 0},
        {"12345678901234", 65535, State::OutOfRange, 0},
        {"42ab", 65535, State::Valid, 42},
    };
    for (const auto& [text, max, state, value] : rows) {
        const TypedNumber number = TypedNumber::parse(QString::fromUtf8(text), max);
        EXPECT_EQ(number.state, state) << text;
        EXPECT_EQ(number.value, value) << text;
    }
}

Bytes WithZero(Bytes bytes) {
    bytes.push_back(0);
    return bytes;
}

TEST(UserDataTest, FirstNameIsWrittenAsUtf8OfNineteenCharactersWithAZeroByte) {
    const struct {
        QString name;
        Bytes value;
    } rows[] = {
        {QStringLiteral("Zoë"), {0x5A, 0x6F, 0xC3, 0xAB, 0x00}},
        {QStringLiteral("Ann"), {0x41, 0x6E, 0x6E, 0x00}},
        {QString(), {}},
        {QString(25, u'a'), WithZero(Bytes(19, 0x61))},
        // A character outside the basic plane counts once and is not cut in half.
        {QString(18, u'a') + QString::fromUtf8("\xF0\x9F\x98\x80") + u'b', WithZero([] {
             Bytes bytes(18, 0x61);
             bytes.insert(bytes.end(), {0xF0, 0x9F, 0x98, 0x80});
             return bytes;
         }())},
    };
    for (const auto& [name, value] : rows)
        EXPECT_EQ(FirstNameValue(name), value) << name.toStdString();
}

TEST(UserDataTest, FirstNameIsReadUpToAZeroByteOr262Bytes) {
    const struct {
        Bytes value;
        QString text;
    } rows[] = {
        {{0x41, 0x6E, 0x6E, 0x00, 0x42}, QStringLiteral("Ann")},
        {{0x5A, 0x6F, 0xC3, 0xAB}, QStringLiteral("Zoë")},
        {{0x5A, 0x6F, 0xC3}, QStringLiteral("Zo\uFFFD")},
        {Bytes(300, 0x61), QString(262, u'a')},
        {{}, QString()},
    };
    for (const auto& [value, text] : rows)
        EXPECT_EQ(FirstNameText(value), text) << value.size();
}

TEST(UserDataTest, DatabaseChangeIncrementNeedsFourBytes) {
    EXPECT_EQ(DatabaseChangeIncrement(Bytes{0x05, 0x00, 0x00, 0x00, 0x09}), 5u);
    EXPECT_EQ(DatabaseChangeIncrement(Bytes{0xFF, 0xFF, 0xFF, 0xFF}), 0xFFFFFFFFu);
    EXPECT_EQ(DatabaseChangeIncrement(Bytes{0x01, 0x02, 0x03}), std::nullopt);
}

} // namespace
