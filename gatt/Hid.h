// HID over GATT: HID Information, Report Reference, legacy remote flags and the HID windows' texts.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Report types of a Report Reference; the HID window shows 0 for the boot reports.
namespace HidReportType {
inline constexpr uint8_t Boot = 0;
inline constexpr uint8_t Input = 1;
inline constexpr uint8_t Output = 2;
inline constexpr uint8_t Feature = 3;
// A report whose Report Reference has not been read (or was too short): matches no report type.
inline constexpr uint8_t Unknown = 0xFF;
} // namespace HidReportType

// Protocol Mode values.
namespace HidProtocolMode {
inline constexpr uint8_t Boot = 0;
inline constexpr uint8_t Report = 1;
} // namespace HidProtocolMode

// HID Control Point commands.
namespace HidControlCommand {
inline constexpr uint8_t Suspend = 0;
inline constexpr uint8_t ExitSuspend = 1;
} // namespace HidControlCommand

// HID Information as the HID window shows it; a field the value does not hold stays empty ("N/A").
// Five bytes or more: version, device subclass, country code, flags (bit 0 reconnect initiate, 1 remote
// wake, 2 boot device, 3 normally connectable). Fewer bytes are the HID service's own layout: version,
// country code, flags (bit 0 remote wake, bit 1 normally connectable), as far as the value goes.
struct HidInformation {
    std::optional<uint16_t> version;
    std::optional<uint8_t> subclass;
    std::optional<uint8_t> country;
    std::optional<bool> reconnectInitiate;
    std::optional<bool> remoteWake;
    std::optional<bool> bootDevice;
    std::optional<bool> normallyConnectable;

    static HidInformation decode(std::span<const uint8_t> value);

    bool operator==(const HidInformation&) const = default;
};

// A Report characteristic of a HID service, by its value handle: id and type as its Report Reference
// gives them (unknown until it is read), and its client configuration handle (0 when it has none).
struct HidReportEntry {
    uint8_t id = 0;
    uint8_t type = HidReportType::Unknown;
    uint16_t configHandle = 0;
};

struct HidReportReference {
    uint8_t id = 0;
    uint8_t type = HidReportType::Unknown;

    // nullopt when the value is shorter than its two bytes.
    static std::optional<HidReportReference> decode(std::span<const uint8_t> value);

    bool operator==(const HidReportReference&) const = default;
};

// The legacy remote's Flags: two bytes little-endian; one byte gives the low byte; nullopt when empty.
std::optional<uint16_t> DecodeLegacyHidFlags(std::span<const uint8_t> value);

// "%d.%d.%d" of the version's high byte and its two low nibbles: 0x0111 is "1.1.1".
QString HidVersionText(uint16_t version);
// "BOOT", "INPUT", "OUTPUT", "FEATURE", anything else "UNKNOWN".
QString HidReportTypeName(uint8_t type);
// "<id> <type name> - " followed by the bytes in hexadecimal, each with a blank after it.
QString HidReportText(uint8_t id, uint8_t type, std::span<const uint8_t> value);

// "%02X " for every byte, a blank after the last one too.
QString FormatHexBytes(std::span<const uint8_t> value);
// "%02d" for every byte, separated by one blank; empty for no bytes.
QString FormatBytesDecimal(std::span<const uint8_t> value);

// The characters of a report edit: hexadecimal digits, blank and comma. Cuts text at the first other
// character; true when nothing was cut.
bool FilterHexInput(QString& text);

// At most this many bytes are typed for one report.
inline constexpr size_t kMaxTypedReportBytes = 20;
// Bytes typed as hexadecimal tokens of one or two digits separated by blanks or commas (several in a
// row are one separator). nullopt when there is no byte, a token is longer than two characters or not
// hexadecimal, or there are more than kMaxTypedReportBytes bytes.
std::optional<std::vector<uint8_t>> ParseHexBytes(const QString& text);
