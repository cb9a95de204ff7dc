// Notification center provider: the Notification Source value, the Control Point request and the Data
// Source stream.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Attribute ids of Get Notification Attributes, which index an attribute block.
namespace AncsAttribute {
inline constexpr uint8_t AppIdentifier = 0;
inline constexpr uint8_t Title = 1;
inline constexpr uint8_t Subtitle = 2;
inline constexpr uint8_t Message = 3;
inline constexpr uint8_t MessageSize = 4;
inline constexpr uint8_t Date = 5;
} // namespace AncsAttribute

inline constexpr uint8_t kAncsGetNotificationAttributes = 0;

// The six attribute strings of one block, by attribute id (UTF-8, no terminator on the air).
using AncsAttributeBlock = std::array<std::string, 6>;

// One notification of the provider's store: one per category.
struct AncsNotificationRecord {
    uint8_t eventId = 0;    // 0 Added, 1 Modified, 2 Removed
    uint8_t eventFlags = 1; // 1 Silent, 2 Important
    uint8_t categoryId = 0;
    uint8_t categoryCount = 1;
    uint32_t notificationUid = 0;
    std::vector<AncsAttributeBlock> blocks;

    // EventID, EventFlags, CategoryID, CategoryCount, NotificationUID (little-endian).
    std::array<uint8_t, 8> NotificationSource() const;
};

// The provider's side of one connection, kept by the main window and handed to the window: the local
// attribute handles (0 until the database is registered) and the peer's two subscriptions.
struct AncsServerState {
    uint16_t controlPoint = 0;
    uint16_t notificationSource = 0;
    uint16_t notificationSourceConfig = 0;
    uint16_t dataSource = 0;
    uint16_t dataSourceConfig = 0;
    bool notificationSourceOn = false;
    bool dataSourceOn = false;
};

// The built-in sample attributes of a category; an unknown category gets those of "Other".
AncsAttributeBlock AncsDemoAttributes(uint8_t categoryId);

// A Control Point write: the command and the UID; for Get Notification Attributes the attribute ids
// asked for, in order (the maximum lengths of Title, Subtitle and Message are read past, not kept).
struct AncsControlPointRequest {
    uint8_t commandId = 0;
    uint32_t notificationUid = 0;
    std::vector<uint8_t> attributeIds;

    bool operator==(const AncsControlPointRequest&) const = default;
};

// nullopt for a value shorter than the command and the UID. A maximum length is read only when both
// of its bytes are in the value; a lone trailing byte is taken as the next attribute id.
std::optional<AncsControlPointRequest> DecodeAncsControlPoint(std::span<const uint8_t> value);

// The Data Source stream is sent in notifications of exactly this many bytes; the last carries the rest.
inline constexpr int kAncsPieceSize = 20;

struct AncsDataSourceBuffer {
    std::array<uint8_t, kAncsPieceSize> bytes{};
    int used = 0;
};
using AncsPieces = std::vector<std::vector<uint8_t>>;

// Appends one attribute (id, u16 length, the value's bytes) to the stream: each time the buffer is
// full it goes to sent as one piece and starts again empty. An empty value is not appended. Returns
// the room left in the buffer.
int AppendAttribute(uint8_t attributeId, std::string_view value, AncsDataSourceBuffer& buffer,
                    AncsPieces& sent);

// The whole answer to request for a record with these blocks, in pieces: the command and UID, then
// for every block every attribute asked for (unknown ids and empty values give nothing).
AncsPieces AncsDataSourceAnswer(const AncsControlPointRequest& request,
                                const std::vector<AncsAttributeBlock>& blocks);
