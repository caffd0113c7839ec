#include "soundplayer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QLoggingCategory>

namespace numerella {

// Which sound files the game asked for, for whoever installs it:
// QT_LOGGING_RULES="numerella.sound.debug=true" shows them.
Q_LOGGING_CATEGORY(soundLog, "numerella.sound", QtWarningMsg)

SoundWorker::~SoundWorker()
{
    if (release_)
        release_();
}

bool SoundWorker::loadEngine()
{
    if (tried_)
        return play_ != nullptr;
    tried_ = true;
    QLibrary engine(QCoreApplication::applicationDirPath() + QStringLiteral("/numerella-sound"));
    play_ = reinterpret_cast<PlayFunction>(engine.resolve("numerella_play_sound"));
    release_ = reinterpret_cast<ReleaseFunction>(engine.resolve("numerella_release_sounds"));
    if (!play_ || !release_) {
        qCWarning(soundLog) << "no sound engine, the game stays silent:" << engine.errorString();
        play_ = nullptr;
        release_ = nullptr;
    }
    return play_ != nullptr;
}

void SoundWorker::play(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        qCDebug(soundLog) << "missing, staying silent:" << path;
        return;
    }
    qCDebug(soundLog) << "playing:" << path;
    if (loadEngine())
        play_(path);
}

SoundPlayer::SoundPlayer()
    : worker_(new SoundWorker)
{
    thread_.setObjectName(QStringLiteral("numerella-sound"));
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(this, &SoundPlayer::playRequested, worker_, &SoundWorker::play, Qt::QueuedConnection);
    thread_.start(QThread::LowPriority);
}

SoundPlayer::~SoundPlayer()
{
    thread_.quit();
    thread_.wait();
}

} // namespace numerella
