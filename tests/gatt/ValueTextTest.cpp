#include "gatt/ValueText.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>
#include <vector>

namespace {

struct Utf8Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int length;
    QString expected;
};

TEST(ValueTextTest, Utf8ToCStringConvertsExactlyLengthBytesAndCutsAtTheFirstNul) {
    const Utf8Case cases[] = {
        {"trailing NUL", {0x48, 0x69, 0x00}, 3, "Hi"},
        {"NUL in the middle", {0x41, 0x00, 0x42}, 3, "A"},
        {"leading NUL", {0x00, 0x41}, 2, ""},
        {"length shorter than the buffer", {0x48, 0x65, 0x6C, 0x6C, 0x6F}, 2, "He"},
        {"two-byte sequence", {0x4D, 0xC3, 0xBC, 0x6C}, 4, QStringLiteral("M\u00fcl")},
        {"invalid byte", {0x48, 0xFF, 0x69}, 3, QStringLiteral("H\ufffdi")},
        {"sequence cut by the length", {0x41, 0xC3, 0xBC}, 2, QStringLiteral("A\ufffd")},
        {"zero length", {0x41}, 0, ""},
        {"negative length", {0x41}, -5, ""},
    };
    for (const Utf8Case& c : cases) {
        EXPECT_EQ(Utf8ToCString(c.bytes.data(), c.length), c.expected) << c.name;
    }
}

TEST(ValueTextTest, Utf8ToCStringOfANullPointerIsEmpty) {
    EXPECT_EQ(Utf8ToCString(nullptr, 4), "");
}

TEST(ValueTextTest, CStringFromUtf8DecodesAdvertisedNames) {
    EXPECT_EQ(CStringFromUtf8("Pulse"), "Pulse");
    EXPECT_EQ(CStringFromUtf8("Waage \xC3\xA4"), QStringLiteral("Waage \u00e4"));
    EXPECT_EQ(CStringFromUtf8("A\xFF"), QStringLiteral("A\ufffd"));
    EXPECT_EQ(CStringFromUtf8(""), "");
    EXPECT_EQ(CStringFromUtf8(nullptr), "");
}

struct HexCase {
    const char* name;
    std::vector<uint8_t> bytes;
    int length;
    QString separator;
    bool reversed;
    QString expected;
};

TEST(ValueTextTest, BytesToHexStringPutsTheSeparatorAfterEveryByte) {
    const HexCase cases[] = {
        {"colon", {0x01, 0x02, 0x0A}, 3, ":", false, "01:02:0A:"},
        {"colon reversed", {0x01, 0x02, 0x0A}, 3, ":", true, "0A:02:01:"},
        {"no separator reversed", {0x34, 0x12}, 2, "", true, "1234"},
        {"long separator", {0xAB, 0xCD}, 2, " - ", false, "AB - CD - "},
        {"length shorter than the buffer", {0xFF, 0xEE, 0xDD}, 2, " ", true, "EE FF "},
        {"zero length", {0x01}, 0, ":", false, ""},
        {"negative length", {0x01}, -1, ":", true, ""},
    };
    for (const HexCase& c : cases) {
        EXPECT_EQ(BytesToHexString(c.bytes.data(), c.length, c.separator, c.reversed), c.expected) << c.name;
    }
}

TEST(ValueTextTest, BytesToHexStringOfANullPointerIsEmpty) {
    EXPECT_EQ(BytesToHexString(nullptr, 3, ":", false), "");
}

TEST(ValueTextTest, IntToStringIsDecimal) {
    EXPECT_EQ(IntToString(0), "0");
    EXPECT_EQ(IntToString(812), "812");
    EXPECT_EQ(IntToString(65535), "65535");
}

// Decimal comma for C++ streams.
class CommaDecimal : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Switches every locale the process has to a decimal-comma one and restores them afterwards.
class FloatToStringLocaleTest : public testing::Test {
protected:
    void SetUp() override {
        m_savedQt = QLocale();
        m_savedStd = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
        m_savedC = std::setlocale(LC_NUMERIC, nullptr);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        // Only effective where the system has the locale installed.
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }

    void TearDown() override {
        std::setlocale(LC_NUMERIC, m_savedC.c_str());
        QLocale::setDefault(m_savedQt);
        std::locale::global(m_savedStd);
    }

private:
    QLocale m_savedQt;
    std::locale m_savedStd;
    std::string m_savedC;
};

TEST_F(FloatToStringLocaleTest, FloatToStringUsesAPointAndSixDecimalsWhateverTheLocale) {
    ASSERT_EQ(QLocale().toString(1.5), "1,5");
    EXPECT_EQ(FloatToString(3.5f), "3.500000");
    EXPECT_EQ(FloatToString(-0.25f), "-0.250000");
    EXPECT_EQ(FloatToString(1234567.0f), "1234567.000000");
    EXPECT_EQ(FloatToString(0.0f), "0.000000");
}

TEST(ValueTextTest, FloatToStringWidensToDoubleBeforeFormatting) {
    EXPECT_EQ(FloatToString(0.1f), "0.100000");
    EXPECT_EQ(FloatToString(16777217.0f), "16777216.000000");
}

struct EditCase {
    const char* name;
    QString text;
    bool accepted;
    uint16_t value;
};

TEST(ValueTextTest, ParseEditUInt16ReadsLikeTheCConversion) {
    const EditCase cases[] = {
        {"largest", "65535", true, 65535},
        {"one too many", "65536", false, 0},
        {"negative", "-1", false, 0},
        {"empty", "", false, 0},
        {"leading spaces", "  7", true, 7},
        {"leading tab and newline", "\t\n9", true, 9},
        {"trailing garbage", "42abc", true, 42},
        {"no digits", "abc", true, 0},
        {"only spaces", "  ", true, 0},
        {"plus sign", "+12", true, 12},
        {"negative zero", "-0", true, 0},
        {"leading zeros", "0065535", true, 65535},
        {"stops at inner space", "1 2", true, 1},
        {"sign without digits", "-", true, 0},
        {"far too large", "99999999999999999999999", false, 0},
        {"far too negative", "-99999999999999999999999", false, 0},
        {"non-ASCII digits stop", QStringLiteral("5\u0663"), true, 5},
        {"no-break space is no white space", QStringLiteral("\u00a07"), true, 0},
    };
    for (const EditCase& c : cases) {
        uint16_t out = 4321;
        EXPECT_EQ(ParseEditUInt16(c.text, &out), c.accepted) << c.name;
        EXPECT_EQ(out, c.accepted ? c.value : 4321) << c.name;
    }
}

TEST(ValueTextTest, ParseEditUInt16ReadsOnlyTheFirst255Characters) {
    uint16_t out = 0;
    ASSERT_TRUE(ParseEditUInt16(QString(254, u'0') + "12", &out));
    EXPECT_EQ(out, 1);
    ASSERT_TRUE(ParseEditUInt16(QString(255, u' ') + "7", &out));
    EXPECT_EQ(out, 0);
}

TEST(ValueTextTest, ParseEditUInt16WithoutAnOutParameterFails) {
    EXPECT_FALSE(ParseEditUInt16("5", nullptr));
}

} // namespace
