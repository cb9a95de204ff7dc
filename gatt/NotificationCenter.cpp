// Notification center provider: the Notification Source value, the Control Point request and the Data
// Source stream.
#include "gatt/NotificationCenter.h"

#include "gatt/ByteReader.h"

#include <algorithm>

namespace {

const char* const kSampleApplication = "com.orvane.tindrel.notifications";
const char* const kSampleCaller = "+44 1632 960 451";
const char* const kSampleDate = "13/12/13 20:12:12";

struct Sample {
    const char* title;
    const char* subtitle;
    const char* message;
    const char* messageSize;
};

// By category id 0-11; category 0 stands for any other as well.
constexpr Sample kSamples[] = {
    {"other", "other", "hello", "5"},
    {nullptr, "Marla", "Incoming Call", "13"},
    {nullptr, "Marla", "Missed Call", "11"},
    {nullptr, "Marla", "Voice mail", "10"},
    {"Facebook", "Friends", "Social", "6"},
    {"Meeting", "Lunch", "Schedule", "8"},
    {"Hello", "From ORV", "Email", "5"},
    {"News Flash", "From ORV", "News", "4"},
    {"Weight", "56 kg", "Health and Fitness", "18"},
    {"Share price", "ORV", "Business and Finance", "20"},
    {"Current Location", "Earth", "Location", "8"},
    {"TV Show", "Show Time", "Entertainment", "13"},
};

bool HasMaximumLength(uint8_t attributeId) {
    return attributeId == AncsAttribute::Title || attributeId == AncsAttribute::Subtitle ||
           attributeId == AncsAttribute::Message;
}

void SendFull(AncsDataSourceBuffer& buffer, AncsPieces& sent) {
    sent.emplace_back(buffer.bytes.begin(), buffer.bytes.end());
    buffer.bytes.fill(0);
    buffer.used = 0;
}

void AppendByte(uint8_t byte, AncsDataSourceBuffer& buffer, AncsPieces& sent) {
    if (buffer.used == kAncsPieceSize)
        SendFull(buffer, sent);
    buffer.bytes[static_cast<size_t>(buffer.used++)] = byte;
}

} // namespace

std::array<uint8_t, 8> AncsNotificationRecord::NotificationSource() const {
    const uint32_t uid = notificationUid;
    return {eventId,
            eventFlags,
            categoryId,
            categoryCount,
            static_cast<uint8_t>(uid),
            static_cast<uint8_t>(uid >> 8),
            static_cast<uint8_t>(uid >> 16),
            static_cast<uint8_t>(uid >> 24)};
}

AncsAttributeBlock AncsDemoAttributes(uint8_t categoryId) {
    const Sample& sample = categoryId < std::size(kSamples) ? kSamples[categoryId] : kSamples[0];
    return {kSampleApplication, sample.title ? sample.title : kSampleCaller,
            sample.subtitle,    sample.message,
            sample.messageSize, kSampleDate};
}

std::optional<AncsControlPointRequest> DecodeAncsControlPoint(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto commandId = reader.u8();
    const auto uid = reader.u32();
    if (!commandId || !uid)
        return std::nullopt;
    AncsControlPointRequest request{*commandId, *uid, {}};
    if (*commandId != kAncsGetNotificationAttributes)
        return request;
    while (const auto id = reader.u8()) {
        request.attributeIds.push_back(*id);
        if (HasMaximumLength(*id) && reader.remaining() >= 2)
            (void)reader.u16();
    }
    return request;
}

int AppendAttribute(uint8_t attributeId, std::string_view value, AncsDataSourceBuffer& buffer,
                    AncsPieces& sent) {
    if (value.empty())
        return kAncsPieceSize - buffer.used;
    const auto length = static_cast<uint16_t>(value.size());
    for (const uint8_t byte : {attributeId, static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8)})
        AppendByte(byte, buffer, sent);
    if (buffer.used == kAncsPieceSize)
        SendFull(buffer, sent);
    size_t copied = 0;
    const size_t total = std::min<size_t>(value.size(), length);
    while (total - copied >= static_cast<size_t>(kAncsPieceSize - buffer.used)) {
        const auto room = static_cast<size_t>(kAncsPieceSize - buffer.used);
        std::copy_n(value.begin() + static_cast<std::ptrdiff_t>(copied), room,
                    buffer.bytes.begin() + buffer.used);
        copied += room;
        buffer.used = kAncsPieceSize;
        SendFull(buffer, sent);
    }
    std::copy(value.begin() + static_cast<std::ptrdiff_t>(copied),
              value.begin() + static_cast<std::ptrdiff_t>(total), buffer.bytes.begin() + buffer.used);
    buffer.used += static_cast<int>(total - copied);
    return kAncsPieceSize - buffer.used;
}

AncsPieces AncsDataSourceAnswer(const AncsControlPointRequest& request,
                                const std::vector<AncsAttributeBlock>& blocks) {
    AncsDataSourceBuffer buffer;
    const uint32_t uid = request.notificationUid;
    buffer.bytes = {request.commandId, static_cast<uint8_t>(uid), static_cast<uint8_t>(uid >> 8),
                    static_cast<uint8_t>(uid >> 16), static_cast<uint8_t>(uid >> 24)};
    buffer.used = 5;
    AncsPieces sent;
    for (const AncsAttributeBlock& block : blocks)
        for (const uint8_t id : request.attributeIds)
            AppendAttribute(id, id < block.size() ? std::string_view(block[id]) : std::string_view(), buffer,
                            sent);
    if (buffer.used > 0)
        sent.emplace_back(buffer.bytes.begin(), buffer.bytes.begin() + buffer.used);
    return sent;
}
