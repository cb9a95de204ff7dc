// Test environment for the application's windows: recording host and prompter, virtual timers,
// settings, lock files and log files in a private temporary directory.
#pragma once

#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "support/RecordingHost.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads a simulated world (its USB list, dongle and peers); fails the test on a malformed world.
    void LoadWorld(const std::string& json);
    // Delivers posted events and runs virtual timers up to ms from now.
    void Advance(uint64_t ms);
    // Texts of all prompts shown so far.
    std::vector<QString> PromptTexts() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<platform::SettingsStore> m_settings;
    platform::RecordingPrompter m_prompter;
    std::unique_ptr<RecordingHost> m_host;

private:
    QString m_previousDirectory;
    QByteArray m_previousTmp;
    QByteArray m_previousRuntime;
};

// A world whose USB list holds the dongle with its driver, not busy.
std::string WorldWithDongle(const std::string& dongleJson = "{}", const std::string& extra = "");
