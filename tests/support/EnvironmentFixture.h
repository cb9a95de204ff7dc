// The process-wide state every application test replaces, restored afterwards: a private temporary
// directory (working directory, lock files, settings, log files), the string table, virtual window
// timers and a recording prompter.
#pragma once

#include "platform/SettingsStore.h"
#include "support/RecordingPrompter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class EnvironmentFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Texts of all prompts shown so far.
    std::vector<QString> PromptTexts() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<platform::SettingsStore> m_settings;
    RecordingPrompter m_prompter;

private:
    QString m_previousDirectory;
    QByteArray m_previousTmp;
    QByteArray m_previousRuntime;
};
