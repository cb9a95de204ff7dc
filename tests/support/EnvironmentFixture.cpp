#include "support/EnvironmentFixture.h"

#include "app/CRegistrySettings.h"
#include "panes/CLogDialog.h"
#include "platform/StringTable.h"
#include "platform/TimerClock.h"
#include "res/StringTable.h"
#include "support/VirtualTime.h"
#include "veyrasim.h"

#include <QCoreApplication>
#include <QDir>
#include <QTreeWidgetItem>

void EnvironmentFixture::SetUp() {
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    m_previousTmp = qgetenv("TMPDIR");
    m_previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", m_dir->path().toUtf8());
    const QString runtime = m_dir->filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    m_previousDirectory = QDir::currentPath();
    QDir::setCurrent(m_dir->path());

    platform::installStringTable(applicationStrings());
    platform::TimerClock::useVirtualTime(true);
    m_settings = std::make_unique<platform::SettingsStore>(m_dir->filePath(QStringLiteral("settings.json")));
    platform::setSettingsStore(m_settings.get());
    platform::setPrompter(&m_prompter);
    CRegistrySettings::Destroy();
}

void EnvironmentFixture::TearDown() {
    QCoreApplication::processEvents();
    CRegistrySettings::Destroy();
    CLogDialog::SetClock({});
    platform::setPrompter(nullptr);
    platform::setSettingsStore(nullptr);
    platform::TimerClock::useVirtualTime(false);
    QDir::setCurrent(m_previousDirectory);
    qputenv("TMPDIR", m_previousTmp);
    qputenv("XDG_RUNTIME_DIR", m_previousRuntime);
}

std::vector<QString> EnvironmentFixture::PromptTexts() const {
    std::vector<QString> texts;
    for (const auto& prompt : m_prompter.prompts)
        texts.push_back(prompt.text);
    return texts;
}

QStringList EnvironmentFixture::RowTexts(const QTreeWidgetItem* group) {
    QStringList texts;
    for (int i = 0; i < group->childCount(); ++i)
        texts << group->child(i)->text(0);
    return texts;
}

void EnvironmentFixture::LoadWorld(const std::string& json) {
    std::string error;
    ASSERT_TRUE(orv::sim::loadWorldJson(json.empty() ? orv::sim::builtInWorldJson() : json, &error)) << error;
}

void EnvironmentFixture::Advance(uint64_t ms) {
    AdvanceVirtualTime(ms);
}
