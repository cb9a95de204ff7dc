// The process-wide state every application test replaces, restored afterwards: a private temporary
// directory (working directory, lock files, settings, log files), the string table, virtual window
// timers and a recording prompter. The simulated world and virtual time are at hand too.
#pragma once

#include "platform/SettingsStore.h"
#include "support/RecordingPrompter.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class QTreeWidgetItem;

class EnvironmentFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Texts of all prompts shown so far.
    std::vector<QString> PromptTexts() const;
    // The texts of a group's rows in the device tree (placeholders included), in order.
    static QStringList RowTexts(const QTreeWidgetItem* group);
    // Loads a simulated world (its USB list, dongle and peers), the built-in one when json is empty;
    // fails the test on a malformed world.
    void LoadWorld(const std::string& json = std::string());
    // AdvanceVirtualTime(ms).
    void Advance(uint64_t ms);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<platform::SettingsStore> m_settings;
    RecordingPrompter m_prompter;

private:
    QString m_previousDirectory;
    QByteArray m_previousTmp;
    QByteArray m_previousRuntime;
};
