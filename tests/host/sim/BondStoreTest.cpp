#include "host/sim/BondStore.h"
#include "host/sim/AddressText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

namespace orv::sim {
namespace {

namespace fs = std::filesystem;

orv::host::BondEntry bond(const char* address, const char* name, uint16_t appearance) {
    return {*parseAddress(address, 0), name, appearance};
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

class BondStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) /
              ("bondstore-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        file = dir / "nested" / "bonds.json";
        store.setPath(file.string());
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
    fs::path file;
    BondStore store;
};

// Bonds are matched with their address type; nothing is written until a bond changes.
TEST_F(BondStoreTest, MissingFileGivesTheSeedAndOnlyAChangeWritesIt) {
    store.setSeed({bond("00:00:00:00:00:02", "Tag", 576)});
    auto random = bond("00:00:00:00:00:02", "Other", 1);
    random.address.type = 1;
    EXPECT_FALSE(store.update(random));
    EXPECT_FALSE(fs::exists(file));
    ASSERT_TRUE(store.update(bond("00:00:00:00:00:02", "Schlüssel", 577)));
    EXPECT_NE(readAll(file).find("Schlüssel"), std::string::npos);
    EXPECT_FALSE(fs::exists(file.string() + ".tmp"));
}

using BondRow = std::tuple<std::string, int, std::string, uint16_t>;

// Address text, address type, name and appearance of each bond, in order.
std::vector<BondRow> describe(const std::vector<orv::host::BondEntry>& bonds) {
    std::vector<BondRow> out;
    for (const auto& entry : bonds) {
        out.emplace_back(formatAddress(entry.address), entry.address.type, entry.name, entry.appearance);
    }
    return out;
}

// A restart of the dongle: a new store reads the file the old one saved, and the file wins over the
// seed. Bonds of both address types, one updated, one added and removed again.
TEST_F(BondStoreTest, AFreshStoreReadsBackWhatWasSaved) {
    auto keyboard = bond("C4:1A:7D:DA:71:0F", "Tastatur ✓", 961);
    keyboard.address.type = 1;
    store.setSeed({bond("00:1A:7D:DA:71:05", "Scale", 3200)});
    ASSERT_TRUE(store.update(bond("00:1A:7D:DA:71:05", "Küchenwaage", 3201)));
    ASSERT_TRUE(store.store(keyboard));
    const auto tag = bond("00:1A:7D:DA:71:07", "Tag", 576);
    ASSERT_TRUE(store.store(tag));
    ASSERT_TRUE(store.remove(tag.address));

    BondStore restarted;
    restarted.setPath(file.string());
    restarted.setSeed({bond("00:1A:7D:DA:71:09", "Seed only", 1)});
    EXPECT_EQ(describe(restarted.bonds()),
              (std::vector<BondRow>{{"00:1A:7D:DA:71:05", 0, "Küchenwaage", 3201},
                                    {"C4:1A:7D:DA:71:0F", 1, "Tastatur ✓", 961}}));
}

class BrokenBondFile : public BondStoreTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BrokenBondFile, GivesAnEmptyStoreOneLogLineAndKeepsTheFile) {
    fs::create_directories(file.parent_path());
    {
        std::ofstream out(file);
        out << GetParam();
    }
    store.setSeed({bond("00:00:00:00:00:01", "Scale", 3200)});
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(store.bonds().empty());
    EXPECT_TRUE(store.bonds().empty());
    EXPECT_FALSE(store.update(bond("00:00:00:00:00:01", "Scale", 1)));
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find(file.string()), std::string::npos);
    EXPECT_EQ(readAll(file), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenBondFile,
    ::testing::Values("", "{not json", "[]", R"({"bonds": 5})", R"({"bonds": [{"address": "zz"}]})",
                      R"({"bonds": [{"name": "no address"}]})",
                      R"({"bonds": [{"address": "00:00:00:00:00:01", "appearance": "x"}]})",
                      R"({"bonds": [{"address": "00:00:00:00:00:01", "appearance": 70000}]})",
                      R"({"bonds": [{"address": "00:00:00:00:00:01", "appearance": 1e100}]})",
                      R"({"bonds": [{"address": "00:00:00:00:00:01", "appearance": 961.5}]})",
                      R"({"bonds": [{"address": "00:00:00:00:00:01", "appearance": -1}]})"));

TEST_F(BondStoreTest, UnwritableLocationFailsTheUpdate) {
    fs::create_directories(dir);
    { std::ofstream out(dir / "blocker"); }
    store.setPath((dir / "blocker" / "bonds.json").string());
    store.setSeed({bond("00:00:00:00:00:01", "Scale", 3200)});
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(store.update(bond("00:00:00:00:00:01", "New", 1)));
    EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
}

TEST(BondStorePath, FollowsXdgDataHomeThenHome) {
    const char* savedXdg = std::getenv("XDG_DATA_HOME");
    const std::string saved = savedXdg != nullptr ? savedXdg : "";
    ::setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(BondStore::defaultPath(), "/data/home/tindrel/bonds.json");
    ::setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(BondStore::defaultPath(),
              std::string(std::getenv("HOME")) + "/.local/share/tindrel/bonds.json");
    if (savedXdg != nullptr) {
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}

} // namespace
} // namespace orv::sim
