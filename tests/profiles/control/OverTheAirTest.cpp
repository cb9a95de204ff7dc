// The over-the-air windows on the main window: opened by their services, read once, one-byte values
// shown and logged, other lengths ignored.
#include "gatt/Uuids.h"
#include "panes/CLogDialog.h"
#include "platform/DialogItems.h"
#include "profiles/control/OverTheAirIds.h"
#include "support/DebugOutputRecorder.h"
#include "support/MainFrameFixture.h"

namespace {

constexpr uint16_t kAppIndex = 0x51, kBootIndex = 0x41, kBootVersion = 0x43;

class OverTheAirTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        StartUp();
        Discover({{1, "Target"}});
        Select(0);
    }
    void AddService(uint16_t service, uint16_t start, std::vector<std::pair<uint16_t, uint16_t>> values) {
        m_database.Service(MakeVendorUuid(service), start, static_cast<uint16_t>(start + 4));
        for (const auto& [characteristic, handle] : values)
            m_database.Characteristic(MakeVendorUuid(characteristic), handle, kReadOnly);
    }
    std::vector<int64_t> Reads() const {
        std::vector<int64_t> handles;
        for (const HostCall& call : Calls("OrvBleClientReadCharByHandle"))
            handles.push_back(call.args.at(1));
        return handles;
    }
    qsizetype LoggedValues() const {
        return m_frame->LogWindow()->WindowText().count(QStringLiteral("received = "));
    }
};

TEST_F(OverTheAirTest, OneByteValuesAreShownAndLoggedOtherLengthsChangeNothing) {
    AddService(VendorUuid::OtaApplicationService, 0x50, {{VendorUuid::OtaCurrentApplication, kAppIndex}});
    AddService(VendorUuid::OtaBootloaderService, 0x40,
               {{VendorUuid::OtaCurrentApplication, kBootIndex}, {VendorUuid::OtaVersion, kBootVersion}});
    Connect();
    const QWidget* windows[] = {m_frame->OTAAppServiceWindow(), m_frame->OTABootLoaderServiceWindow()};
    ASSERT_NE(windows[0], nullptr);
    ASSERT_NE(windows[1], nullptr);
    EXPECT_EQ(Reads(), std::vector<int64_t>{kAppIndex});

    struct Step {
        uint16_t handle;
        std::vector<uint8_t> value;
        int window; // 0 application, 1 bootloader
        UINT control;
        const char* text; // the static's text afterwards
        const char* line; // the line logged; empty for none
    };
    const Step steps[] = {
        {kAppIndex, {1}, 0, IDC_OTA_CURRENT_APPLICATION, "1", "Cur App received = 1\n"},
        {kBootIndex, {2}, 1, IDC_OTA_CURRENT_APPLICATION, "2", "Current App index received = 2\n"},
        {kBootVersion, {3}, 1, IDC_OTA_BOOTLOADER_VERSION, "3", "Current version received = 3\n"},
        {kAppIndex, {7, 0}, 0, IDC_OTA_CURRENT_APPLICATION, "1", ""},
        {kAppIndex, {}, 0, IDC_OTA_CURRENT_APPLICATION, "1", ""},
        {kBootIndex, {4, 4}, 1, IDC_OTA_CURRENT_APPLICATION, "2", ""},
        {kBootVersion, {}, 1, IDC_OTA_BOOTLOADER_VERSION, "3", ""},
        {kBootVersion, {5, 1}, 1, IDC_OTA_BOOTLOADER_VERSION, "3", ""},
        {kAppIndex, {0xFF}, 0, IDC_OTA_CURRENT_APPLICATION, "255", "Cur App received = 255\n"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "handle " << step.handle << ", " << step.value.size() << " bytes");
        DebugOutputRecorder debugger;
        const qsizetype logged = LoggedValues();
        ReadResult(step.handle, step.value);
        EXPECT_EQ(platform::GetDlgItemText(windows[step.window], step.control), QLatin1String(step.text));
        const QString line = QLatin1String(step.line);
        EXPECT_EQ(LoggedValues(), logged + (line.isEmpty() ? 0 : 1));
        EXPECT_EQ(debugger.lines(), line.isEmpty() ? std::vector<QString>{} : std::vector{line.chopped(1)});
        EXPECT_TRUE(line.isEmpty() || LogContains(line));
    }
    EXPECT_EQ(Reads(), (std::vector<int64_t>{kAppIndex, kBootIndex, kBootVersion}));
}

TEST_F(OverTheAirTest, ABootloaderServiceWithoutVersionReadsAndFillsOnlyTheIndex) {
    AddService(VendorUuid::OtaBootloaderService, 0x40, {{VendorUuid::OtaCurrentApplication, kBootIndex}});
    Connect();
    const QWidget* window = m_frame->OTABootLoaderServiceWindow();
    ASSERT_NE(window, nullptr);
    ReadResult(kBootIndex, {6});
    ReadResult(kBootVersion, {3});
    EXPECT_EQ(Reads(), std::vector<int64_t>{kBootIndex});
    EXPECT_EQ(platform::GetDlgItemText(window, IDC_OTA_CURRENT_APPLICATION), QStringLiteral("6"));
    EXPECT_EQ(platform::GetDlgItemText(window, IDC_OTA_BOOTLOADER_VERSION), QString());
    EXPECT_EQ(m_frame->OTAAppServiceWindow(), nullptr);
}

} // namespace
