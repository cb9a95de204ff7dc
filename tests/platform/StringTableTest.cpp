#include "platform/StringTable.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(StringTable, TextsComeBackExactlyAsInstalled) {
    installStringTable(
        {{57345, "Ready"},
         {117, "Unable to detect the ORV BT4.0 enabled USB device.\nEnsure it is plugged in and "
               "re-start the application."},
         {100, "OLE initialization failed.  Make sure"}});
    EXPECT_EQ(LoadString(57345), "Ready");
    EXPECT_EQ(LoadString(117),
              "Unable to detect the ORV BT4.0 enabled USB device.\nEnsure it is plugged in and "
              "re-start the application.");
    EXPECT_EQ(LoadString(100), "OLE initialization failed.  Make sure");
}

TEST(StringTable, UnknownIdGivesEmptyText) {
    installStringTable({{1, "one"}});
    EXPECT_TRUE(LoadString(2).isEmpty());
    EXPECT_TRUE(LoadString(0).isEmpty());
}

TEST(StringTable, InstallingReplacesTheWholeTable) {
    installStringTable({{1, "one"}, {2, "two"}});
    installStringTable({{2, "deux"}});
    EXPECT_TRUE(LoadString(1).isEmpty());
    EXPECT_EQ(LoadString(2), "deux");
}

TEST(StringTable, LaterEntryWithTheSameIdWins) {
    installStringTable({{5, "first"}, {5, "second"}});
    EXPECT_EQ(LoadString(5), "second");
}

} // namespace
} // namespace platform
