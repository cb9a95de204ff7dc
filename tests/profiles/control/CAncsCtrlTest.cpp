// The notification-center window's store: one notification per category, UIDs kept and unique.
#include "profiles/control/CAncsCtrl.h"

#include "gatt/BleDeviceRecord.h"
#include "profiles/control/AncsIds.h"
#include "support/WindowTest.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTreeWidget>

namespace {

class AncsCtrlTest : public WindowTest<CAncsCtrl> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        m_window->InitServer(m_device, &m_server);
        m_window->SetUidGenerator([this] { return m_uids.at(m_nextUid++ % m_uids.size()); });
    }
    void Select(UINT combo, const QString& text) {
        auto* box = Item<QComboBox>(combo);
        box->setCurrentIndex(box->findText(text));
    }
    // As a user: the buttons show the state of the moment first.
    void Click(UINT id) {
        m_router.runUpdatePass();
        Item<QAbstractButton>(id)->click();
    }
    QTreeWidget* List(UINT id) const { return Item<QTreeWidget>(id); }
    QStringList Row(UINT list, int row) const { return ItemTexts(List(list)->topLevelItem(row)); }

    std::shared_ptr<BleDeviceRecord> m_device =
        std::make_shared<BleDeviceRecord>(BleTypedAddress{}, -60, "Watch", 0, true);
    AncsServerState m_server;
    std::vector<uint32_t> m_uids{0x1234};
    size_t m_nextUid = 0;
};

TEST_F(AncsCtrlTest, InitServerMarksTheDeviceAndStartsOnAnAddedSilentIncomingCall) {
    EXPECT_TRUE(m_device->roles & BleDeviceRecord::kRoleNotificationCenter);
    EXPECT_EQ(m_window->GetSelectedCategory(), 1);
    Click(ID_ANCS_ADD);
    EXPECT_EQ(Row(IDC_ANCS_CATEGORY_LIST, 0), QStringList({"Add", "Silent", "Incoming Call", "1"}));
}

TEST_F(AncsCtrlTest, OneRecordPerCategoryModifyKeepsItsUidAndDeleteDropsItsRow) {
    m_uids = {5, 5, 5, 7};
    Select(IDC_ANCS_CATEGORY, "Email");
    Click(ID_ANCS_ADD);
    Select(IDC_ANCS_COUNT, "3");
    Click(ID_ANCS_ADD);
    ASSERT_EQ(m_window->Store().size(), 1u);
    EXPECT_EQ(m_window->Store().at(6).categoryCount, 1);
    EXPECT_FALSE(m_router.execute(m_window->GetCommandTarget(), ID_ANCS_ADD));

    Select(IDC_ANCS_CATEGORY, "News");
    Click(ID_ANCS_ADD);
    EXPECT_EQ(m_window->Store().at(6).notificationUid, 5u);
    EXPECT_EQ(m_window->Store().at(7).notificationUid, 7u);

    Select(IDC_ANCS_CATEGORY, "Email");
    Item<QAbstractButton>(IDC_ANCS_MODIFIED)->setChecked(true);
    Item<QAbstractButton>(IDC_ANCS_IMPORTANT)->setChecked(true);
    Click(ID_ANCS_MODIFY);
    const AncsNotificationRecord& email = m_window->Store().at(6);
    EXPECT_EQ(email.notificationUid, 5u);
    EXPECT_EQ(email.blocks.size(), 3u);
    EXPECT_EQ(Row(IDC_ANCS_CATEGORY_LIST, 0), QStringList({"Mod", "Important", "Email", "3"}));

    List(IDC_ANCS_CATEGORY_LIST)->topLevelItem(0)->setSelected(true);
    ASSERT_EQ(List(IDC_ANCS_ATTRIBUTE_LIST)->topLevelItemCount(), 3);
    EXPECT_EQ(Row(IDC_ANCS_ATTRIBUTE_LIST, 2).mid(1),
              QStringList({"Hello", "From ORV", "Email", "5", "13/12/13 20:12:12"}));
    ExpectColumnsFit(List(IDC_ANCS_CATEGORY_LIST));
    ExpectColumnsFit(List(IDC_ANCS_ATTRIBUTE_LIST));

    Click(ID_ANCS_DELETE);
    EXPECT_FALSE(m_window->Store().contains(6));
    ASSERT_EQ(List(IDC_ANCS_CATEGORY_LIST)->topLevelItemCount(), 1);
    EXPECT_EQ(Row(IDC_ANCS_CATEGORY_LIST, 0)[2], "News");
}

} // namespace
