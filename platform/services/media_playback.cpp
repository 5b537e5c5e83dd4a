// The media module (media_module.h): video pictures and sounds played by Qt
// Multimedia. Everything runs on the user-interface thread; the players
// report through that thread's event loop.

#include "media_module.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QMediaPlayer>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>
#include <QWidget>

namespace {

// Where a video's picture is drawn: a child of the window that the "window"
// command names, painting the device's latest frame stretched to its own
// size. Clicks go through it to that window, as through the platform's
// video window. The window may go away mid-video; the sink, the device's,
// stays with the player.
class VideoScreen : public QWidget {
public:
    VideoScreen(QWidget *host, const QVideoSink *sink) : QWidget(host) {
        setObjectName(QStringLiteral("mciVideo"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        // Frames may come from the player's own threads: queued to this one.
        connect(sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
            frame_ = frame;
            update();
        });
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        if (!frame_.isValid()) {
            painter.fillRect(rect(), Qt::black);
            return;
        }
        QVideoFrame::PaintOptions options;
        options.backgroundColor = Qt::black;
        options.aspectRatioMode = Qt::IgnoreAspectRatio;
        frame_.paint(&painter, rect(), options);
    }

private:
    QVideoFrame frame_;
};

// A player whose sound goes to the desktop's output; the output belongs to the
// player, so that the two can only go together.
QMediaPlayer *newPlayer(QObject *owner) {
    auto *player = new QMediaPlayer(owner);
    player->setAudioOutput(new QAudioOutput(player));
    return player;
}

// A sound server that stops answering mid-video holds the player's end of
// media for ever: the picture plays to its last frame and the position stays
// at the length, still "playing". Taking such a player down waits on that
// server too (a minute and more, on this thread), so it is left to go when
// its sound output lets go of it, or with the application.
void letGoOfStuckPlayer(QMediaPlayer *player) {
    player->setParent(QCoreApplication::instance());
    const auto release = [player] { player->deleteLater(); };
    QObject::connect(player, &QMediaPlayer::errorOccurred, player, release);
    QObject::connect(player, &QMediaPlayer::mediaStatusChanged, player,
                     [release](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::EndOfMedia ||
                             status == QMediaPlayer::InvalidMedia)
                             release();
                     });
}

class VideoPlayback : public QObject, public media::VideoOutput {
public:
    explicit VideoPlayback(const QString &fileName)
        : fileName_(fileName), sink_(new QVideoSink(this)) {}

    ~VideoPlayback() override {
        delete screen_.data();
        if (!player_)
            return;
        if (heldAtItsEnd()) {
            // Its frames still go to the sink.
            sink_->setParent(player_);
            letGoOfStuckPlayer(player_);
            return;
        }
        player_->stop();
        delete player_;
    }

    void show(QWidget *host, const QRect &rect, bool visible) override {
        if (!screen_ || screen_->parentWidget() != host) {
            delete screen_.data();
            screen_ = new VideoScreen(host, sink_);
        }
        screen_->setGeometry(rect);
        screen_->setVisible(visible);
    }

    void play() override {
        if (!player_)
            makePlayer();
        finished_ = failed_;
        if (failed_)
            return;
        // Read as stopped at its length, it may not have reached its end of
        // media yet: a new play starts from the beginning all the same.
        if (playedToItsLength())
            player_->setPosition(0);
        player_->play();
    }

    State state() const override {
        if (!player_ || finished_ || playedToItsLength())
            return State::Stopped;
        return player_->playbackState() == QMediaPlayer::PausedState ? State::Paused
                                                                     : State::Playing;
    }

private:
    // The end of the video, whether or not the player has said so.
    bool playedToItsLength() const {
        const qint64 length = player_->duration();
        return length > 0 && player_->position() >= length;
    }

    // Played to its length without the end of media: its sound output is stuck.
    bool heldAtItsEnd() const {
        return player_->playbackState() == QMediaPlayer::PlayingState &&
               player_->mediaStatus() != QMediaPlayer::EndOfMedia && playedToItsLength();
    }

    void makePlayer() {
        player_ = newPlayer(this);
        player_->setVideoSink(sink_);
        connect(player_, &QMediaPlayer::mediaStatusChanged, this,
                [this](QMediaPlayer::MediaStatus status) {
                    if (status == QMediaPlayer::InvalidMedia)
                        onFailure();
                    else if (status == QMediaPlayer::EndOfMedia)
                        finished_ = true;
                });
        connect(player_, &QMediaPlayer::playbackStateChanged, this,
                [this](QMediaPlayer::PlaybackState state) {
                    if (state == QMediaPlayer::StoppedState)
                        finished_ = true;
                });
        connect(player_, &QMediaPlayer::errorOccurred, this, [this] { onFailure(); });
        player_->setSource(QUrl::fromLocalFile(fileName_));
    }

    // A file the player cannot play after all ends at once, as a stopped video.
    void onFailure() {
        failed_ = true;
        finished_ = true;
    }

    const QString fileName_;
    // The sink outlives any window the picture is shown in.
    QVideoSink *const sink_;
    QMediaPlayer *player_ = nullptr;
    // Dies with the window it is drawn in.
    QPointer<VideoScreen> screen_;
    bool finished_ = false;
    bool failed_ = false;
};

// Sounds play in one QMediaPlayer that lives as long as the application: a
// new sound stops the one before. QMediaPlayer decodes PCM and ADPCM WAV
// files alike and reaches the end of a sound even with no sound server.
class SoundPlayer : public QObject {
public:
    explicit SoundPlayer(QObject *parent) : QObject(parent), player_(newPlayer(this)) {}

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
    QMediaPlayer *const player_;
};

QPointer<SoundPlayer> &soundPlayer() {
    static QPointer<SoundPlayer> player;
    return player;
}

media::VideoOutput *openVideo(const QString &fileName) {
    return new VideoPlayback(fileName);
}

void playSound(const QString &fileName) {
    if (!soundPlayer())
        soundPlayer() = new SoundPlayer(QCoreApplication::instance());
    soundPlayer()->play(fileName);
}

QString playingSound() {
    return soundPlayer() ? soundPlayer()->playingFile() : QString();
}

} // namespace

extern "C" Q_DECL_EXPORT const media::Module *lectorMediaModule() {
    static const media::Module module{probeVideoFile, openVideo, playSound, playingSound};
    return &module;
}
