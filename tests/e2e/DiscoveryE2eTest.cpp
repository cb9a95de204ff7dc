// Device search on the simulated radio: the device tree, the status bar and the bond store's devices.
#include "mainframe/CMainFrame.h"
#include "panes/CDeviceView.h"
#include "panes/CViewTree.h"
#include "res/resource.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTreeWidgetItem>

namespace {

const QString kSearching = QStringLiteral("Discovering Bluetooth Smart devices...");
const QString kReady = QStringLiteral("Ready");

// Two peers in the bond store; only the first one advertises.
const std::string kBondedPeers = R"(
    {"kind": "generic", "address": "00:1A:7D:DA:72:01", "name": "Bonded Pulse", "appearance": 833,
     "bonded": true, "advIntervalMs": 100},
    {"kind": "generic", "address": "00:1A:7D:DA:72:02", "name": "Bonded Scale", "bonded": true,
     "advertising": false})";

class DiscoveryE2eTest : public SimFixture {
protected:
    const CDeviceView& View() const { return *Frame()->DeviceView(); }
    QStringList Discovered() const { return RowTexts(View().DiscoveredGroup()); }
    QStringList Paired() const { return RowTexts(View().PairedGroup()); }
};

// What the built-in world's advertisers should be listed as: the name, else the address text.
QStringList BuiltInAdvertiserTexts() {
    const QJsonDocument world =
        QJsonDocument::fromJson(QByteArray::fromStdString(orv::sim::builtInWorldJson()));
    QStringList texts;
    for (const QJsonValue& peer : world.object().value(QStringLiteral("peers")).toArray()) {
        const QJsonObject object = peer.toObject();
        if (!object.value(QStringLiteral("advertising")).toBool(true))
            continue;
        const QString name = object.value(QStringLiteral("name")).toString();
        texts << (name.isEmpty() ? object.value(QStringLiteral("address")).toString() : name);
    }
    return texts;
}

TEST_F(DiscoveryE2eTest, SearchListsEveryAdvertiserOfTheBuiltInWorld) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_DISCOVER));
    Advance(3000);
    EXPECT_EQ(StatusText(), kSearching);
    QStringList listed = Discovered();
    QStringList expected = BuiltInAdvertiserTexts();
    ASSERT_FALSE(expected.isEmpty());
    listed.sort();
    expected.sort();
    EXPECT_EQ(listed, expected);
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(DiscoveryE2eTest, AdvertiserWithoutANameIsListedByItsAddress) {
    LoadWorld(WorldOf(R"({"kind": "generic", "address": "00:1A:7D:DA:72:09", "advIntervalMs": 100},
                         {"kind": "generic", "address": "00:1A:7D:DA:72:0A", "name": "Named", "advIntervalMs": 100})"));
    ASSERT_NE(Start(), nullptr);
    Discover();
    QStringList listed = Discovered();
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("00:1A:7D:DA:72:09"), QStringLiteral("Named")}));
}

TEST_F(DiscoveryE2eTest, AdvertiserSeenManyTimesIsListedOnce) {
    LoadWorld(WorldOf(
        R"({"kind": "generic", "address": "00:1A:7D:DA:72:0A", "name": "Chatty", "advIntervalMs": 20})"));
    ASSERT_NE(Start(), nullptr);
    Discover(2000);
    EXPECT_EQ(Discovered(), QStringList{QStringLiteral("Chatty")});
}

