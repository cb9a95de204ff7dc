// Fuzz target: the settings store loading an arbitrary file, then every key of it read back.
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// Walks the key tree, reading the values every key of the application may hold.
void walk(const platform::SettingsStore& store, const QString& path, int depth) {
    uint32_t number = 0;
    QString text;
    store.queryDword(path, QStringLiteral("Value"), &number);
    store.queryString(path, QStringLiteral("Value"), &text);
    if (depth == 8) {
        return;
    }
    for (const QString& key : store.subkeys(path)) {
        walk(store, path.isEmpty() ? key : path + QLatin1Char('\\') + key, depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    [[maybe_unused]] static const bool quietened = [] {
        qInstallMessageHandler(quiet);
        return true;
    }();
    // A private folder, removed with whatever the store left in it (a broken file is set aside as
    // "<file>.corrupt"), so that nothing stays behind and every input finds that name free again.
    const QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("tindrel-fuzz-settings-XXXXXX")));
    if (!folder.isValid()) {
        return 0;
    }
    const QString path = folder.filePath(QStringLiteral("settings.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return 0;
    }
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    const platform::SettingsStore store(path);
    walk(store, QString(), 0);
    return 0;
}
