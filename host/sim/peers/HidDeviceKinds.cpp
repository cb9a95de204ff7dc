// HID over GATT: the simulated keyboard, mouse and steering wheel: their HID services and their users.
#include "HidPeer.h"

#include <veyrauuids.h>

namespace orv::sim {
namespace {

using Bytes = std::vector<uint8_t>;

namespace Chr = CharacteristicUuid;

constexpr uint8_t kInput = 1, kOutput = 2, kFeature = 3;

constexpr uint8_t kRead = kPropertyRead;
constexpr uint8_t kReadNotify = kPropertyRead | kPropertyNotify;
constexpr uint8_t kReadWrite = kPropertyRead | kPropertyWrite;
constexpr uint8_t kReadWriteBoth = kReadWrite | kPropertyWriteWithoutResponse;
constexpr uint8_t kReadWriteCommand = kPropertyRead | kPropertyWriteWithoutResponse;

// HID Information: version 1.11, country 0, flags (bit 0 remote wake, bit 1 normally connectable).
Bytes hidInformation(uint8_t flags) {
    return {0x11, 0x01, 0x00, flags};
}

GattCharacteristicDescription report(uint8_t id, uint8_t type, uint8_t properties, Bytes value) {
    GattCharacteristicDescription description = characteristic(Chr::Report, properties, std::move(value));
    description.descriptors.push_back({MakeUuid16(DescriptorUuid::ReportReference), {id, type}});
    return description;
}

GattServiceDescription hidService(std::vector<GattCharacteristicDescription> characteristics) {
    GattServiceDescription service;
    service.uuid = MakeUuid16(ServiceUuid::HumanInterfaceDevice);
    service.characteristics = std::move(characteristics);
    return service;
}

// Report 1: modifiers, a reserved byte and six keys in; five LEDs out. Report 2: one vendor feature byte.
const Bytes kKeyboardMap = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29,
                            0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01,
                            0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29,
                            0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06, 0x75, 0x08,
                            0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,
                            0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x09, 0x02, 0x15, 0x00,
                            0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x01, 0xB1, 0x02, 0xC0};

// Report 1: three buttons, then X, Y and the wheel as signed bytes.
const Bytes kMouseMap = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09,
                         0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
                         0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09, 0x38,
                         0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};

// Report 1: two 16-bit consumer usages and an 8-bit button code.
const Bytes kWheelMap = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x03, 0x19,
                         0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x02, 0x81, 0x00, 0x15, 0x00, 0x26, 0xFF,
                         0x00, 0x19, 0x00, 0x29, 0xFF, 0x75, 0x08, 0x95, 0x01, 0x81, 0x00, 0xC0};

// Keyboard usage and modifiers of a character of the typed text.
std::pair<uint8_t, uint8_t> keyOf(char c) {
    constexpr uint8_t kLeftShift = 0x02;
    if (c >= 'a' && c <= 'z')
        return {0, static_cast<uint8_t>(0x04 + (c - 'a'))};
    if (c >= 'A' && c <= 'Z')
        return {kLeftShift, static_cast<uint8_t>(0x04 + (c - 'A'))};
    if (c == '.')
        return {0, 0x37};
    return {0, 0x2C}; // space
}

std::vector<HidInputStep> typing(const std::string& text) {
    std::vector<HidInputStep> script;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto [modifiers, usage] = keyOf(text[i]);
        script.push_back({i == 0 ? 2000u : 120u, {modifiers, 0, usage, 0, 0, 0, 0, 0}});
        script.push_back({80, Bytes(8, 0)});
    }
    return script;
}

// With the button held: right, down, left and up, eight moves of six counts each.
std::vector<HidInputStep> square() {
    constexpr uint8_t kLeftButton = 0x01, kStep = 6, kBack = 0x100 - kStep;
    const std::pair<uint8_t, uint8_t> sides[] = {{kStep, 0}, {0, kStep}, {kBack, 0}, {0, kBack}};
    std::vector<HidInputStep> script{{2000, {kLeftButton, 0, 0, 0}}};
    for (const auto& [dx, dy] : sides)
        for (int i = 0; i < 8; ++i)
            script.push_back({40, {kLeftButton, dx, dy, 0}});
    script.push_back({40, {0, 0, 0, 0}});
    return script;
}

