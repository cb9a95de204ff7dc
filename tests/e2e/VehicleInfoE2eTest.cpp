// The built-in world's key fob in its window over virtual time: it fills from "Not in sync" and deletes
// its pairing, after which it leaves the link. The map link is tested on the window.
#include "E2eFixture.h"
#include "panes/CConnectProgressDlg.h"
#include "profiles/control/CVehicleInfoCtrl.h"
#include "profiles/control/VehicleInfoIds.h"

namespace {

using VehicleInfoE2eTest = E2eFixture;

TEST_F(VehicleInfoE2eTest, TheWindowFillsAndTheFobDeletesItsPairingAndLeaves) {
    CVehicleInfoCtrl* window = Open("Orvane Car Info", &CMainFrame::VehicleInfoWindow);
    for (UINT id = IDC_VI_SPEED_LIMIT; id <= IDC_VI_LONGITUDE; ++id)
        EXPECT_EQ(Text(window, id), "Not in sync") << id;
    Advance(8000);
    EXPECT_EQ(Text(window, IDC_VI_REGISTRATION), "TND-4821");
    EXPECT_TRUE(Text(window, IDC_VI_SPEED_LIMIT).endsWith(" Km/Hr"));
    EXPECT_EQ(Text(window, IDC_VI_TYRE_FIRST + 4), "NA");

    ASSERT_TRUE(Frame()->ExecuteCommand(ID_VI_REMOVE_PAIRING));
    EXPECT_TRUE(AdvanceUntil([this] { return !Frame()->ProgressWindow()->isVisible(); }, 3000))
        << "the write's result closed it";
    EXPECT_NE(Frame()->VehicleInfoWindow(), nullptr);
    Advance(1100);
    EXPECT_EQ(Frame()->VehicleInfoWindow(), nullptr) << "the fob left the link";
}

} // namespace
