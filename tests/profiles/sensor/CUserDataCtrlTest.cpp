// The user-data window on the main window and a recording host: typed numbers and the requests they
// send, every control-point response, the first-name and increment cycle, and timer 25.
#include "profiles/sensor/CUserDataCtrl.h"

#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "profiles/sensor/UserDataIds.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <QCoreApplication>

namespace {

using Bytes = std::vector<uint8_t>;

// Handles of the user-data peer's database.
constexpr uint16_t kName = 0x32, kIncrement = 0x34, kControlPoint = 0x37, kControlPointConfig = 0x38;

const auto String = platform::LoadString;

class UserDataCtrlTest : public PeerFixture {
protected:
    void SetUp() override {
        PeerFixture::SetUp();
        m_database.Service(0x181C, 0x30, 0x38)
            .Characteristic(0x2A8A, kName, 0x0A)
            .Characteristic(0x2A99, kIncrement, 0x1A, 0x35)
            .Characteristic(0x2A9F, kControlPoint, 0x28, kControlPointConfig);
        ConnectPeer();
        ASSERT_NE(Window(), nullptr);
        WriteResult(kControlPointConfig);
    }
    void TearDown() override {
        MainFrameFixture::TearDown();
        // The closed windows go now, with their timers, not in a later test.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    CUserDataCtrl* Window() const { return m_frame->UserDataWindow(); }
    QString Text(UINT id) const { return platform::GetDlgItemText(Window(), id); }
    QStringList Texts(std::initializer_list<UINT> ids) const {
        return MainFrameFixture::Texts(Window(), ids);
    }
    void Set(std::initializer_list<std::pair<UINT, QString>> edits) {
        for (const auto& [id, text] : edits)
            platform::SetDlgItemText(Window(), id, text);
    }
    // The handle and bytes of the write sent last.
    std::pair<int64_t, Bytes> LastWrite() const {
        const HostCall write = Calls("OrvBleClientWriteCfmCharByHandle").back();
        return {write.args.at(1), write.data};
    }
    // Clicks the button and completes the write it sent with status; the bytes it sent, if any.
    Bytes Press(UINT id, uint16_t status = 0) {
        const size_t before = Count("OrvBleClientWriteCfmCharByHandle");
        EXPECT_TRUE(Run(Window(), id));
        if (Count("OrvBleClientWriteCfmCharByHandle") == before)
            return {};
        const auto [handle, bytes] = LastWrite();
        WriteResult(static_cast<uint16_t>(handle), status);
        return bytes;
    }
};

TEST_F(UserDataCtrlTest, TypedNumbersAreCheckedBeforeAnythingIsSent) {
    struct Row {
        UINT button;
        const char* code;  // the register edit, or the consent code edit
        const char* index; // the consent index edit
        QString status;
        Bytes sent;
        QStringList edits; // register code, consent index, consent code afterwards
    };
    const Row rows[] = {
        {ID_UD_REGISTER, "", "", String(IDS_UD_ENTER_VALID_VALUE), {}, {"", "", ""}},
        {ID_UD_REGISTER, "123456", "", String(IDS_UD_CONSENT_CODE_SIZE), {}, {"", "", ""}},
        {ID_UD_REGISTER, "65536", "", String(IDS_UD_CONSENT_CODE_SIZE), {}, {"", "", ""}},
        {ID_UD_REGISTER, "65535", "", "", {0x01, 0xFF, 0xFF}, {"65535", "", ""}},
        {ID_UD_REGISTER, "4321", "", "", {0x01, 0xE1, 0x10}, {"4321", "", ""}},
        {ID_UD_CONSENT, "1234", "", String(IDS_UD_ENTER_VALID_VALUE), {}, {"", "", "1234"}},
        {ID_UD_CONSENT, "1234", "256", String(IDS_UD_USER_ID_SIZE), {}, {"", "256", "1234"}},
        {ID_UD_CONSENT, "123456", "0", String(IDS_UD_CONSENT_CODE_SIZE), {}, {"", "0", "123456"}},
        {ID_UD_CONSENT, "123456", "123456", String(IDS_UD_SIZES), {}, {"", "", ""}},
        {ID_UD_CONSENT, "1234", "010", "", {0x02, 0x0A, 0xD2, 0x04}, {"", "010", "1234"}},
        {ID_UD_CONSENT, "65535", "0", "", {0x02, 0x00, 0xFF, 0xFF}, {"", "0", "65535"}},
    };
    for (const Row& row : rows) {
        const bool consent = row.button == ID_UD_CONSENT;
        Set({{IDC_UD_REGISTER_CODE, consent ? "" : row.code},
             {IDC_UD_CONSENT_CODE, consent ? row.code : ""},
             {IDC_UD_CONSENT_INDEX, row.index}});
        EXPECT_EQ(Press(row.button), row.sent) << row.code << " " << row.index;
        EXPECT_EQ(Text(IDC_UD_STATUS), row.status) << row.code << " " << row.index;
        EXPECT_EQ(Texts({IDC_UD_REGISTER_CODE, IDC_UD_CONSENT_INDEX, IDC_UD_CONSENT_CODE}), row.edits);
    }
}

TEST_F(UserDataCtrlTest, EachResponseShowsItsOutcome) {
    struct Row {
        UINT button; // pressed before the response; 0 none
        Bytes response;
        QString status;
        QStringList edits; // register code, consent index, consent code, user index afterwards
    };
    const QStringList untouched = {"4321", "0", "1234", ""};
    const QStringList registerEmptied = {"", "0", "1234", ""};
    const QStringList consentEmptied = {"4321", "", "", ""};
    const Row rows[] = {
        {ID_UD_REGISTER,
         {0x20, 0x01, 0x01, 0x02},
         "Success: User registered with user id = 2",
         registerEmptied},
        {ID_UD_REGISTER, {0x20, 0x01, 0x01}, "", untouched}, // a success without its user index
        {ID_UD_REGISTER, {0x20, 0x01, 0x03}, String(IDS_UD_CODE_OUT_OF_RANGE), registerEmptied},
        {ID_UD_REGISTER, {0x20, 0x01, 0x04}, String(IDS_UD_NO_SPACE), registerEmptied},
        {ID_UD_REGISTER, {0x20, 0x01, 0x02}, "", registerEmptied},
        {ID_UD_CONSENT, {0x20, 0x02, 0x03}, String(IDS_UD_OUT_OF_RANGE), consentEmptied},
        {ID_UD_CONSENT, {0x20, 0x02, 0x04}, String(IDS_UD_CONSENT_TRIES_EXCEEDED), consentEmptied},
        {ID_UD_CONSENT, {0x20, 0x02, 0x05}, String(IDS_UD_NOT_AUTHORIZED), consentEmptied},
        {ID_UD_CONSENT, {0x20, 0x02, 0x02}, "", consentEmptied},
        {0, {0x10, 0x02, 0x01}, "", untouched}, // not a response: only logged
        {0, {0x20, 0x02}, "", untouched},       // too short
        {ID_UD_CONSENT, {0x20, 0x02, 0x01}, String(IDS_UD_CONSENT_PROVIDED), {"4321", "", "", "0"}},
        {ID_UD_DELETE_USER, {0x20, 0x03, 0x05}, String(IDS_UD_NOT_AUTHORIZED), {"4321", "0", "1234", "0"}},
        {ID_UD_DELETE_USER, {0x20, 0x03, 0x01}, String(IDS_UD_USER_DELETED), untouched},
        {0, {0x20, 0x09, 0x01}, String(IDS_UD_OPCODE_NOT_SUPPORTED), untouched},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.response));
        Set({{IDC_UD_REGISTER_CODE, "4321"}, {IDC_UD_CONSENT_INDEX, "0"}, {IDC_UD_CONSENT_CODE, "1234"}});
        if (row.button)
            Press(row.button);
        Notify(kControlPoint, row.response);
        EXPECT_EQ(Text(IDC_UD_STATUS), row.status);
        EXPECT_EQ(Texts({IDC_UD_REGISTER_CODE, IDC_UD_CONSENT_INDEX, IDC_UD_CONSENT_CODE, IDC_UD_USER_INDEX}),
                  row.edits);
        const bool consented = !row.edits[3].isEmpty(); // both groups stay disabled until a deletion
        EXPECT_EQ(Window()->IsRegistrationDisabled(), consented);
        EXPECT_EQ(Window()->IsConsentDisabled(), consented);
        EXPECT_EQ(Window()->CurrentUser().index, consented ? 0 : CUserDataCtrl::kNoUser);
    }
}

