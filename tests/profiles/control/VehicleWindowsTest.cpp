// The vendor's vehicle windows on the main window and a recording host. The tyre-pressure window: its
// values, the checks of its edits, Update and Remove Pairing, the alarm, and the threshold kept in the
// settings. The vehicle information window: its set-up, what it does with values beyond their texts,
// the map link and Delete Pairing.
#include "profiles/control/CTpmsCollectorCtrl.h"
#include "profiles/control/CVehicleInfoCtrl.h"

#include "app/CRegistrySettings.h"
#include "gatt/UuidFunctions.h"
#include "panes/CConnectProgressDlg.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "profiles/control/TpmsIds.h"
#include "profiles/control/VehicleInfoIds.h"
#include "res/resource.h"
#include "support/DebugOutputRecorder.h"
#include "support/MainFrameFixture.h"
#include "support/RecordingLinkOpener.h"
#include "support/ScopedGermanNumbers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

constexpr uint16_t kPressure = 0x42, kPressureConfig = 0x43, kThreshold = 0x45, kDiscoverability = 0x47,
                   kPosition = 0x49, kTemperature = 0x4B, kTemperatureConfig = 0x4C, kRemoval = 0x4F;
using Mode = CTpmsCollectorCtrl::DisplayMode;
using Bytes = std::vector<uint8_t>;
using Writes = std::vector<std::pair<int64_t, Bytes>>;
const QString kSettings = QStringLiteral("Software\\Orvane\\Tindrel\\Settings");

class TpmsTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        CRegistrySettings::Create(QStringLiteral("Software\\Orvane\\Tindrel"));
        StartUp({PairedDevice(1, "Tyre")});
        Discover({{2, "Other"}});
        Select(0);
        ConnectSensor();
    }
    void ConnectSensor(bool pairingService = true) {
        m_database = DatabaseBuilder();
        m_database.Service(MakeVendorUuid(0xD000), 0x40, 0x4C)
            .Characteristic(MakeVendorUuid(0xD001), kPressure, 0x12, kPressureConfig)
            .Characteristic(MakeVendorUuid(0xD002), kThreshold, 0x0A)
            .Characteristic(MakeVendorUuid(0xD003), kDiscoverability, 0x02)
            .Characteristic(MakeVendorUuid(0xD004), kPosition, 0x0A)
            .Characteristic(MakeVendorUuid(0xD006), kTemperature, 0x12, kTemperatureConfig);
        if (pairingService)
            m_database.Service(MakeVendorUuid(0xAB14), 0x4D, 0x4F)
                .Characteristic(MakeVendorUuid(0xAB15), kRemoval, 0x08);
        ConnectPeer();
        m_window = m_frame->TpmsWindow();
        ASSERT_NE(m_window, nullptr);
    }
    // Subscribed, at 200 kPa, blow-out threshold 110 kPa, position Front Right.
    void Readings() {
        WriteResult(kPressureConfig);
        WriteResult(kTemperatureConfig);
        for (const auto& [handle, value] :
             {std::pair{kPressure, Bytes{0xC8, 0}}, {kThreshold, {110, 0}}, {kPosition, {2}}})
            ReadResult(handle, value);
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }
    QWidget* Item(UINT id) const { return platform::GetDlgItem(m_window, id); }
    void SetMode(Mode mode) {
        qobject_cast<QAbstractButton*>(
            Item(mode == Mode::Absolute ? IDC_TPMS_SHOW_ABSOLUTE : IDC_TPMS_SHOW_RELATIVE))
            ->click();
    }
    // As a user: into the edit, type, and tab away.
    void Type(UINT id, const QString& text) {
        m_frame->activateWindow(); // focus changes reach only an active window
        QApplication::processEvents();
        Item(id)->setFocus();
        platform::SetDlgItemText(m_window, id, text);
        Item(IDC_TPMS_POSITION_LIST)->setFocus(Qt::TabFocusReason);
    }
    void Choose(const QString& position) {
        qobject_cast<QComboBox*>(Item(IDC_TPMS_POSITION_LIST))->setCurrentText(position);
    }
    // The write requests a command sent.
    Writes Run(UINT command) {
        m_host->calls.clear();
        EXPECT_TRUE(m_frame->ExecuteCommand(command));
        Writes writes;
        for (const HostCall& call : Calls("OrvBleClientWriteCfmCharByHandle"))
            writes.emplace_back(call.args.at(1), call.data);
        return writes;
    }
    bool ProgressShown() const { return m_frame->ProgressWindow()->isVisible(); }

    DebugOutputRecorder m_debugger;
    CTpmsCollectorCtrl* m_window = nullptr;
};

