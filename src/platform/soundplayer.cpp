#include "soundplayer.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QSoundEffect>
#include <QUrl>

namespace numerella {

// Which sound files the game asked for, for whoever installs it:
// QT_LOGGING_RULES="numerella.sound.debug=true" shows them.
Q_LOGGING_CATEGORY(soundLog, "numerella.sound", QtWarningMsg)

SoundWorker::~SoundWorker()
{
    qDeleteAll(effects_);
}

void SoundWorker::play(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        qCDebug(soundLog) << "missing, staying silent:" << path;
        return;
    }
    qCDebug(soundLog) << "playing:" << path;
    QSoundEffect* effect = effects_.value(path);
    if (!effect) {
        effect = new QSoundEffect;
        effect->setSource(QUrl::fromLocalFile(path));
        effects_.insert(path, effect);
    }
    // A sound still loading starts once it is ready; one that cannot be
    // decoded stays silent.
    effect->play();
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
