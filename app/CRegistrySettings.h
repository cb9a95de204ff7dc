// The settings object: one open key at a time below the application's settings key.
#pragma once

#include "platform/WinTypes.h"

#include <QString>

class CRegistrySettings {
public:
    // Creates the one instance with base path basePath + "\\" and creates (or opens) that key.
    // A second call keeps the first instance and returns FALSE.
    static BOOL Create(const QString& basePath);
    // The instance, or nullptr before Create.
    static CRegistrySettings* Instance();
    // Drops the instance (tests start each case afresh).
    static void Destroy();

    // Closes the open key, then creates (create == 1) or opens base path + subkey.
    LONG Open(const QString& subkey, int create, DWORD access);
    // Values of the open key.
    LONG QueryDword(const QString& name, DWORD* out) const;
    LONG SetDword(const QString& name, DWORD value);
    LONG QueryString(const QString& name, QString* out) const;
    LONG SetString(const QString& name, const QString& value);
    // Deletes subkey (relative to the base path) with everything below it.
    LONG RecurseDeleteKey(const QString& subkey);

    const QString& basePath() const { return m_basePath; }

private:
    explicit CRegistrySettings(const QString& basePath);

    QString m_basePath; // ends with "\\"
    QString m_openKey;  // full path of the open key; empty when none is open
};
