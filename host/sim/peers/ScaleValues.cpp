// Weight Scale and Body Composition services: the measurement values as a simulated scale sends them.
#include "ScaleValues.h"

#include <chrono>

namespace orv::sim {
namespace {

constexpr uint8_t kWeightImperial = 0x01;
constexpr uint8_t kWeightTimeStamp = 0x02;
constexpr uint8_t kWeightUserId = 0x04;
constexpr uint8_t kWeightBmiAndHeight = 0x08;

constexpr uint16_t kBodyImperial = 0x0001;
constexpr uint16_t kBodyTimeStamp = 0x0002;
constexpr uint16_t kBodyUserId = 0x0004;
constexpr uint16_t kBodyMultiplePacket = 0x1000;
constexpr size_t kHeaderLength = 4; // flags and body fat

void put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void putTimeStamp(std::vector<uint8_t>& out, const ScaleTimeStamp& stamp) {
    put16(out, stamp.year);
    out.insert(out.end(), {stamp.month, stamp.day, stamp.hours, stamp.minutes, stamp.seconds});
}

uint16_t fieldFlag(size_t field) {
    return static_cast<uint16_t>(1u << (field + 3));
}

} // namespace

ScaleTimeStamp ScaleTimeStamp::fromSeconds(uint64_t seconds) {
    constexpr std::chrono::sys_days kStart = std::chrono::year{2026} / std::chrono::January / 1;
    const auto days = static_cast<int>(seconds / 86400);
    const std::chrono::year_month_day date{kStart + std::chrono::days{days}};
    const uint64_t inDay = seconds % 86400;
    return {static_cast<uint16_t>(static_cast<int>(date.year())),
            static_cast<uint8_t>(static_cast<unsigned>(date.month())),
            static_cast<uint8_t>(static_cast<unsigned>(date.day())),
            static_cast<uint8_t>(inDay / 3600),
            static_cast<uint8_t>(inDay / 60 % 60),
            static_cast<uint8_t>(inDay % 60)};
}

std::vector<uint8_t> ScaleWeightMeasurement::encode() const {
    const bool bmiAndHeight = bmi.has_value() && height.has_value();
    const uint8_t flags = (imperial ? kWeightImperial : 0) | (timeStamp ? kWeightTimeStamp : 0) |
                          (userId ? kWeightUserId : 0) | (bmiAndHeight ? kWeightBmiAndHeight : 0);
    std::vector<uint8_t> out{flags};
    put16(out, weight);
    if (timeStamp) {
        putTimeStamp(out, *timeStamp);
    }
    if (userId) {
        out.push_back(*userId);
    }
    if (bmiAndHeight) {
        put16(out, *bmi);
        put16(out, *height);
    }
    return out;
}

std::vector<std::vector<uint8_t>> ScaleBodyComposition::packets(size_t maxLength) const {
    const uint16_t unitFlag = imperial ? kBodyImperial : 0;
    uint16_t firstFlags = unitFlag | (timeStamp ? kBodyTimeStamp : 0) | (userId ? kBodyUserId : 0);
    std::vector<uint8_t> first;
    if (timeStamp) {
        putTimeStamp(first, *timeStamp);
    }
    if (userId) {
        first.push_back(*userId);
    }
    // Fields in order: those that fit go into the first packet, the rest into later ones.
    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> later;
    const bool split = [&] {
        size_t length = kHeaderLength + first.size();
        for (const auto& field : fields) {
            length += field ? 2 : 0;
        }
        return length > maxLength;
    }();
    for (size_t i = 0; i < kFieldCount; ++i) {
        if (!fields[i]) {
            continue;
        }
        if (later.empty() && kHeaderLength + first.size() + 2 <= maxLength) {
            firstFlags |= fieldFlag(i);
            put16(first, *fields[i]);
            continue;
        }
        if (later.empty() || kHeaderLength + later.back().second.size() + 2 >= kFirstPacketMinimum) {
            later.push_back({static_cast<uint16_t>(unitFlag | kBodyMultiplePacket), {}});
        }
        later.back().first |= fieldFlag(i);
        put16(later.back().second, *fields[i]);
    }
    std::vector<std::vector<uint8_t>> packets;
    const auto packet = [&](uint16_t flags, const std::vector<uint8_t>& body) {
        std::vector<uint8_t> out;
        put16(out, flags);
        put16(out, bodyFat);
        out.insert(out.end(), body.begin(), body.end());
        packets.push_back(std::move(out));
    };
    packet(split ? static_cast<uint16_t>(firstFlags | kBodyMultiplePacket) : firstFlags, first);
    for (const auto& [flags, body] : later) {
        packet(flags, body);
    }
    return packets;
}

} // namespace orv::sim
