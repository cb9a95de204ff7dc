// The built-in world's key fob in its window over virtual time: it fills from "Not in sync" and deletes
// its pairing, after which it leaves the link. The map link is tested on the window.
#include "panes/CConnectProgressDlg.h"
#include "platform/DialogItems.h"
#include "profiles/control/CVehicleInfoCtrl.h"
#include "profiles/control/VehicleInfoIds.h"
#include "support/SimFixture.h"

namespace {

class VehicleInfoE2eTest : public SimFixture {};

TEST_F(VehicleInfoE2eTest, TheWindowFillsAndTheFobDeletesItsPairingAndLeaves) {
    CVehicleInfoCtrl* window = ConnectedWindow("", "Orvane Car Info", &CMainFrame::VehicleInfoWindow);
    ASSERT_NE(window, nullptr);
    const auto text = [window](UINT id) { return platform::GetDlgItemText(window, id); };
    for (UINT id = IDC_VI_SPEED_LIMIT; id <= IDC_VI_LONGITUDE; ++id)
        EXPECT_EQ(text(id), "Not in sync") << id;
    Advance(8000);
    EXPECT_EQ(text(IDC_VI_REGISTRATION), "TND-4821");
    EXPECT_TRUE(text(IDC_VI_SPEED_LIMIT).endsWith(" Km/Hr"));
    EXPECT_EQ(text(IDC_VI_TYRE_FIRST + 4), "NA");

    ASSERT_TRUE(Frame()->ExecuteCommand(ID_VI_REMOVE_PAIRING));
    for (int i = 0; i < 30 && Frame()->ProgressWindow()->isVisible(); ++i)
        Advance(100);
    EXPECT_FALSE(Frame()->ProgressWindow()->isVisible()) << "the write's result closed it";
    EXPECT_NE(Frame()->VehicleInfoWindow(), nullptr);
    Advance(1100);
    EXPECT_EQ(Frame()->VehicleInfoWindow(), nullptr) << "the fob left the link";
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