Bytes wheelReport(uint16_t first, uint16_t second, uint8_t code) {
    return {static_cast<uint8_t>(first), static_cast<uint8_t>(first >> 8), static_cast<uint8_t>(second),
            static_cast<uint8_t>(second >> 8), code};
}

// Menu Up, Down, Left, Right and Pick and the two volume buttons alone; Menu Up with Volume Up, then
// Volume Up alone in the first field; the two track buttons together; Play, then the 0x26 button as
// codes.
std::vector<HidInputStep> wheelPresses() {
    std::vector<HidInputStep> script;
    for (const uint16_t usage : {0x42, 0x43, 0x44, 0x45, 0x41, 0xE9, 0xEA}) {
        script.push_back({1000, wheelReport(usage, 0, 0)});
        script.push_back({400, wheelReport(0, 0, 0)});
    }
    const HidInputStep pairs[] = {
        {1000, wheelReport(0x42, 0xE9, 0)}, {600, wheelReport(0xE9, 0, 0)}, {400, wheelReport(0, 0, 0)},
        {1000, wheelReport(0xB5, 0xB6, 0)}, {600, wheelReport(0, 0, 0)},    {1000, wheelReport(0, 0, 0xB0)},
        {600, wheelReport(0, 0, 0x26)},     {400, wheelReport(0, 0, 0)},
    };
    script.insert(script.end(), std::begin(pairs), std::end(pairs));
    return script;
}

} // namespace

std::optional<HidDeviceKind> HidPeer::describe(const std::string& kind) {
    constexpr uint8_t kRemoteWakeAndConnectable = 0x03, kNormallyConnectable = 0x02;
    const GattCharacteristicDescription controlPoint =
        characteristic(Chr::HidControlPoint, kPropertyWriteWithoutResponse, {});
    const GattCharacteristicDescription protocolMode =
        characteristic(Chr::ProtocolMode, kReadWriteCommand, {1});
    if (kind == "keyboard")
        return HidDeviceKind{
            hidService({protocolMode,
                        characteristic(Chr::HidInformation, kRead, hidInformation(kRemoteWakeAndConnectable)),
                        characteristic(Chr::ReportMap, kRead, kKeyboardMap),
                        report(1, kInput, kReadNotify, Bytes(8, 0)), report(1, kOutput, kReadWriteBoth, {0}),
                        report(2, kFeature, kReadWrite, {0}),
                        characteristic(Chr::BootKeyboardInputReport, kReadNotify, Bytes(8, 0)),
                        characteristic(Chr::BootKeyboardOutputReport, kReadWriteBoth, {0}), controlPoint}),
            Chr::BootKeyboardInputReport, 8, typing("Hello from the Orvane keyboard. ")};
    if (kind == "mouse")
        return HidDeviceKind{
            hidService({protocolMode,
                        characteristic(Chr::HidInformation, kRead, hidInformation(kNormallyConnectable)),
                        characteristic(Chr::ReportMap, kRead, kMouseMap),
                        report(1, kInput, kReadNotify, Bytes(4, 0)),
                        characteristic(Chr::BootMouseInputReport, kReadNotify, Bytes(3, 0)), controlPoint}),
            Chr::BootMouseInputReport, 3, square()};
    if (kind == "steeringWheel")
        return HidDeviceKind{
            hidService({characteristic(Chr::HidInformation, kRead, hidInformation(kNormallyConnectable)),
                        characteristic(Chr::ReportMap, kRead, kWheelMap),
                        report(1, kInput, kReadNotify, Bytes(5, 0)), controlPoint}),
            0, 0, wheelPresses()};
    return std::nullopt;
}

} // namespace orv::sim
