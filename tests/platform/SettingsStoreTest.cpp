#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>
#include <gtest/gtest.h>

namespace platform {
namespace {

const QString kSettings = "Software\\Orvane\\Tindrel\\2.6.0.3\\Settings";

// Counts the warnings logged while it lives.
class WarningCounter {
public:
    WarningCounter() {
        s_count = 0;
        m_previous = qInstallMessageHandler(&WarningCounter::handle);
    }
    ~WarningCounter() { qInstallMessageHandler(m_previous); }
    int count() const { return s_count; }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString&) {
        if (type == QtWarningMsg)
            ++s_count;
    }
    static inline int s_count = 0;
    QtMessageHandler m_previous;
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

TEST_F(SettingsStoreTest, ValuesSurviveARestartWithTheirTypes) {
    {
        SettingsStore store(path());
        ASSERT_EQ(store.setDword(kSettings, "Debug", 1), ERROR_SUCCESS);
        ASSERT_EQ(store.setString(kSettings, "Threshold Pressure", "2.2"), ERROR_SUCCESS);
        ASSERT_EQ(store.setDword(kSettings, "Max", 0xFFFFFFFFu), ERROR_SUCCESS);
        ASSERT_EQ(store.setString(kSettings, "Number As Text", "7"), ERROR_SUCCESS);
    }
    SettingsStore reloaded(path());
    EXPECT_TRUE(reloaded.loadWarning().isEmpty());
    uint32_t number = 0;
    QString text;
    EXPECT_EQ(reloaded.queryDword(kSettings, "Debug", &number), ERROR_SUCCESS);
    EXPECT_EQ(number, 1u);
    EXPECT_EQ(reloaded.queryDword(kSettings, "Max", &number), ERROR_SUCCESS);
    EXPECT_EQ(number, 0xFFFFFFFFu);
    EXPECT_EQ(reloaded.queryString(kSettings, "Threshold Pressure", &text), ERROR_SUCCESS);
    EXPECT_EQ(text, "2.2");
    EXPECT_EQ(reloaded.queryDword(kSettings, "Number As Text", &number), ERROR_INVALID_DATA);
}

TEST_F(SettingsStoreTest, QueriesReportMissingAndWronglyTypedValues) {
    SettingsStore store(path());
    store.setDword(kSettings, "Debug", 1);
    store.setString(kSettings, "Name", "x");
    uint32_t number = 99;
    QString text = "unchanged";
    EXPECT_EQ(store.queryDword("Software\\Nowhere", "Debug", &number), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.queryDword(kSettings, "Missing", &number), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.queryDword(kSettings, "Name", &number), ERROR_INVALID_DATA);
    EXPECT_EQ(store.queryString(kSettings, "Debug", &text), ERROR_INVALID_DATA);
    EXPECT_EQ(number, 99u);
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(store.queryDword(kSettings, "Debug", nullptr), ERROR_SUCCESS);
}

TEST_F(SettingsStoreTest, KeyAndValueNamesCompareCaseInsensitivelyAndKeepTheirCase) {
    SettingsStore store(path());
    store.createKey("Software\\Orvane\\LE Devices\\00:1A:7D:DA:71:0A");
    store.setDword("software\\ORVANE\\le devices\\00:1a:7d:da:71:0a", "Appearance", 833);
    uint32_t appearance = 0;
    EXPECT_EQ(store.queryDword("SOFTWARE\\orvane\\Le Devices\\00:1A:7D:DA:71:0A", "APPEARANCE", &appearance),
              ERROR_SUCCESS);
    EXPECT_EQ(appearance, 833u);
    EXPECT_EQ(store.subkeys("Software\\Orvane"), QStringList{"LE Devices"});
    EXPECT_EQ(store.subkeys("Software\\Orvane\\le devices"), QStringList{"00:1A:7D:DA:71:0A"});
}

TEST_F(SettingsStoreTest, SettingAValueAgainReplacesItsTypeAndKeepsItsName) {
    SettingsStore store(path());
    store.setString(kSettings, "Debug", "yes");
    store.setDword(kSettings, "DEBUG", 1);
    uint32_t number = 0;
    EXPECT_EQ(store.queryDword(kSettings, "debug", &number), ERROR_SUCCESS);
    EXPECT_EQ(number, 1u);
    EXPECT_FALSE(readFile(path()).contains("DEBUG"));
    EXPECT_TRUE(readFile(path()).contains("\"Debug\""));
}

TEST_F(SettingsStoreTest, KeysExistOnlyOnceCreated) {
    SettingsStore store(path());
    EXPECT_EQ(store.openKey(kSettings), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.createKey(kSettings), ERROR_SUCCESS);
    EXPECT_EQ(store.openKey(kSettings), ERROR_SUCCESS);
    EXPECT_EQ(store.openKey("Software\\Orvane"), ERROR_SUCCESS);
    EXPECT_EQ(store.createKey(kSettings), ERROR_SUCCESS);
    EXPECT_EQ(store.openKey(""), ERROR_SUCCESS);
}

TEST_F(SettingsStoreTest, SettersCreateTheirKey) {
    SettingsStore store(path());
    EXPECT_EQ(store.setDword("A\\B", "V", 3), ERROR_SUCCESS);
    EXPECT_EQ(store.openKey("A\\B"), ERROR_SUCCESS);
}

TEST_F(SettingsStoreTest, EmptyPathSegmentsAreIgnored) {
    SettingsStore store(path());
    store.createKey("\\Software\\\\Orvane\\");
    EXPECT_EQ(store.subkeys("Software"), QStringList{"Orvane"});
}

TEST_F(SettingsStoreTest, DeleteTreeRemovesTheKeyWithEverythingBelowIt) {
    SettingsStore store(path());
    const QString devices = "Software\\Orvane\\Tindrel\\LE Devices";
    store.setDword(devices + "\\00:00:00:00:00:01", "Appearance", 1);
    store.setDword(devices + "\\00:00:00:00:00:02\\Deeper", "X", 2);
    store.setDword(kSettings, "Debug", 1);

    EXPECT_EQ(store.deleteTree("software\\orvane\\tindrel\\le devices"), ERROR_SUCCESS);
    EXPECT_EQ(store.openKey(devices), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.deleteTree(devices), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.queryDword(kSettings, "Debug", nullptr), ERROR_SUCCESS);
    EXPECT_EQ(SettingsStore(path()).openKey(devices), ERROR_FILE_NOT_FOUND);
}

TEST_F(SettingsStoreTest, TheRootCannotBeDeleted) {
    SettingsStore store(path());
    store.setDword(kSettings, "Debug", 1);
    EXPECT_EQ(store.deleteTree(""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(store.deleteTree("\\"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(store.queryDword(kSettings, "Debug", nullptr), ERROR_SUCCESS);
}

TEST_F(SettingsStoreTest, SubkeysOfAMissingKeyAreEmpty) {
    SettingsStore store(path());
    EXPECT_TRUE(store.subkeys("Nowhere").isEmpty());
}

TEST_F(SettingsStoreTest, AMissingFileGivesAnEmptyStoreWithoutWarning) {
    WarningCounter warnings;
    SettingsStore store(path());
    EXPECT_TRUE(store.subkeys("").isEmpty());
    EXPECT_TRUE(store.loadWarning().isEmpty());
    EXPECT_EQ(warnings.count(), 0);
    EXPECT_FALSE(QFile::exists(path()));
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
        EXPECT_EQ(warnings.count(), 1);
        EXPECT_FALSE(store.loadWarning().isEmpty());
        EXPECT_TRUE(store.subkeys("").isEmpty());
        EXPECT_EQ(readFile(path() + ".corrupt"), bytes);
        EXPECT_EQ(store.setDword(kSettings, "Debug", 1), ERROR_SUCCESS);
        EXPECT_EQ(readFile(path() + ".corrupt"), bytes);
        EXPECT_EQ(SettingsStore(path()).queryDword(kSettings, "Debug", nullptr), ERROR_SUCCESS);
    }
}

TEST_F(SettingsStoreTest, AnEarlierSetAsideFileIsNotOverwritten) {
    writeFile("first broken");
    { SettingsStore store(path()); }
    writeFile("second broken");
    SettingsStore store(path());
    EXPECT_EQ(readFile(path() + ".corrupt"), "first broken");
    EXPECT_EQ(readFile(path() + ".corrupt.1"), "second broken");
    EXPECT_TRUE(store.loadWarning().contains(".corrupt.1"));
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadIsNeitherLostNorOverwritten) {
    // A directory where the file should be: it exists but cannot be read as a file, and cannot be
    // renamed over an existing set-aside name either.
    QDir().mkpath(path());
    QDir().mkpath(path() + ".corrupt");
    for (int n = 1; n <= 100; ++n)
        QDir().mkpath(path() + QString(".corrupt.%1").arg(n));
    WarningCounter warnings;
    SettingsStore store(path());
    EXPECT_EQ(warnings.count(), 1);
    EXPECT_EQ(store.setDword(kSettings, "Debug", 1), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_EQ(store.queryDword(kSettings, "Debug", nullptr), ERROR_SUCCESS);
}

TEST_F(SettingsStoreTest, AFailedSaveIsReportedAndKeptInMemory) {
    QFile blocker(m_dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore store(m_dir.filePath("blocker/settings.json"));
    WarningCounter warnings;
    EXPECT_EQ(store.setDword(kSettings, "Debug", 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(warnings.count(), 1);
    EXPECT_EQ(store.queryDword(kSettings, "Debug", nullptr), ERROR_SUCCESS);
}

TEST_F(SettingsStoreTest, SavingLeavesNoTemporaryFilesBehind) {
    SettingsStore store(path());
    for (uint32_t i = 0; i < 5; ++i)
        store.setDword(kSettings, "Debug", i);
    const QStringList files = QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(files, QStringList{"Tindrel.settings.json"});
}

TEST_F(SettingsStoreTest, DefaultFileIsUnderTheUsersConfigDirectory) {
    EXPECT_TRUE(SettingsStore::defaultFilePath().endsWith("/Orvane/Tindrel.settings.json"));
}

TEST_F(SettingsStoreTest, TheProcessWideStoreCanBeReplaced) {
    // Keeps the default store away from the real user's settings.
    QStandardPaths::setTestModeEnabled(true);
    SettingsStore store(path());
    setSettingsStore(&store);
    EXPECT_EQ(&settingsStore(), &store);
    setSettingsStore(nullptr);
    EXPECT_NE(&settingsStore(), &store);
    EXPECT_EQ(settingsStore().filePath(), SettingsStore::defaultFilePath());
    QStandardPaths::setTestModeEnabled(false);
}

} // namespace
} // namespace platform