TEST_F(DiscoveryE2eTest, DiscoverAgainStopsTheSearchAndReadyReturns) {
    LoadWorld(WorldOf(
        R"({"kind": "generic", "address": "00:1A:7D:DA:72:0A", "name": "Early", "advIntervalMs": 100})"));
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_DISCOVER));
    Advance(500);
    ASSERT_EQ(Frame()->SearchState(), CMainFrame::Search::Searching);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_DISCOVER));
    Advance(100);
    EXPECT_EQ(Frame()->SearchState(), CMainFrame::Search::Idle);
    EXPECT_EQ(StatusText(), kReady);
    Advance(2000);
    EXPECT_EQ(Discovered(), QStringList{QStringLiteral("Early")});
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(DiscoveryE2eTest, NewSearchStartsWithAnEmptyDiscoveredGroup) {
    LoadWorld(WorldOf(
        R"({"kind": "generic", "address": "00:1A:7D:DA:72:0A", "name": "Slow", "advIntervalMs": 1000})"));
    ASSERT_NE(Start(), nullptr);
    Discover(2000);
    ASSERT_EQ(Discovered(), QStringList{QStringLiteral("Slow")});
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_DISCOVER));
    EXPECT_TRUE(Discovered().isEmpty());
    Advance(2000);
    EXPECT_EQ(Discovered(), QStringList{QStringLiteral("Slow")});
}

TEST_F(DiscoveryE2eTest, BondedDevicesAreListedUnderPairedDevicesAtStartUp) {
    LoadWorld(WorldOf(kBondedPeers));
    ASSERT_NE(Start(), nullptr);
    EXPECT_EQ(Paired(), (QStringList{QStringLiteral("Bonded Pulse"), QStringLiteral("Bonded Scale")}));
    EXPECT_EQ(Discovered(), QStringList{QStringLiteral("No discovered devices")});
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(DiscoveryE2eTest, PairedDeviceSeenInASearchMovesToDiscoveredDevicesSelected) {
    LoadWorld(WorldOf(kBondedPeers));
    ASSERT_NE(Start(), nullptr);
    Discover();
    EXPECT_EQ(Discovered(), QStringList{QStringLiteral("Bonded Pulse")});
    EXPECT_EQ(Paired(), QStringList{QStringLiteral("Bonded Scale")});
    EXPECT_EQ(View().Tree()->currentItem(), Row(QStringLiteral("Bonded Pulse")));
}

TEST_F(DiscoveryE2eTest, PairedDeviceShowsItsStoredAppearanceAfterARestart) {
    LoadWorld(WorldOf(kBondedPeers));
    ASSERT_NE(Start(), nullptr);
    ASSERT_EQ(Frame()->PairedDeviceList().size(), 2u);
    EXPECT_EQ(Frame()->PairedDeviceList()[0]->appearance, 0);
    Discover();
    ASSERT_NE(Restart(), nullptr);
    EXPECT_EQ(Paired(), (QStringList{QStringLiteral("Bonded Pulse"), QStringLiteral("Bonded Scale")}));
    ASSERT_EQ(Frame()->PairedDeviceList().size(), 2u);
    EXPECT_EQ(Frame()->PairedDeviceList()[0]->appearance, 833);
    EXPECT_EQ(Frame()->PairedDeviceList()[1]->appearance, 0);
}

TEST_F(DiscoveryE2eTest, NonAsciiNameIsListedAsAdvertised) {
    LoadWorld(WorldOf(
        R"({"kind": "generic", "address": "00:1A:7D:DA:72:0B", "name": "Pulsmesser Ü 心拍", "advIntervalMs": 100})"));
    ASSERT_NE(Start(), nullptr);
    Discover();
    EXPECT_EQ(Discovered(), QStringList{QStringLiteral("Pulsmesser Ü 心拍")});
}

TEST_F(DiscoveryE2eTest, BondedNameLongerThanTheEntryIsCutAtACharacterBoundary) {
    const QString name = QString(30, QChar(0x00D6)); // 60 bytes of UTF-8
    LoadWorld(WorldOf(R"({"kind": "generic", "address": "00:1A:7D:DA:72:0C", "name": ")" +
                      name.toStdString() + R"(", "bonded": true, "advertising": false})"));
    ASSERT_NE(Start(), nullptr);
    EXPECT_EQ(Paired(), QStringList{QString(25, QChar(0x00D6))});
}

} // namespace
