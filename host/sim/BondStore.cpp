// Simulated radio: the dongle's non-volatile bond store, kept in a JSON file.
#include "BondStore.h"

#include "AddressText.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace orv::sim {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// An integer in 0..0xFFFF, 0 when absent; a fraction or a float would otherwise be cut or overflow.
uint16_t readAppearance(const json& node) {
    const auto it = node.find("appearance");
    if (it == node.end()) {
        return 0;
    }
    // An unsigned value beyond int64_t reads as negative here and is refused with the rest.
    if (const int64_t value = it->is_number_integer() ? it->get<int64_t>() : -1;
        value >= 0 && value <= 0xFFFF) {
        return static_cast<uint16_t>(value);
    }
    throw std::runtime_error("appearance " + it->dump() + " is not an integer in 0..65535");
}

orv::host::BondEntry readBond(const json& node) {
    const std::string type = node.value("addressType", std::string("public"));
    const auto address = parseAddress(node.at("address").get<std::string>(), type == "random" ? 1 : 0);
    if (!address) {
        throw std::runtime_error("bad address \"" + node.at("address").get<std::string>() + "\"");
    }
    orv::host::BondEntry entry;
    entry.address = *address;
    entry.name = node.value("name", std::string());
    entry.appearance = readAppearance(node);
    return entry;
}

} // namespace

void BondStore::setPath(const std::string& path) {
    m_path = path;
    m_loaded = false;
}

void BondStore::setSeed(std::vector<orv::host::BondEntry> seed) {
    m_seed = std::move(seed);
    m_loaded = false;
}

const std::vector<orv::host::BondEntry>& BondStore::bonds() {
    loadIfNeeded();
    return m_bonds;
}

bool BondStore::update(const orv::host::BondEntry& entry) {
    loadIfNeeded();
    for (auto& bond : m_bonds) {
        if (sameAddress(bond.address, entry.address)) {
            bond.name = entry.name;
            bond.appearance = entry.appearance;
            return save();
        }
    }
    return false;
}

bool BondStore::store(const orv::host::BondEntry& entry) {
    loadIfNeeded();
    std::erase_if(m_bonds, [&entry](const auto& bond) { return sameAddress(bond.address, entry.address); });
    m_bonds.push_back(entry);
    return save();
}

bool BondStore::remove(const BleTypedAddress& address) {
    loadIfNeeded();
    const auto removed =
        std::erase_if(m_bonds, [&address](const auto& bond) { return sameAddress(bond.address, address); });
    return removed != 0 && save();
}

std::string BondStore::defaultPath() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && *dataHome != '\0') {
        return (fs::path(dataHome) / "tindrel" / "bonds.json").string();
    }
    const char* home = std::getenv("HOME");
    return (fs::path(home != nullptr ? home : ".") / ".local" / "share" / "tindrel" / "bonds.json").string();
}

std::string BondStore::path() const {
    return m_path.empty() ? defaultPath() : m_path;
}

void BondStore::loadIfNeeded() {
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    const std::string file = path();
    std::error_code ignored;
    if (!fs::exists(file, ignored)) {
        m_bonds = m_seed;
        return;
    }
    if (!readFile(file)) {
        m_bonds.clear();
    }
}

bool BondStore::readFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        std::cerr << "veyrasim: cannot read bond file " << file << "; starting with no bonds\n";
        return false;
    }
    std::string error;
    std::vector<orv::host::BondEntry> bonds;
    if (!parse(text.str(), bonds, &error)) {
        std::cerr << "veyrasim: bond file " << file << " is broken (" << error
                  << "); starting with no bonds, the file is kept until a bond changes\n";
        return false;
    }
    m_bonds = std::move(bonds);
    return true;
}

bool BondStore::parse(const std::string& text, std::vector<orv::host::BondEntry>& out, std::string* error) {
    try {
        const json root = json::parse(text);
        std::vector<orv::host::BondEntry> bonds;
        for (const json& node : root.at("bonds")) {
            bonds.push_back(readBond(node));
        }
        out = std::move(bonds);
        return true;
    } catch (const std::exception& e) {
        *error = e.what();
        return false;
    }
}

bool BondStore::save() const {
    json list = json::array();
    for (const auto& bond : m_bonds) {
        list.push_back({{"address", formatAddress(bond.address)},
                        {"addressType", bond.address.type == 1 ? "random" : "public"},
                        {"name", bond.name},
                        {"appearance", bond.appearance}});
    }
    const json root = {{"bonds", list}};
    const fs::path file = path();
    const fs::path temporary = file.string() + ".tmp";
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << root.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
        if (!out.flush()) {
            std::cerr << "veyrasim: cannot write bond file " << temporary.string() << '\n';
            return false;
        }
    }
    fs::rename(temporary, file, error);
    if (error) {
        std::cerr << "veyrasim: cannot replace bond file " << file.string() << ": " << error.message()
                  << '\n';
        return false;
    }
    return true;
}

} // namespace orv::sim
