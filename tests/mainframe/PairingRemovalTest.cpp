// Removing a bond: through the peer's Bond Management service or locally, and the host's result.
#include "PairingFixture.h"

#include "panes/CDeviceView.h"
#include "panes/CPropertiesWnd.h"
#include "panes/CViewTree.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"
#include "res/resource.h"

#include <QStatusBar>

namespace {

const QString kBondQuestion =
    QStringLiteral("Bonding information will be deleted from the peer device. \r\nDo you want to continue?");

class PairingRemovalTest : public PairingFixture {
protected:
    void SetUp() override {
        PairingFixture::SetUp();
        StartUp({PairedDevice(1, "Keys"), PairedDevice(2, "Tag")});
        Discover({{3, "Pulse"}});
    }
    void DebondResult(uint8_t last, uint16_t status = 0) {
        BleTypedAddress address = TestAddress(last);
        address.type = 1; // the host's report need not carry the type the list holds
        DeliverRecord(BLE_EVT_DEBOND_RESULT, BleHostDebondEvent{0, status, address});
    }
    std::vector<HostCall> Writes() const { return Calls("OrvBleClientWriteCfmCharByHandle"); }
    // Every device row designates the record that holds it.
    void ExpectTreeFollowsTheList() const {
        for (size_t i = 0; i < m_frame->DeviceList().size(); ++i)
            EXPECT_EQ(CDeviceView::ItemData(Row(i)), static_cast<int>(i) + 1) << i;
    }
};

TEST_F(PairingRemovalTest, UpdateRuleOffersRemovalOnlyForASelectedPairedDeviceWhileIdle) {
    struct Case {
        int select; // -1: nothing selected
        QString text;
        bool enabled;
    };
    const Case cases[] = {{-1, "Pair", false}, {2, "Pair", false}, {0, "Remove pairing", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.select);
        if (c.select >= 0)
            Select(static_cast<size_t>(c.select));
        const platform::CmdUI ui = Update(ID_REMOVE_PAIRING);
        EXPECT_EQ(ui.text(), c.text);
        EXPECT_EQ(ui.enabled(), c.enabled);
    }
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    EXPECT_EQ(m_frame->OperationState(), 5);
    const platform::CmdUI busy = Update(ID_REMOVE_PAIRING);
    EXPECT_EQ(busy.text(), QStringLiteral("Remove pairing"));
    EXPECT_EQ(busy.enabled(), false);
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    EXPECT_EQ(m_host->count("OrvBleHostDebond"), 1u);
}

TEST_F(PairingRemovalTest, BondManagementWriteResultDebondsAlsoAfterTheSelectionMoved) {
    Select(0);
    ConnectPeer(kReadWrite, true);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    Select(2); // closes the profile windows and empties the handle tables
    WriteResult(kBondControlPoint);
    ASSERT_EQ(m_host->count("OrvBleHostDebond"), 1u);
    EXPECT_EQ(Calls("OrvBleHostDebond")[0].address.lap, TestAddress(1).lap);
    DebondResult(1);
    EXPECT_EQ(m_frame->OperationState(), 3);
}

TEST_F(PairingRemovalTest, BondManagementPeerIsAskedThenToldAndDebondedOnceAfterAFailedWrite) {
    Select(0);
    ConnectPeer(kReadWrite, true);
    ASSERT_TRUE(Record(0).bondDeletionSupported);

    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    ASSERT_EQ(m_prompter.prompts.size(), 1u);
    EXPECT_EQ(m_prompter.prompts[0].text, kBondQuestion);
    EXPECT_EQ(m_prompter.prompts[0].type, MB_YESNO);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].args, (std::vector<int64_t>{kCid, kBondControlPoint, 0, 1}));
    EXPECT_EQ(Writes()[0].data, std::vector<uint8_t>{0x03});
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Removing pairing..."));
    EXPECT_EQ(m_frame->OperationState(), 5);
    EXPECT_EQ(m_host->count("OrvBleHostDebond"), 0u);
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));

    WriteResult(kBondControlPoint, 0x80);
    ASSERT_EQ(m_host->count("OrvBleHostDebond"), 1u);
    EXPECT_EQ(Calls("OrvBleHostDebond")[0].address.lap, TestAddress(1).lap);
    EXPECT_EQ(m_frame->OperationState(), 5);
    WriteResult(kBondControlPoint);
    EXPECT_EQ(m_host->count("OrvBleHostDebond"), 1u);

    DebondResult(1);
    EXPECT_EQ(m_frame->OperationState(), 3); // the connected device is being disconnected
    EXPECT_FALSE(Record(0).paired);
    ASSERT_EQ(m_host->count("OrvBleHostDisconnect"), 1u);
    EXPECT_EQ(Calls("OrvBleHostDisconnect")[0].args, std::vector<int64_t>{kCid});
    ASSERT_EQ(m_frame->PairedDeviceList().size(), 1u);
    EXPECT_EQ(m_frame->PairedDeviceList()[0]->GetName(), QStringLiteral("Tag"));
    EXPECT_EQ(m_frame->DeviceList().size(), 3u);
    ExpectTreeFollowsTheList();
}

