// Simulated radio: finding a member that a world's JSON text gives twice in one object.
#include "DuplicateMemberCheck.h"

#include <utility>

namespace orv::sim {
namespace {

using json = nlohmann::json;

// As the world parser names members: "key" at the top, "path.key" below.
std::string memberPath(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

} // namespace

bool DuplicateMemberCheck::operator()(int /*depth*/, json::parse_event_t event, json& parsed) {
    switch (event) {
    case json::parse_event_t::object_start:
    case json::parse_event_t::array_start: {
        Level level;
        level.path = enter();
        level.object = event == json::parse_event_t::object_start;
        m_levels.push_back(std::move(level));
        break;
    }
    case json::parse_event_t::object_end:
    case json::parse_event_t::array_end:
        m_levels.pop_back();
        break;
    case json::parse_event_t::key:
        noteKey(parsed.get<std::string>());
        break;
    case json::parse_event_t::value:
        enter();
        break;
    }
    return true;
}

std::string DuplicateMemberCheck::enter() {
    if (m_levels.empty()) {
        return {};
    }
    Level& level = m_levels.back();
    if (level.object) {
        return memberPath(level.path, level.key);
    }
    return level.path + "[" + std::to_string(level.count++) + "]";
}

void DuplicateMemberCheck::noteKey(std::string key) {
    Level& level = m_levels.back();
    if (!level.keys.insert(key).second && m_duplicate.empty()) {
        m_duplicate = memberPath(level.path, key);
    }
    level.key = std::move(key);
}

} // namespace orv::sim
