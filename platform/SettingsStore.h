// The per-user settings store: a typed key tree standing in for the registry, saved to a JSON file.
#pragma once

#include "platform/WinTypes.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace platform {

struct SettingsNode;

// Keys are paths with backslash separators ("Software\\Orvane\\Tindrel"); empty segments are ignored
// and the empty path is the root. Each key holds named values (DWORD or string) and subkeys. Key and
// value names compare case-insensitively and keep the case they were created with.
//
// Every change is written to the file at once, atomically (a temporary file renamed over the old
// one). A file that cannot be read or parsed gives an empty store and one warning; it is renamed to
// "<file>.corrupt" before anything is written, so its contents are never lost. When it cannot be
// set aside, nothing is written at all. Used from the UI thread only.
class SettingsStore {
public:
    explicit SettingsStore(QString filePath = defaultFilePath());
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // "$XDG_CONFIG_HOME/Orvane/Tindrel.settings.json".
    static QString defaultFilePath();

    QString filePath() const { return m_filePath; }
    // Why the file was not loaded, empty when it was (or did not exist).
    QString loadWarning() const { return m_loadWarning; }

    // Mutators return ERROR_SUCCESS, or ERROR_ACCESS_DENIED when the change could not be saved (it is
    // kept in memory and saved with the next change that can be).
    LONG createKey(const QString& path);
    // ERROR_SUCCESS when the key exists, else ERROR_FILE_NOT_FOUND.
    LONG openKey(const QString& path) const;
    // Deletes the key with all its values and subkeys. ERROR_FILE_NOT_FOUND when absent; the root
    // cannot be deleted (ERROR_ACCESS_DENIED).
    LONG deleteTree(const QString& path);
    // The setters create the key when it does not exist yet and replace a value of either type.
    LONG setDword(const QString& path, const QString& name, uint32_t value);
    LONG setString(const QString& path, const QString& name, const QString& value);
    // ERROR_FILE_NOT_FOUND when the key or the value is missing, ERROR_INVALID_DATA when the value has
    // the other type. out may be null to test for the value only.
    LONG queryDword(const QString& path, const QString& name, uint32_t* out) const;
    LONG queryString(const QString& path, const QString& name, QString* out) const;
    // Names of the key's direct subkeys in case-insensitive order; empty when the key is missing.
    QStringList subkeys(const QString& path) const;

private:
    void load();
    void setAside(const QString& reason);
    LONG save();
    SettingsNode* find(const QString& path) const;
    SettingsNode* findOrCreate(const QString& path, bool* created);

    QString m_filePath;
    QString m_loadWarning;
    bool m_saveBlocked = false;
    std::unique_ptr<SettingsNode> m_root;
};

// The store the application uses; the one at the default path unless another was installed.
SettingsStore& settingsStore();
// Installs a store (not owned); nullptr restores the default one.
void setSettingsStore(SettingsStore* store);

} // namespace platform
