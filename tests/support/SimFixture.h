// End-to-end environment: the application objects on the real host library and the simulated dongle,
// with virtual time driving both the simulator and the window timers.
#pragma once

#include "app/COrvBleDemoApp.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>

class SimFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads a world; an empty text loads the built-in world.
    void LoadWorld(const std::string& json = std::string());
    // Runs the application's start-up and lets the host report it.
    CMainFrame* Start();
    // Advances the simulator and the window timers together by ms, delivering every posted event.
    void Advance(uint64_t ms);
    std::vector<QString> PromptTexts() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<platform::SettingsStore> m_settings;
    platform::RecordingPrompter m_prompter;
    std::unique_ptr<COrvBleDemoApp> m_app;

private:
    QString m_previousDirectory;
    QByteArray m_previousTmp;
    QByteArray m_previousRuntime;
};
