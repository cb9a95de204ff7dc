#include "platform/UsbDevices.h"

#include "veyrasim.h"

#include <gtest/gtest.h>
#include <string>

namespace platform {
namespace {

const QString kMousePath = "\\\\?\\usb#vid_046d&pid_c52b#1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

// A world with the given dongle and one other USB device (a mouse).
void loadWorld(bool present, bool driver, bool busy) {
    const std::string json = R"({"seed": 1, "peers": [],
        "dongle": {"present": )" +
                             std::string(present ? "true" : "false") + R"(, "driver": )" +
                             (driver ? "true" : "false") + R"(, "busy": )" + (busy ? "true" : "false") + R"(},
        "usbDevices": [{"hardwareIds": ["USB\\VID_046D&PID_C52B&REV_1211", "USB\\VID_046D&PID_C52B"],
                        "service": "hidusb", "interfacePath": ")" +
                             QString(kMousePath).replace("\\", "\\\\").toStdString() + R"("}]})";
    std::string error;
    ASSERT_TRUE(orv::sim::loadWorldJson(json, &error)) << error;
}

const UsbDeviceInfo* findByService(const std::vector<UsbDeviceInfo>& devices, const QString& service) {
    for (const UsbDeviceInfo& device : devices) {
        if (device.service == service)
            return &device;
    }
    return nullptr;
}

class UsbDevicesTest : public testing::Test {
protected:
    void TearDown() override { setDeviceSetInvalid(false); }
};

TEST_F(UsbDevicesTest, PresentDevicesCarryTheirIdsServiceAndPath) {
    loadWorld(true, true, false);
    const auto devices = presentUsbDevices();
    ASSERT_TRUE(devices.has_value());
    ASSERT_EQ(devices->size(), 2u);
    const UsbDeviceInfo* mouse = findByService(*devices, "hidusb");
    ASSERT_NE(mouse, nullptr);
    EXPECT_EQ(mouse->hardwareIds, (QStringList{"USB\\VID_046D&PID_C52B&REV_1211", "USB\\VID_046D&PID_C52B"}));
    EXPECT_EQ(mouse->interfacePath, kMousePath);
    const UsbDeviceInfo* dongle = findByService(*devices, "orvbc");
    ASSERT_NE(dongle, nullptr);
    ASSERT_FALSE(dongle->hardwareIds.isEmpty());
    EXPECT_TRUE(dongle->hardwareIds.first().toLower().contains("vid_2f1e&pid_0001"));
}

TEST_F(UsbDevicesTest, DongleWithoutDriverHasNoService) {
    loadWorld(true, false, false);
    const auto devices = presentUsbDevices();
    ASSERT_TRUE(devices.has_value());
    ASSERT_EQ(devices->size(), 2u);
    EXPECT_EQ(findByService(*devices, "orvbc"), nullptr);
    EXPECT_NE(findByService(*devices, ""), nullptr);
}

TEST_F(UsbDevicesTest, AbsentDongleIsNotListed) {
    loadWorld(false, true, false);
    const auto devices = presentUsbDevices();
    ASSERT_TRUE(devices.has_value());
    ASSERT_EQ(devices->size(), 1u);
    EXPECT_EQ(devices->front().service, "hidusb");
}

TEST_F(UsbDevicesTest, ForcedInvalidDeviceSetGivesNoList) {
    loadWorld(true, true, false);
    setDeviceSetInvalid(true);
    EXPECT_FALSE(presentUsbDevices().has_value());
    setDeviceSetInvalid(false);
    EXPECT_TRUE(presentUsbDevices().has_value());
}

TEST_F(UsbDevicesTest, OpeningAnInterfaceReportsBusyAndMissingDevices) {
    struct Case {
        bool busy;
        bool dongle; // open the dongle's interface, else an unknown path
        DWORD expected;
    };
    for (const Case c : {Case{false, true, ERROR_SUCCESS}, Case{true, true, ERROR_BUSY},
                         Case{false, false, ERROR_FILE_NOT_FOUND}}) {
        SCOPED_TRACE(c.expected);
        loadWorld(true, true, c.busy);
        const auto devices = presentUsbDevices();
        ASSERT_TRUE(devices.has_value());
        const UsbDeviceInfo* dongle = findByService(*devices, "orvbc");
        ASSERT_NE(dongle, nullptr);
        EXPECT_EQ(openDeviceInterface(c.dongle ? dongle->interfacePath : QString("\\\\?\\usb#nothing")),
                  c.expected);
    }
}

TEST_F(UsbDevicesTest, OtherDevicesOpenEvenWhenTheDongleIsBusy) {
    loadWorld(true, true, true);
    EXPECT_EQ(openDeviceInterface(kMousePath), static_cast<DWORD>(ERROR_SUCCESS));
}

} // namespace
} // namespace platform
