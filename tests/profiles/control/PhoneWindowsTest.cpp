// The windows of the services the PC serves a phone, with a command target standing in for the main
// window: the phone window's records, list and pictures, and the notification-center window's store
// (one notification per category, UIDs kept and unique).
#include "profiles/control/CAncsCtrl.h"
#include "profiles/control/CPhoneCtrl.h"

#include "gatt/BleDeviceRecord.h"
#include "profiles/control/AncsIds.h"
#include "profiles/control/PhoneIds.h"
#include "support/EnvironmentFixture.h"
#include "support/WindowTest.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>

namespace {

class PhoneCtrlTest : public WindowTest<CPhoneCtrl, EnvironmentFixture> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        m_mainTarget.onCommand(ID_PHONE_TOGGLE_READ, [this] { m_window->ToggleSelectedRead(); });
    }
    void TearDown() override {
        delete m_window;
        EnvironmentFixture::TearDown();
    }
    QTreeWidget* List() const { return Item<QTreeWidget>(IDC_PHONE_LIST); }
    std::pair<uint8_t, QString> Add(int categoryItem, const QString& text) {
        Item<QComboBox>(IDC_PHONE_CATEGORY)->setCurrentIndex(categoryItem);
        platform::SetDlgItemText(m_window, IDC_PHONE_TEXT, text);
        std::pair<uint8_t, QString> added;
        m_window->AddNotification(&added.first, &added.second);
        return added;
    }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = List()->topLevelItem(i);
            rows << row->text(0) + QLatin1Char('/') + row->text(1) + (row->font(0).bold() ? "*" : "");
        }
        return rows;
    }
};

TEST_F(PhoneCtrlTest, RecordsListNewestFirstUnreadInBoldAndTheNextIdIsAboveTheLoadedOnes) {
    Add(0, QStringLiteral("Mira"));
    EXPECT_TRUE(Text(IDC_PHONE_TEXT).isEmpty());
    m_window->LoadRecords({{7, {1, 5, QStringLiteral("seven")}}, {12, {0, 9, QStringLiteral("twelve")}}});
    EXPECT_EQ(Add(4, QStringLiteral("Bill")), std::make_pair(uint8_t{1}, QStringLiteral("Bill")));
    EXPECT_EQ(Rows(), (QStringList{"E-mail/Bill*", "Instant message/twelve*", "SMS/seven"}));
    EXPECT_EQ(List()->topLevelItem(0)->background(0).color(), QColor(191, 219, 255));
    std::map<int, PhoneAlertRecord> records;
    m_window->GetRecords(&records);
    EXPECT_EQ(records.rbegin()->first, 13);
}

TEST_F(PhoneCtrlTest, UnreadCountsOfTheMasksCategoriesStopAt255) {
    std::map<int, PhoneAlertRecord> many;
    for (int id = 1; id <= 300; ++id)
        many[id] = {0, 3, QString()};
    many[301] = {1, 1, QString()};
    m_window->LoadRecords(many);
    std::map<uint8_t, uint8_t> unread;
    m_window->GetUnreadCounts(0x000A, &unread);
    EXPECT_EQ(unread, (std::map<uint8_t, uint8_t>{{1, 0}, {3, 255}}));
}

TEST_F(PhoneCtrlTest, ContextMenuOnlyFromTheMouseOnARow) {
    Add(0, QStringLiteral("Mira"));
    const QRect row = List()->visualItemRect(List()->topLevelItem(0));
    const QPoint onRow = List()->viewport()->mapToGlobal(row.center());
    EXPECT_EQ(m_window->OnContextMenu(onRow, true), nullptr);
    EXPECT_EQ(m_window->OnContextMenu(List()->viewport()->mapToGlobal(QPoint(5, row.bottom() + 40)), false),
              nullptr);
    QMenu* menu = m_window->OnContextMenu(onRow, false);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Toggle read/unread status"));
    EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("Delete record"));
    List()->topLevelItem(0)->setSelected(true);
    menu->actions()[0]->trigger();
    EXPECT_EQ(Rows(), QStringList{"Call/Mira"}) << "the menu's command reached the main window";
    menu->close();
}

TEST_F(PhoneCtrlTest, PicturesGetTheirImagesAndKeepTheirPlaceWhenHidden) {
    auto picture = [this](UINT id) { return Item<QLabel>(id); };
    EXPECT_FALSE(picture(IDC_PHONE_VIBRATE_PICTURE)->pixmap().isNull()) << "the template's picture";
    EXPECT_TRUE(picture(IDC_PHONE_RING_PICTURE)->pixmap().isNull());
    m_window->ResetAlertStatusIcons();
    m_window->ResetRingerIcons();
    EXPECT_EQ(picture(IDC_PHONE_VIBRATE_PICTURE)->pixmap().size(), QSize(24, 24));
    for (UINT id : {IDC_PHONE_RING_PICTURE, IDC_PHONE_DISPLAY_PICTURE, IDC_PHONE_NORMAL_PICTURE,
                    IDC_PHONE_MUTE_PICTURE})
        EXPECT_FALSE(picture(id)->pixmap().isNull()) << id;
    const QPoint place = picture(IDC_PHONE_DISPLAY_PICTURE)->pos();
    m_window->ShowControl(IDC_PHONE_RING_PICTURE, false);
    m_window->ShowControl(IDC_PHONE_VIBRATE_PICTURE, false);
    QCoreApplication::processEvents();
    EXPECT_TRUE(picture(IDC_PHONE_RING_PICTURE)->isHidden());
    EXPECT_EQ(picture(IDC_PHONE_DISPLAY_PICTURE)->pos(), place);
}

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
