#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>
#include <gtest/gtest.h>

namespace platform {
namespace {

const QString kSettings = "Software\\Orvane\\Tindrel\\2.6.0.3\\Settings";

// Counts the warnings logged while it lives.
struct WarningCounter {
    static inline int count = 0;
    QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext&, const QString&) { count += type == QtWarningMsg; });
    WarningCounter() { count = 0; }
    ~WarningCounter() { qInstallMessageHandler(previous); }
};

class SettingsStoreTest : public testing::Test {
protected:
    QString path() const { return m_dir.filePath("Orvane/Tindrel.settings.json"); }

    void writeFile(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray readFile(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsStoreTest, TypedValuesSurviveARestartUnderCaseInsensitiveNamesAndKeys) {
    const QString devices = "Software\\Orvane\\Tindrel\\LE Devices";
    {
        WarningCounter warnings;
        SettingsStore store(path());
        EXPECT_EQ(warnings.count, 0); // a missing file is an empty store
        EXPECT_EQ(store.openKey(kSettings), ERROR_FILE_NOT_FOUND);
        store.setString(kSettings, "Debug", "yes");
        store.setDword(kSettings.toUpper(), "DEBUG", 1); // replaces the type, keeps the first spelling
        store.setDword(kSettings, "Max", 0xFFFFFFFFu);
        store.setString("\\software\\\\orvane\\Tindrel\\LE Devices\\", "Number As Text", "7");
        store.setDword(devices + "\\00:00:00:00:00:02\\Deeper", "X", 2);
        EXPECT_EQ(store.deleteTree(devices.toLower() + "\\00:00:00:00:00:02"), ERROR_SUCCESS);
        EXPECT_EQ(store.deleteTree(""), ERROR_ACCESS_DENIED);
    }
    SettingsStore store(path());
    uint32_t number = 99;
    QString text = "unchanged";
    EXPECT_EQ(store.queryDword(kSettings.toLower(), "debug", &number), ERROR_SUCCESS);
    EXPECT_EQ(number, 1u);
    EXPECT_EQ(store.queryDword(kSettings, "Max", &number), ERROR_SUCCESS);
    EXPECT_EQ(number, 0xFFFFFFFFu);
    EXPECT_TRUE(readFile(path()).contains("\"Debug\""));
    EXPECT_EQ(store.subkeys("Software\\Orvane\\Tindrel"), (QStringList{"2.6.0.3", "LE Devices"}));
    EXPECT_TRUE(store.subkeys(devices).isEmpty());
    EXPECT_EQ(store.queryDword(devices, "Number As Text", &number), ERROR_INVALID_DATA);
    EXPECT_EQ(store.queryString(kSettings, "Debug", &text), ERROR_INVALID_DATA);
    EXPECT_EQ(store.queryDword(kSettings, "Missing", &number), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.queryDword("Software\\Nowhere", "Debug", &number), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(number, 0xFFFFFFFFu);
    EXPECT_EQ(text, "unchanged");
}

TEST_F(SettingsStoreTest, ABrokenFileGivesAnEmptyStoreOneWarningAndIsKeptAside) {
    const QByteArray cases[] = {
        "not json at all",
        "{\"values\": [], \"subkeys\": [",
        "[1, 2, 3]",
        "{\"values\": []}",
        "{\"values\": [{\"name\": \"Debug\", \"type\": \"dword\", \"data\": -1}], \"subkeys\": []}",
        "{\"values\": [{\"name\": \"Debug\", \"type\": \"dword\", \"data\": 4294967296}], \"subkeys\": []}",
        "{\"values\": [{\"name\": \"Debug\", \"type\": \"dword\", \"data\": 1.5}], \"subkeys\": []}",
        "{\"values\": [{\"name\": \"Debug\", \"type\": \"dword\", \"data\": \"1\"}], \"subkeys\": []}",
        "{\"values\": [{\"name\": \"Debug\", \"type\": \"binary\", \"data\": 1}], \"subkeys\": []}",
        "{\"values\": [{\"name\": \"a\", \"type\": \"dword\", \"data\": 1},"
        " {\"name\": \"A\", \"type\": \"dword\", \"data\": 2}], \"subkeys\": []}",
        "{\"values\": [], \"subkeys\": [{\"name\": \"a\\\\b\", \"values\": [], \"subkeys\": []}]}",
        "{\"values\": [], \"subkeys\": [{\"values\": [], \"subkeys\": []}]}",
        "{\"values\": [], \"subkeys\": [{\"name\": \"k\", \"values\": [], \"subkeys\": [7]}]}",
        QByteArray("\xff\xfe\x00\x01", 4),
    };
    for (const QByteArray& bytes : cases) {
        SCOPED_TRACE(bytes.toStdString());
        QFile::remove(path() + ".corrupt");
        writeFile(bytes);
        WarningCounter warnings;
        SettingsStore store(path());
        EXPECT_EQ(warnings.count, 1);
        EXPECT_FALSE(store.loadWarning().isEmpty());
        EXPECT_TRUE(store.subkeys("").isEmpty());
        EXPECT_EQ(store.setDword(kSettings, "Debug", 1), ERROR_SUCCESS);
        EXPECT_EQ(readFile(path() + ".corrupt"), bytes);
        EXPECT_EQ(SettingsStore(path()).queryDword(kSettings, "Debug", nullptr), ERROR_SUCCESS);
    }
    writeFile("second broken"); // an earlier set-aside file is not overwritten
    SettingsStore store(path());
    EXPECT_EQ(readFile(path() + ".corrupt.1"), "second broken");
    EXPECT_TRUE(store.loadWarning().contains(".corrupt.1"));
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadIsNeitherLostNorOverwritten) {
    // A directory where the file should be, and every set-aside name taken.
    QDir().mkpath(path());
    for (int n = 0; n <= 100; ++n)
        QDir().mkpath(path() + (n == 0 ? QString(".corrupt") : QString(".corrupt.%1").arg(n)));
    WarningCounter warnings;
    SettingsStore store(path());
    EXPECT_EQ(warnings.count, 1);
    EXPECT_EQ(store.setDword(kSettings, "Debug", 1), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_EQ(store.queryDword(kSettings, "Debug", nullptr), ERROR_SUCCESS);
}

TEST_F(SettingsStoreTest, SavingLeavesNoTemporaryFilesAndAFailedSaveIsReportedOnce) {
    SettingsStore store(path());
    for (uint32_t i = 0; i < 5; ++i)
        store.setDword(kSettings, "Debug", i);
    EXPECT_EQ(QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Tindrel.settings.json"});

    QFile blocker(m_dir.filePath("blocker")); // a file where the directory should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    SettingsStore blocked(blocker.fileName() + "/settings.json");
    WarningCounter warnings;
    EXPECT_EQ(blocked.setDword(kSettings, "Debug", 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(warnings.count, 1);
    EXPECT_EQ(blocked.queryDword(kSettings, "Debug", nullptr), ERROR_SUCCESS);
}

} // namespace
} // namespace platform
