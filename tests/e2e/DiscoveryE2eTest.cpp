// Start-up and device search on the simulated radio: the device tree and the bond store's devices.
#include "E2eFixture.h"
#include "res/resource.h"
#include "veyrasim.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Two peers in the bond store; only the first one advertises.
const std::string kBondedPeers = R"(
    {"address": "00:1A:7D:DA:72:01", "name": "Bonded Pulse", "appearance": 833,
     "bonded": true, "advIntervalMs": 100},
    {"address": "00:1A:7D:DA:72:02", "name": "Bonded Scale", "bonded": true,
     "advertising": false})";

using DiscoveryE2eTest = E2eFixture;

// What the built-in world's advertisers should be listed as: the name, else the address text.
QStringList BuiltInAdvertiserTexts() {
    const QJsonDocument world =
        QJsonDocument::fromJson(QByteArray::fromStdString(orv::sim::builtInWorldJson()));
    QStringList texts;
    for (const QJsonValue& peer : world[u"peers"].toArray()) {
        const QString name = peer[u"name"].toString();
        if (peer[u"advertising"].toBool(true))
            texts << (name.isEmpty() ? peer[u"address"].toString() : name);
    }
    texts.sort();
    return texts;
}

TEST_F(DiscoveryE2eTest, TheBuiltInWorldStartsAndASearchListsEveryAdvertiserOnce) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_DISCOVER));
    Advance(3000);
    EXPECT_EQ(StatusText(), QStringLiteral("Discovering Bluetooth Smart devices..."));
    QStringList listed = Discovered();
    listed.sort();
    EXPECT_EQ(listed, BuiltInAdvertiserTexts());
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_DISCOVER));
    Advance(100);
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(DiscoveryE2eTest, APairedDeviceIsListedFoundInASearchAndKeepsItsAppearanceAfterARestart) {
    LoadWorld(WorldOf(kBondedPeers));
    ASSERT_NE(Start(), nullptr);
    EXPECT_EQ(Paired(), (QStringList{QStringLiteral("Bonded Pulse"), QStringLiteral("Bonded Scale")}));
    EXPECT_EQ(Discovered(), QStringList{QStringLiteral("No discovered devices")});
    Discover();
    EXPECT_EQ(Discovered(), QStringList{QStringLiteral("Bonded Pulse")});
    EXPECT_EQ(Paired(), QStringList{QStringLiteral("Bonded Scale")});
    ASSERT_NE(Restart(), nullptr);
    EXPECT_EQ(Paired(), (QStringList{QStringLiteral("Bonded Pulse"), QStringLiteral("Bonded Scale")}));
    ASSERT_EQ(Frame()->PairedDeviceList().size(), 2u);
    EXPECT_EQ(Frame()->PairedDeviceList()[0]->appearance, 833);
    EXPECT_EQ(Frame()->PairedDeviceList()[1]->appearance, 0);
}

} // namespace
