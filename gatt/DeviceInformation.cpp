// Device Information service: the texts of the System ID, certification data and PnP ID values.
#include "gatt/DeviceInformation.h"

#include "gatt/ByteReader.h"
#include "gatt/ValueText.h"

namespace {

constexpr int kSystemIdWords = 4; // 8 bytes

const QString kInvalid = QStringLiteral("Invalid");

QString HexWord(uint16_t value) {
    return QString::asprintf("%04X", value);
}

QString SourcePrefix(uint8_t source) {
    switch (source) {
    case PnpIdSource::BluetoothSig:
        return QStringLiteral("BT ");
    case PnpIdSource::UsbImplementersForum:
        return QStringLiteral("USB ");
    default:
        return {};
    }
}

} // namespace

QString SystemIdText(std::span<const uint8_t> value) {
    ByteReader reader(value);
    uint64_t id = 0;
    for (int word = 0; word < kSystemIdWords; ++word) {
        const auto bits = reader.u16();
        if (!bits) {
            return kInvalid;
        }
        id |= static_cast<uint64_t>(*bits) << (16 * word);
    }
    return QString::asprintf("0x%016llX", static_cast<unsigned long long>(id));
}

QString CertificationDataText(std::span<const uint8_t> value) {
    return BytesToHexString(value.data(), static_cast<int>(value.size()), QStringLiteral(" "), true);
}

QString PnpIdText(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto source = reader.u8();
    const auto vendor = reader.u16();
    const auto product = reader.u16();
    const auto minor = reader.u8(); // bits 7-4 minor, bits 3-0 sub-minor
    const auto major = reader.u8();
    if (!source || !vendor || !product || !minor || !major) {
        return kInvalid;
    }
    return SourcePrefix(*source) + QStringLiteral("VID: ") + HexWord(*vendor) + QStringLiteral(", PID: ") +
           HexWord(*product) + QString::asprintf(", ver %d.%d.%d", *major, *minor >> 4, *minor & 0x0F);
}
