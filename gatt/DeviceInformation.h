// Device Information service: the texts of the System ID, certification data and PnP ID values.
#pragma once

#include <QString>

#include <cstdint>
#include <span>

// Vendor ID sources of the PnP ID.
namespace PnpIdSource {
inline constexpr uint8_t BluetoothSig = 1;
inline constexpr uint8_t UsbImplementersForum = 2;
} // namespace PnpIdSource

// The first 8 bytes as one little-endian 64-bit number: "0x" and 16 upper-case hex digits, most
// significant first; further bytes are ignored. "Invalid" for fewer than 8 bytes.
QString SystemIdText(std::span<const uint8_t> value);

// Every byte, last byte first, as two upper-case hex digits each followed by one blank (the last
// one too). Empty for an empty value.
QString CertificationDataText(std::span<const uint8_t> value);

// "BT " or "USB " by the vendor ID source (nothing for other sources), then
// "VID: %04X, PID: %04X, ver major.minor.sub-minor". "Invalid" for fewer than 7 bytes.
QString PnpIdText(std::span<const uint8_t> value);
