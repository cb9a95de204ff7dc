// The notification center's values from golden bytes: the Control Point request and the Data Source
// stream cut into 20-byte pieces.
#include "gatt/NotificationCenter.h"

#include "support/Hex.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& text) {
    return {text.begin(), text.end()};
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A request for notification 0x04030201.
AncsControlPointRequest Request(std::vector<uint8_t> ids, uint8_t command = 0) {
    return {command, 0x04030201, std::move(ids)};
}

AncsAttributeBlock Block(std::string app, std::string title, std::string message) {
    return {std::move(app), std::move(title), "", std::move(message), "", ""};
}

TEST(NotificationCenterTest, ControlPointRequestsAreReadWithinTheValue) {
    const std::tuple<const char*, Bytes, std::optional<AncsControlPointRequest>> rows[] = {
        {"UID cut short", Hex("00 01 02 03"), std::nullopt},
        {"bare request", Hex("00 01 02 03 04"), Request({})},
        {"maxima read past", Hex("00 01 02 03 04 00 01 20 00 03 40 00"), Request({0, 1, 3})},
        {"ids without a maximum", Hex("00 01 02 03 04 04 05 00 09"), Request({4, 5, 0, 9})},
        {"a maximum cut short: its byte is the next id", Hex("00 01 02 03 04 02 20"), Request({2, 0x20})},
        {"another command keeps no ids", Hex("01 01 02 03 04 00 01"), Request({}, 1)},
    };
    for (const auto& [name, value, expected] : rows)
        EXPECT_EQ(DecodeAncsControlPoint(value), expected) << name;
}

TEST(NotificationCenterTest, TheAnswerCarriesTheFullAttributesOfEveryBlockIn20BytePieces) {
    const Bytes uid = Hex("01 02 03 04");
    const std::string title(35, 'T');
    const std::tuple<const char*, AncsControlPointRequest, std::vector<AncsAttributeBlock>, AncsPieces>
        rows[] = {
            {"maxima not applied",
             Request({0, 1, 3}),
             {Block("ab", title, "Hi")},
             {Cat({Hex("00"), uid, Hex("00 02 00"), Text("ab"), Hex("01 23 00"), Text(std::string(7, 'T'))}),
              Text(std::string(20, 'T')), Cat({Text(std::string(8, 'T')), Hex("03 02 00"), Text("Hi")})}},
            {"exactly 40 bytes: two pieces and no third",
             Request({1}),
             {Block("", std::string(32, 'T'), "")},
             {Cat({Hex("00"), uid, Hex("01 20 00"), Text(std::string(12, 'T'))}),
              Text(std::string(20, 'T'))}},
            {"a header split across pieces",
             Request({1, 3}),
             {Block("", "0123456789", "Hi")},
             {Cat({Hex("00"), uid, Hex("01 0A 00"), Text("0123456789"), Hex("03 02")}),
              Cat({Hex("00"), Text("Hi")})}},
            {"a value filling the room",
             Request({1}),
             {Block("", std::string(12, 'T'), "")},
             {Cat({Hex("00"), uid, Hex("01 0C 00"), Text(std::string(12, 'T'))})}},
            {"unknown ids and empty values add nothing",
             Request({9, 2, 3}),
             {Block("ab", "", "")},
             {Cat({Hex("00"), uid})}},
            {"a bare request", Request({}), {Block("ab", "T", "M")}, {Cat({Hex("00"), uid})}},
            {"another command: its header only",
             Request({}, 7),
             {Block("ab", "T", "M")},
             {Cat({Hex("07"), uid})}},
        };
    for (const auto& [name, request, blocks, pieces] : rows)
        EXPECT_EQ(AncsDataSourceAnswer(request, blocks), pieces) << name;
}

// The sample attributes: a call's title is the caller; every other category has a title of its own,
// unknown ones those of "Other"; the application identifier is the same for all.
TEST(NotificationCenterTest, TheSampleTitleOfACallIsTheCaller) {
    const char* const caller = "+44 1632 960 451";
    const std::pair<uint8_t, const char*> rows[] = {{1, caller},     {2, caller},  {3, caller},
                                                    {4, "Facebook"}, {0, "other"}, {12, "other"}};
    for (const auto& [category, title] : rows) {
        const AncsAttributeBlock block = AncsDemoAttributes(category);
        EXPECT_EQ(block[AncsAttribute::Title], title) << int(category);
        EXPECT_EQ(block[AncsAttribute::AppIdentifier], "com.orvane.tindrel.notifications") << int(category);
    }
}

} // namespace
