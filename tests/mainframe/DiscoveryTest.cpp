// Device discovery in the main window: the Discover command, reports, the tree, the selection.
#include "mainframe/CMainFrame.h"
#include "panes/CDeviceView.h"
#include "panes/CPropertiesWnd.h"
#include "panes/CViewTree.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"
#include "platform/ui/Ribbon.h"
#include "platform/ui/RibbonElement.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <QStatusBar>
#include <QTreeWidgetItem>
#include <cstring>

namespace {

struct Report {
    BleHostDeviceFoundEvent event{};
    explicit Report(uint8_t last, int8_t rssi = -50, const char* name = nullptr) {
        event.address = TestAddress(last);
        event.rssi = rssi;
        event.name = name;
        event.adFlags = 0x06;
    }
};

class DiscoveryTest : public MainFrameFixture {
protected:
    void Found(const Report& report) { DeliverRecord(BLE_EVT_DEVICE_FOUND, report.event); }
    void SearchEnded() { DeliverRecord(BLE_EVT_SEARCH_ENDED, BleHostSearchEndedEvent{}); }
    CDeviceView& Pane() const { return *m_frame->DeviceView(); }
    QStringList Rows(QTreeWidgetItem* group) const {
        QStringList rows;
        for (int i = 0; i < group->childCount(); ++i)
            rows << group->child(i)->text(0);
        return rows;
    }
    // Every device row points at the record that holds it; every group has rows or one placeholder.
    void ExpectConsistentTree() const {
        for (QTreeWidgetItem* group :
             {Pane().PairedGroup(), Pane().ConnectedGroup(), Pane().DiscoveredGroup()}) {
            int placeholders = 0;
            for (int i = 0; i < group->childCount(); ++i) {
                const int data = CDeviceView::ItemData(group->child(i));
                if (data == CDeviceView::kPlaceholderData) {
                    ++placeholders;
                    continue;
                }
                ASSERT_GE(data, 1);
                ASSERT_LE(data, static_cast<int>(m_frame->DeviceList().size()));
                EXPECT_EQ(m_frame->DeviceList()[static_cast<size_t>(data - 1)]->treeItem, group->child(i));
            }
            EXPECT_TRUE(group->childCount() > 0 && (placeholders == 0 || group->childCount() == 1))
                << group->text(0).toStdString();
        }
    }
    bool DiscoverEnabled() {
        m_frame->Router().runUpdatePass();
        return m_frame->RibbonBar()->findById(ID_DISCOVER)->isEnabled();
    }
    bool DiscoverChecked() {
        platform::CmdUI ui(ID_DISCOVER);
        m_frame->OnUpdateDiscover(ui);
        return ui.check().value_or(-1) == 1;
    }
    QString PropertyValue(const QString& name) const {
        platform::PropertyGrid* grid = m_frame->PropertiesView()->PropertyList();
        platform::Property* general = grid->property(0);
        for (int i = 0; i < general->subItemCount(); ++i)
            if (general->subItem(i)->name() == name)
                return general->subItem(i)->value();
        return QStringLiteral("<missing>");
    }
};

TEST_F(DiscoveryTest, PairedDevicesAppearAtStartUpUnderPairedDevices) {
    StartUp({PairedDevice(1, "Keyboard"), PairedDevice(2, "")});
    EXPECT_EQ(Rows(Pane().PairedGroup()), (QStringList{"Keyboard", "C0:DE:01:02:03:02"}));
    EXPECT_EQ(Rows(Pane().DiscoveredGroup()), QStringList{"No discovered devices"});
    EXPECT_EQ(Rows(Pane().ConnectedGroup()), QStringList{"No connected devices"});
    ExpectConsistentTree();
}

TEST_F(DiscoveryTest, DiscoverStartsStopsAndEndsTheSearch) {
    StartUp();
    EXPECT_TRUE(DiscoverEnabled());
    EXPECT_FALSE(DiscoverChecked());
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    const auto starts = m_host->callsNamed("OrvBleHostStartDeviceSearch");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].args, std::vector<int64_t>{0});
    EXPECT_EQ(m_frame->SearchState(), 1);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Discovering Bluetooth Smart devices..."));
    EXPECT_TRUE(Rows(Pane().DiscoveredGroup()).isEmpty());
    EXPECT_TRUE(DiscoverEnabled());
    EXPECT_TRUE(DiscoverChecked());

    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    EXPECT_EQ(m_host->count("OrvBleHostStopDeviceSearch"), 1u);
    EXPECT_EQ(m_frame->SearchState(), 2);
    EXPECT_FALSE(DiscoverEnabled());
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_DISCOVER));
    EXPECT_EQ(m_host->count("OrvBleHostStopDeviceSearch"), 1u);

    SearchEnded();
    EXPECT_EQ(m_frame->SearchState(), 0);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(Rows(Pane().DiscoveredGroup()), QStringList{"No discovered devices"});
    EXPECT_TRUE(DiscoverEnabled());
    SearchEnded();
    EXPECT_EQ(m_frame->SearchState(), 0);
}