TEST_F(PairingRemovalTest, SecurityRefusalsOfTheControlPointWriteDebondOnlyAtTheFinalResult) {
    Select(0);
    ConnectPeer(kReadWrite, true);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    WriteResult(kBondControlPoint, 0x05);
    EXPECT_EQ(m_host->count("OrvBleHostDebond"), 0u);
    EXPECT_EQ(Writes().size(), 2u);
    WriteResult(kBondControlPoint);
    EXPECT_EQ(m_host->count("OrvBleHostDebond"), 1u);
}

TEST_F(PairingRemovalTest, AnsweringNoWritesNothingAndChangesNothing) {
    Select(0);
    ConnectPeer(kReadWrite, true);
    m_prompter.queueResult(IDNO);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(m_host->count("OrvBleHostDebond"), 0u);
    EXPECT_EQ(m_frame->OperationState(), 0);
    EXPECT_TRUE(Record(0).paired);
}

TEST_F(PairingRemovalTest, ConnectedPeerWithoutBondManagementIsDebondedLocally) {
    Select(0);
    ConnectPeer();
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(Writes().empty());
    ASSERT_EQ(m_host->count("OrvBleHostDebond"), 1u);
    EXPECT_EQ(Calls("OrvBleHostDebond")[0].address.lap, TestAddress(1).lap);
    EXPECT_EQ(m_frame->OperationState(), 5);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Removing pairing..."));
}

TEST_F(PairingRemovalTest, DebondedConnectedDeviceIsDisconnectedAlsoWhenAnotherRowIsSelected) {
    Select(0);
    ConnectPeer();
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    Select(2);
    DebondResult(1);
    EXPECT_FALSE(Record(0).paired);
    ASSERT_EQ(m_host->count("OrvBleHostDisconnect"), 1u);
    EXPECT_EQ(Calls("OrvBleHostDisconnect")[0].args, std::vector<int64_t>{kCid});
    EXPECT_EQ(m_frame->ConnectedDeviceIndex(), 0);
    ExpectTreeFollowsTheList();
}

TEST_F(PairingRemovalTest, DebondingAnUnconnectedDeviceRemovesItAndEveryPositionFollows) {
    Select(1);
    ConnectPeer();
    ASSERT_EQ(m_frame->ConnectedDeviceIndex(), 1);
    Select(0);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    ASSERT_EQ(m_host->count("OrvBleHostDebond"), 1u);
    EXPECT_EQ(Calls("OrvBleHostDebond")[0].address.lap, TestAddress(1).lap);

    DebondResult(1);
    EXPECT_EQ(m_frame->OperationState(), 0);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
    ASSERT_EQ(m_frame->DeviceList().size(), 2u);
    EXPECT_EQ(Record(0).GetName(), QStringLiteral("Tag"));
    EXPECT_EQ(Record(1).GetName(), QStringLiteral("Pulse"));
    ASSERT_EQ(m_frame->PairedDeviceList().size(), 1u);
    EXPECT_EQ(m_frame->PairedDeviceList()[0].get(), &Record(0));
    EXPECT_EQ(m_frame->ConnectedDeviceIndex(), 0);
    EXPECT_EQ(m_frame->GetConnectionHandle(), kCid);
    EXPECT_EQ(Row(0)->parent(), m_frame->DeviceView()->ConnectedGroup());
    EXPECT_EQ(Row(1)->parent(), m_frame->DeviceView()->DiscoveredGroup());
    ExpectTreeFollowsTheList();
    EXPECT_EQ(m_frame->SelectedItem(), 1);
    EXPECT_EQ(m_frame->PropertiesView()->GetPropertyValue(), QStringLiteral("Tag"));
}

TEST_F(PairingRemovalTest, DebondingTheSelectedUnconnectedDeviceClearsTheSelectionAndThePane) {
    Select(1);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    DebondResult(2);
    ASSERT_EQ(m_frame->DeviceList().size(), 2u);
    EXPECT_EQ(Record(0).GetName(), QStringLiteral("Keys"));
    EXPECT_EQ(Record(1).GetName(), QStringLiteral("Pulse"));
    EXPECT_EQ(m_frame->SelectedItem(), 0);
    EXPECT_EQ(m_frame->PropertiesView()->GetPropertyValue(), QString());
    EXPECT_EQ(Update(ID_REMOVE_PAIRING).text(), QStringLiteral("Pair"));
    ExpectTreeFollowsTheList();
    EXPECT_EQ(Row(0)->parent(), m_frame->DeviceView()->PairedGroup());
}

TEST_F(PairingRemovalTest, SelectionMadeBeforeTheResultFollowsItsRecord) {
    Select(0);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    Select(2);
    DebondResult(1);
    ASSERT_EQ(m_frame->DeviceList().size(), 2u);
    EXPECT_EQ(m_frame->SelectedItem(), 2);
    EXPECT_EQ(m_frame->DeviceView()->Tree()->currentItem(), Row(1));
    EXPECT_EQ(m_frame->PropertiesView()->GetPropertyValue(), QStringLiteral("Pulse"));
    ExpectTreeFollowsTheList();
}

TEST_F(PairingRemovalTest, FailedDebondKeepsTheDevicePaired) {
    Select(0);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    DebondResult(1, 3);
    EXPECT_EQ(m_frame->OperationState(), 0);
    EXPECT_EQ(m_frame->DeviceList().size(), 3u);
    EXPECT_TRUE(Record(0).paired);
    EXPECT_EQ(m_frame->PairedDeviceList().size(), 2u);
}

} // namespace
