#include "platform/StringTable.h"

#include <unordered_map>

namespace platform {
namespace {

std::unordered_map<UINT, QString>& table() {
    static std::unordered_map<UINT, QString> strings;
    return strings;
}

} // namespace

void installStringTable(std::vector<std::pair<UINT, QString>> entries) {
    auto& strings = table();
    strings.clear();
    for (auto& [id, text] : entries)
        strings[id] = std::move(text);
}

QString LoadString(UINT id) {
    const auto& strings = table();
    auto it = strings.find(id);
    return it == strings.end() ? QString() : it->second;
}

} // namespace platform