TEST_F(DiscoveryTest, ADeviceReportedManyTimesHasOneRowWithTheFirstRssi) {
    StartUp();
    m_frame->ExecuteCommand(ID_DISCOVER);
    Report first(5, -70, "Pulse");
    first.event.presentMask = BLE_PRESENT_APPEARANCE | BLE_PRESENT_TX_POWER;
    first.event.appearance = 0x0340;
    first.event.txPower = 4;
    Found(first);
    for (int8_t rssi : {-40, -41, -42, -43}) {
        Report again(5, rssi, nullptr);
        again.event.adFlags = 0x05;
        Found(again);
    }
    Report renamed(5, -44, "Pulse 2");
    renamed.event.presentMask = BLE_PRESENT_SLAVE_INTERVAL;
    renamed.event.slaveIntervalMin = 6;
    renamed.event.slaveIntervalMax = 3200;
    Found(renamed);

    ASSERT_EQ(m_frame->DeviceList().size(), 1u);
    const BleDeviceRecord& record = *m_frame->DeviceList()[0];
    EXPECT_EQ(Rows(Pane().DiscoveredGroup()), QStringList{"Pulse 2"});
    EXPECT_EQ(record.rssi, -70);
    EXPECT_EQ(record.adFlags, 0x06);
    EXPECT_EQ(record.appearance, 0x0340);
    EXPECT_EQ(record.txPower, 4);
    EXPECT_EQ(record.slaveIntervalMin, 6);
    EXPECT_EQ(record.slaveIntervalMax, 3200);
    ExpectConsistentTree();
}

TEST_F(DiscoveryTest, ADeviceWithoutANameIsShownByItsAddress) {
    StartUp();
    m_frame->ExecuteCommand(ID_DISCOVER);
    Found(Report(9));
    Found(Report(10, -50, ""));
    EXPECT_EQ(Rows(Pane().DiscoveredGroup()), (QStringList{"C0:DE:01:02:03:09", "C0:DE:01:02:03:0A"}));
    EXPECT_TRUE(m_frame->DeviceList()[0]->GetName().isEmpty());
}

TEST_F(DiscoveryTest, APairedDeviceSeenAgainMovesToDiscoveredIsSelectedAndRenamedThroughTheHost) {
    StartUp({PairedDevice(1, "Old name"), PairedDevice(2, "Other")});
    m_frame->DeviceList()[0]->appearance = 0x03C1;
    m_frame->DeviceList()[0]->services[BleUuid{}] = BleServiceEntry{};
    m_frame->ExecuteCommand(ID_DISCOVER);
    ASSERT_EQ(Rows(Pane().PairedGroup()), (QStringList{"Old name", "Other"}));

    Found(Report(1, -33, "New name"));
    EXPECT_EQ(Rows(Pane().PairedGroup()), QStringList{"Other"});
    EXPECT_EQ(Rows(Pane().DiscoveredGroup()), QStringList{"New name"});
    EXPECT_EQ(m_frame->SelectedItem(), 1);
    EXPECT_EQ(PropertyValue(QStringLiteral("Name")), QStringLiteral("New name"));
    const auto updates = m_host->callsNamed("OrvBleHostUpdatePairedDeviceList");
    ASSERT_EQ(updates.size(), 1u);
    const BleDeviceRecord& record = *m_frame->DeviceList()[0];
    EXPECT_TRUE(record.services.empty());
    EXPECT_EQ(record.rssi, -33);
    EXPECT_EQ(m_frame->DeviceList().size(), 2u);
    ExpectConsistentTree();

    Found(Report(2, -20, nullptr));
    Found(Report(1, -21, nullptr));
    EXPECT_EQ(Rows(Pane().DiscoveredGroup()), (QStringList{"Other", "New name"}));
    EXPECT_EQ(m_frame->SelectedItem(), 1);
    EXPECT_EQ(record.rssi, -21);
    EXPECT_EQ(record.GetName(), QStringLiteral("New name"));
    EXPECT_EQ(m_host->count("OrvBleHostUpdatePairedDeviceList"), 1u);
    EXPECT_EQ(Rows(Pane().PairedGroup()), QStringList{"No paired devices"});
    ExpectConsistentTree();
}

