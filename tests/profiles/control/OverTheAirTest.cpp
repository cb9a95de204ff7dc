// The over-the-air windows on the main window: opened by their services, read once, one-byte values
// shown and written to the debugger output, other lengths ignored (the log lines: end-to-end).
#include "gatt/Uuids.h"
#include "platform/DialogItems.h"
#include "profiles/control/OverTheAirIds.h"
#include "support/DebugOutputRecorder.h"
#include "support/MainFrameFixture.h"

namespace {

constexpr uint16_t kAppIndex = 0x51, kBootIndex = 0x41, kBootVersion = 0x43;

class OverTheAirTest : public PeerFixture {
protected:
    void AddService(uint16_t service, uint16_t start, std::vector<std::pair<uint16_t, uint16_t>> values) {
        m_database.Service(MakeVendorUuid(service), start, static_cast<uint16_t>(start + 4));
        for (const auto& [characteristic, handle] : values)
            m_database.Characteristic(MakeVendorUuid(characteristic), handle, kReadOnly);
    }
};

TEST_F(OverTheAirTest, OneByteValuesAreShownAndLoggedOtherLengthsChangeNothing) {
    AddService(VendorUuid::OtaApplicationService, 0x50, {{VendorUuid::OtaCurrentApplication, kAppIndex}});
    AddService(VendorUuid::OtaBootloaderService, 0x40,
               {{VendorUuid::OtaCurrentApplication, kBootIndex}, {VendorUuid::OtaVersion, kBootVersion}});
    Connect();
    const QWidget* windows[] = {m_frame->OTAAppServiceWindow(), m_frame->OTABootLoaderServiceWindow()};
    ASSERT_TRUE(windows[0] && windows[1]);
    const std::tuple<uint16_t, std::vector<uint8_t>, int, UINT, const char*, const char*> steps[] = {
        // handle, value, window (application, bootloader), static, its text afterwards, line logged
        {kAppIndex, {1}, 0, IDC_OTA_CURRENT_APPLICATION, "1", "Cur App received = 1"},
        {kBootIndex, {2}, 1, IDC_OTA_CURRENT_APPLICATION, "2", "Current App index received = 2"},
        {kBootVersion, {3}, 1, IDC_OTA_BOOTLOADER_VERSION, "3", "Current version received = 3"},
        {kAppIndex, {7, 0}, 0, IDC_OTA_CURRENT_APPLICATION, "1", ""},
        {kAppIndex, {}, 0, IDC_OTA_CURRENT_APPLICATION, "1", ""},
        {kBootIndex, {4, 4}, 1, IDC_OTA_CURRENT_APPLICATION, "2", ""},
        {kBootVersion, {}, 1, IDC_OTA_BOOTLOADER_VERSION, "3", ""},
        {kBootVersion, {5, 1}, 1, IDC_OTA_BOOTLOADER_VERSION, "3", ""},
        {kAppIndex, {0xFF}, 0, IDC_OTA_CURRENT_APPLICATION, "255", "Cur App received = 255"},
    };
    for (const auto& [handle, value, window, control, text, line] : steps) {
        SCOPED_TRACE(testing::Message() << "handle " << handle << ", " << value.size() << " bytes");
        DebugOutputRecorder debugger;
        ReadResult(handle, value);
        EXPECT_EQ(platform::GetDlgItemText(windows[window], control), QLatin1String(text));
        EXPECT_EQ(debugger.lines(), *line ? std::vector{QString::fromLatin1(line)} : std::vector<QString>{});
    }
}

TEST_F(OverTheAirTest, ABootloaderServiceWithoutVersionFillsOnlyTheIndex) {
    AddService(VendorUuid::OtaBootloaderService, 0x40, {{VendorUuid::OtaCurrentApplication, kBootIndex}});
    Connect();
    const QWidget* window = m_frame->OTABootLoaderServiceWindow();
    ASSERT_NE(window, nullptr);
    ReadResult(kBootIndex, {6});
    ReadResult(kBootVersion, {3});
    EXPECT_EQ(platform::GetDlgItemText(window, IDC_OTA_CURRENT_APPLICATION), QStringLiteral("6"));
    EXPECT_EQ(platform::GetDlgItemText(window, IDC_OTA_BOOTLOADER_VERSION), QString());
    EXPECT_EQ(m_frame->OTAAppServiceWindow(), nullptr);
}

} // namespace
