// HID over GATT: HID Information, Report Reference, legacy remote flags and the HID windows' texts.
#include "gatt/Hid.h"

#include "gatt/ByteReader.h"
#include "gatt/ValueText.h"

#include <QStringList>

#include <algorithm>

namespace {

bool Bit(uint8_t flags, int bit) {
    return ((flags >> bit) & 1) != 0;
}

bool IsHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

} // namespace

HidInformation HidInformation::decode(std::span<const uint8_t> value) {
    HidInformation info;
    ByteReader reader(value);
    info.version = reader.u16();
    if (!info.version)
        return info;
    if (value.size() >= 5) {
        info.subclass = reader.u8();
        info.country = reader.u8();
        const uint8_t flags = *reader.u8();
        info.reconnectInitiate = Bit(flags, 0);
        info.remoteWake = Bit(flags, 1);
        info.bootDevice = Bit(flags, 2);
        info.normallyConnectable = Bit(flags, 3);
        return info;
    }
    info.country = reader.u8();
    if (const auto flags = reader.u8()) {
        info.remoteWake = Bit(*flags, 0);
        info.normallyConnectable = Bit(*flags, 1);
    }
    return info;
}

std::optional<HidReportReference> HidReportReference::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto id = reader.u8();
    const auto type = reader.u8();
    if (!type)
        return std::nullopt;
    return HidReportReference{*id, *type};
}

std::optional<uint16_t> DecodeLegacyHidFlags(std::span<const uint8_t> value) {
    ByteReader reader(value);
    if (value.size() >= 2)
        return reader.u16();
    return reader.u8();
}

QString HidVersionText(uint16_t version) {
    return QString::asprintf("%d.%d.%d", version >> 8, (version >> 4) & 0x0F, version & 0x0F);
}

QString HidReportTypeName(uint8_t type) {
    switch (type) {
    case HidReportType::Boot:
        return QStringLiteral("BOOT");
    case HidReportType::Input:
        return QStringLiteral("INPUT");
    case HidReportType::Output:
        return QStringLiteral("OUTPUT");
    case HidReportType::Feature:
        return QStringLiteral("FEATURE");
    default:
        return QStringLiteral("UNKNOWN");
    }
}

QString HidReportText(uint8_t id, uint8_t type, std::span<const uint8_t> value) {
    return QStringLiteral("%1 %2 - ").arg(id).arg(HidReportTypeName(type)) + FormatHexBytes(value);
}

QString FormatHexBytes(std::span<const uint8_t> value) {
    return BytesToHexString(value.data(), static_cast<int>(value.size()), QStringLiteral(" "), false);
}

QString FormatBytesDecimal(std::span<const uint8_t> value) {
    QStringList bytes;
    for (const uint8_t byte : value)
        bytes << QString::asprintf("%02d", byte);
    return bytes.join(QLatin1Char(' '));
}

bool FilterHexInput(QString& text) {
    qsizetype taken = 0;
    while (taken < text.size() && (IsHexDigit(text[taken]) || text[taken] == u' ' || text[taken] == u','))
        ++taken;
    const bool whole = taken == text.size();
    text.truncate(taken);
    return whole;
}

std::optional<std::vector<uint8_t>> ParseHexBytes(const QString& text) {
    QString spaced = text;
    spaced.replace(QLatin1Char(','), QLatin1Char(' '));
    std::vector<uint8_t> bytes;
    for (const QString& token : spaced.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (token.size() > 2 || !std::all_of(token.begin(), token.end(), IsHexDigit) ||
            bytes.size() == kMaxTypedReportBytes)
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(token.toUInt(nullptr, 16)));
    }
    if (bytes.empty())
        return std::nullopt;
    return bytes;
}
