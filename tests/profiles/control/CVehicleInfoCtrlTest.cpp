// The vehicle information window on the main window and a recording host: its set-up, what it does
// with values beyond their texts, the map link and Delete Pairing.
#include "profiles/control/CVehicleInfoCtrl.h"
#include "gatt/UuidFunctions.h"
#include "panes/CConnectProgressDlg.h"
#include "platform/DialogItems.h"
#include "profiles/control/VehicleInfoIds.h"
#include "support/MainFrameFixture.h"
#include "support/RecordingLinkOpener.h"
#include "support/ScopedGermanNumbers.h"

#include <QLabel>
#include <QTreeWidget>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint16_t kDeletePairing = 0x62;
// The value handle of AB0A + index.
constexpr uint16_t Value(int index) {
    return static_cast<uint16_t>(0x41 + 3 * index);
}

class VehicleInfoTest : public MainFrameFixture {
protected:
    // Every value notifies except the odometer (AB0C), which has no configuration descriptor.
    void ConnectFob(bool deletePairing = true) {
        FindPeers();
        m_database.Service(MakeVendorUuid(0xAB09), 0x40, 0x5F);
        for (int i = 0; i < 10; ++i)
            m_database.Characteristic(MakeVendorUuid(static_cast<uint16_t>(0xAB0A + i)), Value(i), 0x12,
                                      i == 2 ? 0 : Value(i) + 1);
        if (deletePairing)
            m_database.Service(MakeVendorUuid(0xAB14), 0x60, 0x62)
                .Characteristic(MakeVendorUuid(0xAB15), 0x62, 0x08);
        ConnectPeer();
        m_window = m_frame->VehicleInfoWindow();
        ASSERT_NE(m_window, nullptr);
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }

    CVehicleInfoCtrl* m_window = nullptr;
};

TEST_F(VehicleInfoTest, EveryValueWithAConfigurationIsSubscribedAndReadFromAB13Down) {
    ConnectFob();
    std::vector<uint16_t> subscribed, read;
    for (const GattWriteRequest& request : m_frame->WriteQueue())
        subscribed.push_back(request.handle);
    for (const HostCall& call : Calls("OrvBleClientReadCharByHandle"))
        read.push_back(static_cast<uint16_t>(call.args.at(1)));
    read.insert(read.end(), m_frame->ReadQueue().begin(), m_frame->ReadQueue().end() - 1); // not Device Name
    const std::vector<uint16_t> expected = {Value(9), Value(8), Value(7), Value(6), Value(5),
                                            Value(4), Value(3), Value(1), Value(0)};
    EXPECT_EQ(subscribed, expected);
    EXPECT_EQ(read, expected);
}

TEST_F(VehicleInfoTest, StatusPicturesStationsAndValuesOfAWrongLength) {
    ConnectFob();
    auto* lock = qobject_cast<QLabel*>(platform::GetDlgItem(m_window, IDC_VI_LOCK_PICTURE));
    for (const uint8_t status : {0, 2}) {
        ReadResult(Value(4), {status});
        EXPECT_EQ(lock->pixmap().cacheKey(), m_window->UnlockedPicture().cacheKey())
            << "2 leaves the picture";
    }
    EXPECT_EQ(Text(IDC_VI_LOCK), "Not in sync");
    ReadResult(Value(8), {1, 0, 2, 0, 3, 0, 4, 0, 7, 0});
    EXPECT_EQ(m_window->Stations()->topLevelItemCount(), 5);
    EXPECT_EQ(m_window->Stations()->topLevelItem(4)->text(0), "Unknown-7");
    EXPECT_TRUE(m_window->Stations()->topLevelItem(0)->isSelected());
    ReadResult(Value(1), Bytes(9, 0x10));
    EXPECT_EQ(Text(IDC_VI_TYRE_FIRST), "NA");
    EXPECT_TRUE(LogContains("Vehicle value of 9 bytes on handle 68 has the wrong length; ignored."));
    EXPECT_TRUE(LogContains("Data received on unknown handle: 3")) << "the Device Name";
}

TEST_F(VehicleInfoTest, TheMapLinkOpensThePositionInTheCLocaleAndRefusesOneNotInSync) {
    RecordingLinkOpener links;
    {
        const ScopedGermanNumbers german;
        ASSERT_TRUE(german.active());
        ConnectFob();
        auto* link = qobject_cast<QLabel*>(platform::GetDlgItem(m_window, IDC_VI_MAP_LINK));
        emit link->linkActivated("map");
        ReadResult(Value(6), {0xFF, 0xFF, 0xFF, 0xFF});
        emit link->linkActivated("map");
    }
    ASSERT_EQ(links.opened.size(), 1u);
    EXPECT_EQ(links.opened[0].toString(),
              "https://nominatim.openstreetmap.org/ui/search.html?q=4.237362,-7.110973");
    EXPECT_EQ(PromptTexts(), std::vector<QString>{"Location not in sync with the vehicle"});
}

TEST_F(VehicleInfoTest, DeletePairingNeedsItsCharacteristicAndNoLocalDebondFollows) {
    ConnectFob(false);
    m_frame->Router().runUpdatePass();
    EXPECT_FALSE(platform::GetDlgItem(m_window, ID_VI_REMOVE_PAIRING)->isEnabled());
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_VI_REMOVE_PAIRING));
    NewFrame();
    ConnectFob();
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_VI_REMOVE_PAIRING));
    EXPECT_EQ(m_frame->ProgressWindow()->windowTitle(), "Vehicle Information");
    EXPECT_EQ(m_frame->ProgressWindow()->Text(), "Removing Pairing.");
    const GattWriteRequest& write = m_frame->WriteQueue().back();
    EXPECT_EQ(std::make_tuple(write.handle, write.length, write.data[0]),
              std::make_tuple(kDeletePairing, uint8_t{1}, uint8_t{0x01}));
    WriteResult(kDeletePairing, 0x80);
    EXPECT_TRUE(LogContains("Writing to 'Delete Pairing' characteristic failed"));
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_EQ(Count("OrvBleHostDebond"), 0u);
}

} // namespace
