#include "platform/VersionInfo.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

const QString kFileVersionKey = "\\StringFileInfo\\040904b0\\FileVersion";
const QString kTranslationKey = "\\VarFileInfo\\Translation";

class VersionInfoTest : public testing::Test {
protected:
    void TearDown() override { setVersionInfoProvider(nullptr); }
};

TEST_F(VersionInfoTest, ProgramBlockHoldsOneTranslationAndTheFileVersion) {
    ASSERT_GT(GetFileVersionInfoSize("/usr/bin/tindrel"), 0u);
    const auto block = GetFileVersionInfo("/usr/bin/tindrel");
    ASSERT_TRUE(block.has_value());
    int length = 0;
    QString text;
    ASSERT_TRUE(VerQueryValue(*block, kTranslationKey, nullptr, &length));
    EXPECT_EQ(length, 4);
    ASSERT_EQ(block->translations.size(), 1u);
    EXPECT_EQ(block->translations[0], (std::pair<uint16_t, uint16_t>{0x0409, 0x04b0}));
    ASSERT_TRUE(VerQueryValue(*block, kFileVersionKey, &text, &length));
    EXPECT_EQ(text, "2, 6, 0, 3");
    EXPECT_EQ(length, 10);
}

TEST_F(VersionInfoTest, TranslationQueryGivesFourBytesPerTranslation) {
    struct Case {
        size_t translations;
        bool found;
        int bytes;
    };
    for (const Case c : {Case{0, false, -1}, Case{1, true, 4}, Case{2, true, 8}, Case{3, true, 12}}) {
        SCOPED_TRACE(c.translations);
        VersionBlock block;
        for (size_t i = 0; i < c.translations; ++i)
            block.translations.emplace_back(static_cast<uint16_t>(0x0409 + i), 0x04b0);
        int bytes = -1;
        EXPECT_EQ(VerQueryValue(block, kTranslationKey, nullptr, &bytes), c.found);
        EXPECT_EQ(bytes, c.bytes);
    }
}

TEST_F(VersionInfoTest, StringQueriesFailForUnknownKeysAndLeaveTheOutputsAlone) {
    const VersionBlock block = programVersionBlock();
    QString text = "untouched";
    int length = -1;
    EXPECT_FALSE(VerQueryValue(block, "\\StringFileInfo\\040704b0\\FileVersion", &text, &length));
    EXPECT_FALSE(VerQueryValue(block, "\\StringFileInfo\\040904b0\\ProductName", &text, &length));
    EXPECT_FALSE(VerQueryValue(block, "", &text, &length));
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(length, -1);
}

TEST_F(VersionInfoTest, KeysCompareCaseInsensitively) {
    const VersionBlock block = programVersionBlock();
    QString text;
    EXPECT_TRUE(VerQueryValue(block, "\\STRINGFILEINFO\\040904B0\\fileversion", &text, nullptr));
    EXPECT_EQ(text, "2, 6, 0, 3");
    EXPECT_TRUE(VerQueryValue(block, "\\varfileinfo\\translation", nullptr, nullptr));
}

TEST_F(VersionInfoTest, ModuleWithoutABlockHasSizeZero) {
    setVersionInfoProvider([](const QString&) { return std::nullopt; });
    EXPECT_EQ(GetFileVersionInfoSize("x"), 0u);
    EXPECT_FALSE(GetFileVersionInfo("x").has_value());
}

TEST_F(VersionInfoTest, ProviderIsAskedWithTheModulePath) {
    QString asked;
    setVersionInfoProvider([&](const QString& path) {
        asked = path;
        return VersionBlock{{{0x0407, 0x04e4}}, {{"\\StringFileInfo\\040704e4\\FileVersion", "1, 0"}}};
    });
    const auto block = GetFileVersionInfo("/opt/tindrel/bin/tindrel");
    EXPECT_EQ(asked, "/opt/tindrel/bin/tindrel");
    ASSERT_TRUE(block.has_value());
    QString text;
    EXPECT_TRUE(VerQueryValue(*block, "\\StringFileInfo\\040704e4\\FileVersion", &text, nullptr));
    EXPECT_EQ(text, "1, 0");
}

TEST_F(VersionInfoTest, BlockCanVanishBetweenTheSizeQueryAndTheRead) {
    int calls = 0;
    setVersionInfoProvider([&](const QString&) -> std::optional<VersionBlock> {
        if (calls++ == 0)
            return programVersionBlock();
        return std::nullopt;
    });
    EXPECT_GT(GetFileVersionInfoSize("x"), 0u);
    EXPECT_FALSE(GetFileVersionInfo("x").has_value());
}

TEST_F(VersionInfoTest, SizeGrowsWithTheBlocksContents) {
    VersionBlock small = programVersionBlock();
    VersionBlock large = small;
    large.translations.emplace_back(0x0407, 0x04b0);
    large.strings.emplace("\\StringFileInfo\\040704b0\\FileVersion", "2, 6, 0, 3");
    setVersionInfoProvider([&](const QString& path) { return path == "small" ? small : large; });
    EXPECT_LT(GetFileVersionInfoSize("small"), GetFileVersionInfoSize("large"));
}

TEST_F(VersionInfoTest, ResettingTheProviderRestoresTheProgramBlock) {
    setVersionInfoProvider([](const QString&) { return std::nullopt; });
    setVersionInfoProvider(nullptr);
    EXPECT_GT(GetFileVersionInfoSize("x"), 0u);
}

} // namespace
} // namespace platform
