// Simulated radio: finding a member that a world's JSON text gives twice in one object.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace orv::sim {

// A parser callback for nlohmann::json::parse, passed with std::ref. It follows the parse to know where
// each value sits ("peers[1].rssi.mean") and notes the first member given a second time in one object:
// the library keeps the last copy, so a slip could silently replace a whole peer list. It keeps every
// value.
class DuplicateMemberCheck {
public:
    bool operator()(int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed);

    // The path of the first member given twice, empty when there is none.
    const std::string& duplicate() const { return m_duplicate; }

private:
    struct Level {
        std::string path;
        bool object = false;
        size_t count = 0; // array: the elements so far
        std::string key;  // object: the member being read
        std::set<std::string> keys;
    };

    // A value starts: its path, from its container's.
    std::string enter();
    void noteKey(std::string key);

    std::vector<Level> m_levels;
    std::string m_duplicate;
};

} // namespace orv::sim