TEST_F(TpmsTest, OpeningReadsAndSubscribesInItsOrderWithTheAbsoluteDisplay) {
    WriteResult(kPressureConfig);
    for (const uint16_t handle : {kPressure, kPosition, kDiscoverability, kTemperature})
        ReadResult(handle, {});
    std::vector<int64_t> requests;
    for (const char* call : {"OrvBleClientReadCharByHandle", "OrvBleClientWriteConfiguration"})
        for (const HostCall& sent : Calls(call))
            requests.push_back(sent.args.at(1));
    EXPECT_EQ(requests,
              (std::vector<int64_t>{kThreshold, kPressure, kPosition, kDiscoverability, kTemperature,
                                    kDeviceName, kPressureConfig, kTemperatureConfig}));
    EXPECT_EQ(m_debugger.lines(), std::vector<QString>{"Enabling notification for pressure"});
    EXPECT_FALSE(Item(IDC_TPMS_OFFSET)->isEnabled());
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(Item(IDC_TPMS_SHOW_ABSOLUTE))->isChecked());
}

TEST_F(TpmsTest, ValuesShowAbsoluteOrRelativeToTheOffset) {
    Readings();
    ReadResult(kTemperature, {0xFB});
    ReadResult(kPressure, {0x50}); // too short: ignored
    const std::tuple<UINT, QString, QString> rows[] = {
        {IDC_TPMS_PRESSURE, "29.0", "14.5"},          {IDC_TPMS_BLOW_OUT, "15.5", "1.0"},
        {IDC_TPMS_BLOW_OUT_THRESHOLD, "15.5", "1.0"}, {IDC_TPMS_LOW_THRESHOLD, "26.0", "11.5"},
        {IDC_TPMS_TEMPERATURE, "-5", "-5"},
    };
    for (const auto& [id, absolute, relative] : rows) {
        EXPECT_EQ(Text(id), absolute) << id;
        SetMode(Mode::Relative);
        EXPECT_EQ(Text(id), relative) << id;
        SetMode(Mode::Absolute);
    }
    ReadResult(kThreshold, {103, 0});
    EXPECT_EQ(Text(IDC_TPMS_BLOW_OUT), "14.5");
    ReadResult(kPosition, {7});
    EXPECT_EQ(Text(IDC_TPMS_POSITION), "Unknown");
    EXPECT_EQ(qobject_cast<QComboBox*>(Item(IDC_TPMS_POSITION_LIST))->currentText(), "Unknown");
}

TEST_F(TpmsTest, EditsRefuseWhatIsOutOfRangeAndPutTheOldValueBack) {
    Readings();
    const QString blowOutRange =
        "Enter blow out pressure threshold in the range 0 - 10 psi (relative) and 14.5 - "
        "24.5 psi (absolute) ";
    const QString offsetRange = platform::LoadString(IDS_TPMS_OFFSET_RANGE);
    const std::tuple<Mode, UINT, QString, QString, QString> rows[] = {
        {Mode::Relative, IDC_TPMS_BLOW_OUT_THRESHOLD, "12", platform::LoadString(IDS_TPMS_BLOW_OUT_ABOVE_LOW),
         "1.0"},
        {Mode::Relative, IDC_TPMS_BLOW_OUT_THRESHOLD, "10.5", blowOutRange, "1.0"},
        {Mode::Absolute, IDC_TPMS_BLOW_OUT_THRESHOLD, "-1", blowOutRange, "15.5"},
        {Mode::Relative, IDC_TPMS_BLOW_OUT_THRESHOLD, "3.2", "", "4.0"},
        {Mode::Relative, IDC_TPMS_OFFSET, "1,5", offsetRange, "14.5"},
        {Mode::Absolute, IDC_TPMS_LOW_THRESHOLD, "x",
         "Enter low pressure threshold in the range 0 - 100 psi (relative) and 14.5 - 114.5 psi (absolute)",
         "26.0"},
        {Mode::Relative, IDC_TPMS_LOW_THRESHOLD, "3", platform::LoadString(IDS_TPMS_THRESHOLD_BELOW_BLOW_OUT),
         "11.5"},
        {Mode::Relative, IDC_TPMS_OFFSET, "25", offsetRange, "14.5"},
    };
    for (const auto& [mode, id, typed, message, shown] : rows) {
        SetMode(mode);
        m_prompter.prompts.clear();
        Type(id, typed);
        EXPECT_EQ(m_prompter.prompts.empty() ? QString() : m_prompter.prompts[0].text, message)
            << typed.toStdString();
        EXPECT_EQ(Text(id), shown) << typed.toStdString();
    }
    EXPECT_EQ(qobject_cast<QLineEdit*>(Item(IDC_TPMS_OFFSET))->selectedText(), "14.5")
        << "too large: selected";
    EXPECT_EQ(Run(ID_TPMS_UPDATE), (Writes{{kThreshold, {0x80, 0x00}}}));

    Type(IDC_TPMS_OFFSET, "14.7"); // every absolute value moves by 0.2
    const std::pair<double, double> moved[] = {
        {m_window->Pressure(), 29.2}, {m_window->LowThreshold(), 26.2}, {m_window->BlowOutPressure(), 15.7}};
    for (const auto& [value, expected] : moved)
        EXPECT_DOUBLE_EQ(value, expected);
    EXPECT_EQ(Text(IDC_TPMS_PRESSURE), "14.5");
}

