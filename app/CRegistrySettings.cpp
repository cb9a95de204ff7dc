#include "app/CRegistrySettings.h"

#include "platform/SettingsStore.h"

#include <memory>

namespace {
std::unique_ptr<CRegistrySettings> g_instance;
} // namespace

CRegistrySettings::CRegistrySettings(const QString& basePath) : m_basePath(basePath + QStringLiteral("\\")) {}

BOOL CRegistrySettings::Create(const QString& basePath) {
    if (g_instance)
        return FALSE;
    g_instance.reset(new CRegistrySettings(basePath));
    return platform::settingsStore().createKey(basePath) == ERROR_SUCCESS ? TRUE : FALSE;
}

CRegistrySettings* CRegistrySettings::Instance() {
    return g_instance.get();
}

void CRegistrySettings::Destroy() {
    g_instance.reset();
}

LONG CRegistrySettings::Open(const QString& subkey, int create, DWORD /*access*/) {
    m_openKey.clear();
    const QString path = m_basePath + subkey;
    auto& store = platform::settingsStore();
    const LONG result = create == 1 ? store.createKey(path) : store.openKey(path);
    if (result == ERROR_SUCCESS)
        m_openKey = path;
    return result;
}

LONG CRegistrySettings::QueryDword(const QString& name, DWORD* out) const {
    if (m_openKey.isEmpty())
        return ERROR_FILE_NOT_FOUND;
    return platform::settingsStore().queryDword(m_openKey, name, out);
}

LONG CRegistrySettings::SetDword(const QString& name, DWORD value) {
    if (m_openKey.isEmpty())
        return ERROR_FILE_NOT_FOUND;
    return platform::settingsStore().setDword(m_openKey, name, value);
}

LONG CRegistrySettings::QueryString(const QString& name, QString* out) const {
    if (m_openKey.isEmpty())
        return ERROR_FILE_NOT_FOUND;
    return platform::settingsStore().queryString(m_openKey, name, out);
}

LONG CRegistrySettings::SetString(const QString& name, const QString& value) {
    if (m_openKey.isEmpty())
        return ERROR_FILE_NOT_FOUND;
    return platform::settingsStore().setString(m_openKey, name, value);
}

LONG CRegistrySettings::RecurseDeleteKey(const QString& subkey) {
    m_openKey.clear();
    return platform::settingsStore().deleteTree(m_basePath + subkey);
}
