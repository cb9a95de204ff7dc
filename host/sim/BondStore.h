// Simulated radio: the dongle's non-volatile bond store, kept in a JSON file.
#pragma once

#include "../core/ControllerPort.h"

#include <string>
#include <vector>

namespace orv::sim {

// The file is read on first use after construction or a path change. A missing file gives the seed
// bonds; an unreadable or malformed file gives an empty store and one log line, and the file is not
// written until a bond changes.
class BondStore {
public:
    // Empty path: $XDG_DATA_HOME/tindrel/bonds.json, else ~/.local/share/tindrel/bonds.json.
    void setPath(const std::string& path);
    void setSeed(std::vector<orv::host::BondEntry> seed);

    const std::vector<orv::host::BondEntry>& bonds();
    // Replaces name and appearance of the bond with that address and saves; false when absent
    // or when the file cannot be written.
    bool update(const orv::host::BondEntry& entry);
    // Adds the bond, replacing one with the same address, and saves; false when the file cannot be written.
    bool store(const orv::host::BondEntry& entry);
    // Deletes the bond with that address and saves; false when absent or the file cannot be written.
    bool remove(const BleTypedAddress& address);

    static std::string defaultPath();
    // Reads the bonds of a bond file's text; false with *error filled when it is broken.
    static bool parse(const std::string& text, std::vector<orv::host::BondEntry>& out, std::string* error);

private:
    void loadIfNeeded();
    bool readFile(const std::string& path);
    bool save() const;
    std::string path() const;

    std::string m_path;
    std::vector<orv::host::BondEntry> m_seed;
    std::vector<orv::host::BondEntry> m_bonds;
    bool m_loaded = false;
};

} // namespace orv::sim
