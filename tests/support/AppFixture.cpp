#include "support/AppFixture.h"

#include "app/CRegistrySettings.h"
#include "panes/CLogDialog.h"
#include "platform/StringTable.h"
#include "platform/TimerClock.h"
#include "res/StringTable.h"
#include "veyrasim.h"

#include <QCoreApplication>
#include <QDir>

void AppFixture::SetUp() {
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    m_previousTmp = qgetenv("TMPDIR");
    m_previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", m_dir->path().toUtf8());
    QDir(m_dir->path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(m_dir->filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", m_dir->filePath(QStringLiteral("runtime")).toUtf8());
    m_previousDirectory = QDir::currentPath();
    QDir::setCurrent(m_dir->path());

    platform::installStringTable(applicationStrings());
    platform::TimerClock::useVirtualTime(true);
    m_settings = std::make_unique<platform::SettingsStore>(m_dir->filePath(QStringLiteral("settings.json")));
    platform::setSettingsStore(m_settings.get());
    platform::setPrompter(&m_prompter);
    CRegistrySettings::Destroy();
    m_host = std::make_unique<RecordingHost>();
    LoadWorld(WorldWithDongle());
}

void AppFixture::TearDown() {
    QCoreApplication::processEvents();
    m_host.reset();
    CRegistrySettings::Destroy();
    CLogDialog::SetClock({});
    platform::setPrompter(nullptr);
    platform::setSettingsStore(nullptr);
    platform::TimerClock::useVirtualTime(false);
    QDir::setCurrent(m_previousDirectory);
    qputenv("TMPDIR", m_previousTmp);
    qputenv("XDG_RUNTIME_DIR", m_previousRuntime);
}

void AppFixture::LoadWorld(const std::string& json) {
    std::string error;
    ASSERT_TRUE(orv::sim::loadWorldJson(json, &error)) << error;
}

void AppFixture::Advance(uint64_t ms) {
    const uint64_t end = platform::TimerClock::now() + ms;
    for (;;) {
        QCoreApplication::processEvents();
        const auto due = platform::TimerClock::nextDueTime();
        if (!due || *due > end)
            break;
        platform::TimerClock::advanceTo(*due);
    }
    platform::TimerClock::advanceTo(end);
    QCoreApplication::processEvents();
}

std::vector<QString> AppFixture::PromptTexts() const {
    std::vector<QString> texts;
    for (const auto& prompt : m_prompter.prompts)
        texts.push_back(prompt.text);
    return texts;
}

std::string WorldWithDongle(const std::string& dongleJson, const std::string& extra) {
    return R"({"seed": 7, "dongle": )" + dongleJson + extra + "}";
}