TEST_F(TpmsTest, ToggledDisplaysLeaveAWholeThresholdWhereItIs) {
    SetMode(Mode::Relative);
    Type(IDC_TPMS_OFFSET, "5.1");
    Readings(); // 110 kPa: 16.1 psi, 11 relative
    for (const Mode mode : {Mode::Absolute, Mode::Relative, Mode::Absolute})
        SetMode(mode);
    EXPECT_EQ(Text(IDC_TPMS_BLOW_OUT_THRESHOLD), "16.1");
    EXPECT_TRUE(Run(ID_TPMS_UPDATE).empty());
    EXPECT_FALSE(ProgressShown());
    Type(IDC_TPMS_BLOW_OUT_THRESHOLD, "8");
    Type(IDC_TPMS_BLOW_OUT_THRESHOLD, "17"); // refused: the 8 taken before is dropped
    Choose("Unknown");
    EXPECT_EQ(Run(ID_TPMS_UPDATE), (Writes{{kPosition, {0xFF}}}));
}

TEST_F(TpmsTest, UpdateKeepsItsProgressUntilTheLastResult) {
    Readings();
    Type(IDC_TPMS_BLOW_OUT_THRESHOLD, "17");
    Choose("Spare");
    EXPECT_EQ(Run(ID_TPMS_UPDATE), (Writes{{kThreshold, {121, 0}}}));
    WriteResult(kThreshold, 0x13);
    EXPECT_TRUE(ProgressShown()) << "the position's write is still out";
    WriteResult(kPosition);
    EXPECT_EQ(Text(IDC_TPMS_POSITION), "Spare");
    EXPECT_FALSE(ProgressShown());
}

TEST_F(TpmsTest, RemovePairingDebondsWhateverTheStatusAndNeedsAPairedSensorWithItsService) {
    Readings();
    for (const uint16_t status : {0x13, 0x00}) {
        EXPECT_EQ(Run(ID_TPMS_REMOVE_PAIRING), (Writes{{kRemoval, {0x01}}}));
        EXPECT_EQ(m_frame->ProgressWindow()->Text(), "Removing Pairing.");
        WriteResult(kRemoval, status);
        ASSERT_EQ(Count("OrvBleHostDebond"), 1u) << status;
        EXPECT_EQ(Calls("OrvBleHostDebond")[0].address.lap, TestAddress(1).lap);
        EXPECT_FALSE(ProgressShown());
    }
    // For an unpaired sensor the button is disabled; without the service it is hidden.
    Disconnected();
    Select(1);
    ConnectSensor();
    m_frame->Router().runUpdatePass();
    EXPECT_TRUE(Item(ID_TPMS_REMOVE_PAIRING)->isVisibleTo(m_window));
    EXPECT_FALSE(Item(ID_TPMS_REMOVE_PAIRING)->isEnabled());
    Disconnected();
    ConnectSensor(false);
    EXPECT_FALSE(Item(ID_TPMS_REMOVE_PAIRING)->isVisibleTo(m_window));
}