TEST_F(UserDataCtrlTest, ANewFirstNameIsWrittenReadAgainAndCountedInTheIncrement) {
    Set({{IDC_UD_CONSENT_INDEX, "0"}, {IDC_UD_CONSENT_CODE, "1234"}});
    Press(ID_UD_CONSENT);
    Notify(kControlPoint, {0x20, 0x02, 0x01});
    EXPECT_EQ(m_frame->ReadQueue(), std::deque<uint16_t>{kIncrement});
    ReadResult(kName, {'A', 'n', 'n', 0x00, 'x'});
    ReadResult(kIncrement, {0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(Texts({IDC_UD_FIRST_NAME, IDC_UD_CHANGES}), (QStringList{"Ann", "4294967295"}));

    // Opening the profile windows again only subscribes again.
    m_frame->OpenProfileWindows(&Record(0));
    EXPECT_EQ(Count("OrvBleClientWriteConfiguration"), 2u);
    EXPECT_TRUE(Window()->CurrentUser().index == 0 && Window()->IsConsentDisabled());
    EXPECT_EQ(Texts({IDC_UD_USER_INDEX, IDC_UD_FIRST_NAME}), (QStringList{"0", "Ann"}));
    WriteResult(kControlPointConfig);
    ReadResult(kDeviceName, {'S', 'c', 'a', 'l', 'e'});

    Set({{IDC_UD_FIRST_NAME, QStringLiteral("Zoë")}});
    const size_t reads = Count("OrvBleClientReadCharByHandle");
    EXPECT_EQ(Press(ID_UD_UPDATE_NAME), (Bytes{0x5A, 0x6F, 0xC3, 0xAB, 0x00}));
    EXPECT_EQ(Count("OrvBleClientReadCharByHandle") - reads, 1u);
    EXPECT_EQ(Calls("OrvBleClientReadCharByHandle").back().args.at(1), kName);
    EXPECT_EQ(LastWrite(), (std::pair<int64_t, Bytes>{kIncrement, {0x00, 0x00, 0x00, 0x00}})); // +1 wraps
    WriteResult(kIncrement);
    EXPECT_EQ(Texts({IDC_UD_STATUS, IDC_UD_CHANGES}), (QStringList{String(IDS_UD_NAME_UPDATED), "0"}));

    Press(ID_UD_UPDATE_NAME, 0x80);
    EXPECT_EQ(Text(IDC_UD_STATUS), String(IDS_UD_ACCESS_NOT_PERMITTED));
    Set({{IDC_UD_FIRST_NAME, QString()}});
    EXPECT_EQ(Press(ID_UD_UPDATE_NAME), Bytes{});
    EXPECT_EQ(Text(IDC_UD_STATUS), String(IDS_UD_ENTER_VALID_VALUE));
}

TEST_F(UserDataCtrlTest, Timer25RunsFromAControlPointWriteToItsResponseAndItsExpiryDisconnects) {
    EXPECT_FALSE(Window()->IsResponseTimerRunning()) << "started by the configuration write";
    Set({{IDC_UD_REGISTER_CODE, "4321"}});
    Press(ID_UD_REGISTER, 0xFD);
    EXPECT_FALSE(Window()->IsResponseTimerRunning()) << "started by a refused write";
    Press(ID_UD_REGISTER);
    Notify(kControlPoint, {0x10, 0x01, 0x03});
    EXPECT_TRUE(Window()->IsResponseTimerRunning()) << "stopped by response code 0x10";
    Notify(kControlPoint, {0x20, 0x01, 0x03});
    EXPECT_FALSE(Window()->IsResponseTimerRunning()) << "running after the response";
    Set({{IDC_UD_REGISTER_CODE, "4321"}});
    Press(ID_UD_REGISTER);
    Advance(CUserDataCtrl::kResponseTimeoutMs - 1);
    EXPECT_EQ(Count("OrvBleHostDisconnect"), 0u);
    Advance(1);
    EXPECT_EQ(Count("OrvBleHostDisconnect"), 1u);
}

} // namespace
