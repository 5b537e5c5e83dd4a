// Sounds play in one QMediaPlayer that lives as long as the application: a
// new sound stops the one before. QMediaPlayer decodes PCM and ADPCM WAV
// files alike and reaches the end of a sound even with no sound server.

#include "sound_player.h"

#include "media_backend.h"
#include "paths.h"
#include "sound.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QFile>
#include <QMediaPlayer>
#include <QPointer>
#include <QUrl>

namespace {

class SoundPlayer : public QObject {
public:
    explicit SoundPlayer(QObject *parent) : QObject(parent) {
        player_ = new QMediaPlayer(this);
        audio_ = new QAudioOutput(this);
        player_->setAudioOutput(audio_);
    }

    ~SoundPlayer() override {
        player_->stop();
        delete player_;
    }

    void play(const QString &fileName) {
        player_->stop();
        player_->setSource(QUrl::fromLocalFile(fileName));
        player_->play();
    }

    QString playingFile() const {
        if (player_->playbackState() != QMediaPlayer::PlayingState)
            return QString();
        return player_->source().toLocalFile();
    }

private:
    QMediaPlayer *player_ = nullptr;
    QAudioOutput *audio_ = nullptr;
};

QPointer<SoundPlayer> &soundPlayer() {
    static QPointer<SoundPlayer> player;
    return player;
}

// A RIFF WAVE header: anything else is no sound, as the platform's player
// refuses it before it starts.
bool looksLikeWave(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(12);
    return header.size() == 12 && header.startsWith("RIFF") && header.mid(8, 4) == "WAVE";
}

} // namespace

namespace sound {

QString playingFile() {
    return soundPlayer() ? soundPlayer()->playingFile() : QString();
}

} // namespace sound

// Every sound plays in the background, as SND_ASYNC asks; the reader passes
// no other flag.
bool desktopPlaySound(const AnsiString &fileName, unsigned) {
    const QString local = paths::resolvePath(fileName);
    if (local.isEmpty() || !looksLikeWave(local) || !QCoreApplication::instance())
        return false;
    if (!soundPlayer()) {
        media::chooseBackend();
        soundPlayer() = new SoundPlayer(QCoreApplication::instance());
    }
    soundPlayer()->play(local);
    return true;
}