TEST_F(DiscoveryTest, ASecondSearchDropsTheUnpairedDevicesAndReturnsThePairedOnes) {
    StartUp({PairedDevice(1, "Tag")});
    m_frame->ExecuteCommand(ID_DISCOVER);
    Found(Report(1, -40, nullptr));
    Found(Report(7, -40, "Scale"));
    SearchEnded();
    ASSERT_EQ(m_frame->DeviceList().size(), 2u);

    m_frame->ExecuteCommand(ID_DISCOVER);
    EXPECT_EQ(m_frame->DeviceList().size(), 1u);
    EXPECT_EQ(Rows(Pane().PairedGroup()), QStringList{"Tag"});
    EXPECT_TRUE(Rows(Pane().DiscoveredGroup()).isEmpty());
    Found(Report(8, -40, "Band"));
    EXPECT_EQ(Rows(Pane().DiscoveredGroup()), QStringList{"Band"});
    ExpectConsistentTree();
}

TEST_F(DiscoveryTest, SelectingAGroupClearsThePropertiesAndAStaleRowIsIgnored) {
    StartUp({PairedDevice(1, "Tag")});
    Pane().Tree()->setCurrentItem(static_cast<QTreeWidgetItem*>(m_frame->DeviceList()[0]->treeItem));
    EXPECT_EQ(m_frame->SelectedItem(), 1);
    EXPECT_EQ(PropertyValue(QStringLiteral("Address")), QStringLiteral("C0:DE:01:02:03:01"));

    m_frame->OnDeviceSelChanged(5);
    EXPECT_EQ(PropertyValue(QStringLiteral("Address")), QStringLiteral("C0:DE:01:02:03:01"));

    Pane().Tree()->setCurrentItem(Pane().DiscoveredGroup());
    EXPECT_EQ(m_frame->SelectedItem(), 0);
    EXPECT_EQ(PropertyValue(QStringLiteral("Address")), QString());
}

TEST_F(DiscoveryTest, ALongNewNameIsCutAtACharacterBoundaryForThePairedEntry) {
    StartUp({PairedDevice(1, "Old")});
    m_frame->ExecuteCommand(ID_DISCOVER);
    // 49 ASCII bytes, then a two-byte character that would end at byte 51.
    const std::string name = std::string(49, 'a') + "\xC3\xA9" + "z";
    Found(Report(1, -40, name.c_str()));
    ASSERT_EQ(m_host->count("OrvBleHostUpdatePairedDeviceList"), 1u);
    EXPECT_EQ(m_frame->DeviceList()[0]->GetName(), QString::fromUtf8(name.c_str()));
}

TEST_F(DiscoveryTest, ClosingDuringASearchStopsItAndClosesWhenItEnds) {
    StartUp();
    m_frame->ExecuteCommand(ID_DISCOVER);
    m_frame->close();
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_TRUE(m_frame->IsClosing());
    EXPECT_EQ(m_frame->SearchState(), 2);
    EXPECT_EQ(m_host->count("OrvBleHostStopDeviceSearch"), 1u);
    EXPECT_TRUE(m_frame->IsTimerRunning(TIMER_CLOSE));
    m_frame->close();
    EXPECT_EQ(m_host->count("OrvBleHostStopDeviceSearch"), 1u);
    SearchEnded();
    EXPECT_FALSE(m_frame->isVisible());
}

TEST_F(DiscoveryTest, ClosingDuringASearchClosesAtTheTimerWhenTheEndNeverComes) {
    StartUp();
    m_frame->ExecuteCommand(ID_DISCOVER);
    m_frame->close();
    Advance(999);
    EXPECT_TRUE(m_frame->isVisible());
    Advance(1);
    EXPECT_FALSE(m_frame->isVisible());
}

} // namespace
