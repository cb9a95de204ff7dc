// Device discovery in the main window: reports, the tree and its groups, reloads, closing while searching.
#include "panes/CDeviceView.h"
#include "panes/CViewTree.h"
#include "platform/ui/Ribbon.h"
#include "platform/ui/RibbonButton.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <QCoreApplication>
#include <QMdiArea>

namespace {

// Counts the paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

class DiscoveryTest : public MainFrameFixture {
protected:
    QStringList Paired() const { return RowTexts(m_frame->DeviceView()->PairedGroup()); }
    QStringList Discovered() const { return RowTexts(m_frame->DeviceView()->DiscoveredGroup()); }
    void Report(uint8_t last, int8_t rssi, const char* name) {
        BleHostDeviceFoundEvent report{};
        report.address = TestAddress(last), report.rssi = rssi, report.name = name;
        DeliverRecord(BLE_EVT_DEVICE_FOUND, report);
    }
};

// Reported again, an unpaired device keeps its first RSSI and flags and takes names and fields; a paired
// one takes the latest RSSI, moves to the discovered devices selected, and is renamed through the host once.
TEST_F(DiscoveryTest,
       ADeviceReportedAgainKeepsItsRowAndAPairedOneMovesSelectedAndIsRenamedThroughTheHostOnce) {
    StartUp({PairedDevice(1, "Old name"), PairedDevice(2, "Other")});
    Record(0).appearance = 0x03C1;
    Record(0).services[BleUuid{}] = BleServiceEntry{};
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    Report(5, -70, "Pulse");
    const uint16_t present = BLE_PRESENT_APPEARANCE | BLE_PRESENT_TX_POWER | BLE_PRESENT_SLAVE_INTERVAL;
    DeliverRecord(
        BLE_EVT_DEVICE_FOUND,
        BleHostDeviceFoundEvent{TestAddress(5), -40, 0, present, "Pulse 2", 5, 4, 0x0340, {}, 6, 3200});
    // 49 ASCII bytes, then a two-byte character that would end at byte 51 of the entry's 50.
    const std::string name = std::string(49, 'a') + "\xC3\xA9" + "z";
    Report(1, -33, name.c_str());
    Report(1, -21, nullptr);
    EXPECT_EQ(Paired(), QStringList{"Other"});
    EXPECT_EQ(Discovered(), (QStringList{"Pulse 2", QString::fromUtf8(name)}));
    EXPECT_EQ(ShownName(), QString::fromUtf8(name));
    const BleDeviceRecord& r = Record(2);
    EXPECT_EQ(std::vector<int>(
                  {r.rssi, r.adFlags, r.appearance, r.txPower, r.slaveIntervalMin, r.slaveIntervalMax}),
              std::vector<int>({-70, 0, 0x0340, 4, 6, 3200}));
    EXPECT_EQ(Record(0).rssi, -21);
    EXPECT_TRUE(Record(0).services.empty());
    const auto updates = Calls("OrvBleHostUpdatePairedDeviceList");
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].args, (std::vector<int64_t>{TestAddress(1).lap, 0x03C1}));
    EXPECT_EQ(updates[0].data, std::vector<uint8_t>(49, 'a'));
}

TEST_F(DiscoveryTest, LaterReportsOfAPairedDeviceMoveItWithoutTakingTheSelectionAndANewSearchStartsAnew) {
    StartUp({PairedDevice(1, "Tag")});
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    Report(1, -50, "Tag");
    Report(2, -60, "Scale");
    EXPECT_EQ(m_frame->SelectedItem(), 1);
    // A device found after the tag, then the row the user selects before the tag reports again: the
    // tag's row goes to the end, and is selected afterwards only if it was before.
    for (const auto& [last, selected, data] : {std::tuple{3, 1, 2}, {4, 0, 1}}) {
        Report(static_cast<uint8_t>(last), -60, nullptr);
        Select(static_cast<size_t>(selected));
        Report(1, -40, "Tag");
        EXPECT_EQ(Discovered().last(), "Tag");
        EXPECT_EQ(m_frame->SelectedItem(), data);
        EXPECT_EQ(CDeviceView::ItemData(m_frame->DeviceView()->Tree()->currentItem()), data);
    }
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    DeliverRecord(BLE_EVT_SEARCH_ENDED, BleHostSearchEndedEvent{});
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    EXPECT_EQ(Paired(), QStringList{"Tag"});
    EXPECT_EQ(Discovered(), QStringList{});
    EXPECT_EQ(m_frame->DeviceList().size(), 1u);
}

TEST_F(DiscoveryTest, ASelectionRepaintsOnlyWhatChangedAndTheConnectButtonChangesOnlyWithItsFace) {
    StartUp({PairedDevice(1, "Keys")});
    Discover({{2, "Pulse"}});
    const auto button = [this] {
        return qobject_cast<platform::RibbonButton*>(m_frame->RibbonBar()->findById(ID_CONNECT));
    };
    const platform::RibbonButton* shown = button();
    const qint64 connectIcon = shown->icon().cacheKey();
    QCoreApplication::processEvents();
    const PaintCounter workspace(m_frame->MdiArea()->viewport());
    Select(0), Select(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(workspace.count, 0);
    EXPECT_EQ(button(), shown);
    Select(0), ConnectPeer();
    EXPECT_EQ(button()->label(), "Disconnect");
    Disconnected();
    EXPECT_EQ(button()->icon().cacheKey(), connectIcon);
}

TEST_F(DiscoveryTest, AReloadAfterAResumeRebuildsTheWholeTreeFromThePairedList) {
    StartUp({PairedDevice(1, "Tag")});
    Discover({{2, "Scale"}, {3, "Band"}});
    Select(1);
    StartUp({PairedDevice(1, "Tag"), PairedDevice(4, "Keys")});
    EXPECT_EQ(Paired(), (QStringList{"Tag", "Keys"}));
    EXPECT_EQ(Discovered(), QStringList{"No discovered devices"});
    EXPECT_EQ(CDeviceView::ItemData(Row(1)), 2);
    EXPECT_EQ(m_frame->SelectedItem(), 0);
    EXPECT_EQ(ShownName(), QString());
}

} // namespace
