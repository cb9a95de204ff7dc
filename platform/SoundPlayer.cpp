// Sounds of the program's own resources, played without waiting, behind one replaceable player.
#include "platform/SoundPlayer.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <QtDebug>
#include <memory>

namespace platform {
namespace {

// Plays on the system's default audio output through QSoundEffect, which is made on the first play.
// Without an audio output nothing is played and one log line says so.
class QtSoundPlayer : public SoundPlayer {
public:
    void play(UINT soundId) override {
        const QString path = soundPath(soundId);
        if (!QFile::exists(path)) {
            qWarning("No sound resource %u (%s)", soundId, qPrintable(path));
            return;
        }
        if (QMediaDevices::audioOutputs().isEmpty()) {
            if (!m_noOutputLogged)
                qWarning("No audio output device: sounds are not played.");
            m_noOutputLogged = true;
            return;
        }
        if (!m_effect)
            m_effect = std::make_unique<QSoundEffect>();
        m_effect->stop();
        m_effect->setSource(QUrl(QStringLiteral("qrc") + path));
        m_effect->play();
    }
    void stop() override {
        if (m_effect)
            m_effect->stop();
    }

private:
    std::unique_ptr<QSoundEffect> m_effect;
    bool m_noOutputLogged = false;
};

SoundPlayer*& installedPlayer() {
    static SoundPlayer* player = nullptr;
    return player;
}

} // namespace

SoundPlayer::~SoundPlayer() = default;

SoundPlayer& soundPlayer() {
    if (SoundPlayer* player = installedPlayer())
        return *player;
    static QtSoundPlayer qtPlayer;
    return qtPlayer;
}

void setSoundPlayer(SoundPlayer* replacement) {
    installedPlayer() = replacement;
}

QString soundPath(UINT soundId) {
    return QStringLiteral(":/sounds/%1.wav").arg(soundId);
}

} // namespace platform