TEST_F(TpmsTest, TheAlarmBlinksAtLowPressureAndAtBlowOut) {
    ReadResult(kThreshold, {110, 0}); // 15.5 psi
    auto* alarm = qobject_cast<QLabel*>(Item(IDC_TPMS_ALARM_PICTURE));
    const std::tuple<Bytes, const QPixmap*, UINT> rows[] = {
        {{0xB3, 0}, &m_window->LowPressurePicture(), TIMER_TPMS_LOW_PRESSURE}, // 179 kPa: 26.0 psi
        {{0x6A, 0}, &m_window->BlowOutPicture(), TIMER_TPMS_BLOW_OUT},         // 106 kPa: 15.4 psi
        {{0xB4, 0}, &m_window->NormalPicture(), 0},                            // 180 kPa: 26.1 psi
    };
    for (const auto& [value, picture, timer] : rows) {
        ReadResult(kPressure, value);
        EXPECT_EQ(alarm->pixmap().cacheKey(), picture->cacheKey());
        for (const UINT id : {TIMER_TPMS_LOW_PRESSURE, TIMER_TPMS_BLOW_OUT})
            EXPECT_EQ(m_window->IsTimerRunning(id), id == timer);
        Advance(500);
        EXPECT_EQ(alarm->isVisible(), timer == 0);
        Advance(500);
        EXPECT_TRUE(alarm->isVisible());
    }
}

TEST_F(TpmsTest, TheThresholdIsSavedWithTheSettingsKeyCreatedAndReadBackInTheCLocale) {
    Type(IDC_TPMS_LOW_THRESHOLD, "27.5");
    Disconnected(); // saved at once: the application may end before the window is deleted
    QString stored;
    EXPECT_EQ(m_settings->queryString(kSettings, "Threshold Pressure", &stored), 0);
    EXPECT_EQ(stored, "27.5");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    {
        const ScopedGermanNumbers german;
        ASSERT_TRUE(german.active());
        ConnectSensor();
        EXPECT_EQ(Text(IDC_TPMS_LOW_THRESHOLD), "27.5");
    }
    Disconnected();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_settings->setString(kSettings, "Threshold Pressure", "27,5");
    ConnectSensor();
    EXPECT_EQ(Text(IDC_TPMS_LOW_THRESHOLD), "26.0");
    EXPECT_TRUE(LogContains("The stored threshold pressure \"27,5\" is not a number; 26.0 psi is used."));
}

TEST_F(TpmsTest, OneCheckAtATimeAndNoneWhenTheWindowClosesWithAnEditInFocus) {
    platform::SetDlgItemText(m_window, IDC_TPMS_LOW_THRESHOLD, "x");
    m_prompter.setInsidePrompt([this](const auto&) { Type(IDC_TPMS_BLOW_OUT_THRESHOLD, "x"); });
    m_window->OnEditKillFocus(IDC_TPMS_LOW_THRESHOLD);
    EXPECT_EQ(m_prompter.prompts.size(), 1u);
    m_prompter.setInsidePrompt({});
    QApplication::setActiveWindow(m_frame.get());
    Item(IDC_TPMS_BLOW_OUT_THRESHOLD)->setFocus();
    ASSERT_TRUE(Item(IDC_TPMS_BLOW_OUT_THRESHOLD)->hasFocus());
    Disconnected();
    EXPECT_EQ(m_prompter.prompts.size(), 1u);
}

TEST_F(TpmsTest, OpeningAgainTakesTheHandlesAgainAndKeepsWhatTheUserSet) {
    SetMode(Mode::Relative);
    Type(IDC_TPMS_OFFSET, "10.0");
    Type(IDC_TPMS_LOW_THRESHOLD, "20");
    m_frame->OpenProfileWindows(&Record(0));
    EXPECT_EQ(m_frame->TpmsWindow(), m_window);
    EXPECT_EQ(m_frame->ReadQueue(), (std::deque<uint16_t>{kThreshold, kPressure, kPosition, kDiscoverability,
                                                          kTemperature, kDeviceName}));
    EXPECT_EQ(m_frame->WriteQueue().back().configHandle, kTemperatureConfig);
    EXPECT_EQ(m_window->Mode(), Mode::Relative);
    EXPECT_EQ(Text(IDC_TPMS_OFFSET), "10.0");
    EXPECT_EQ(Text(IDC_TPMS_LOW_THRESHOLD), "20.0");
}

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
