// Plays the answer sounds on a thread of its own: starting a sound may wait
// on the audio server, and a keystroke must never wait for that.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QThread>

class QSoundEffect;

namespace numerella {

class SoundWorker : public QObject {
    Q_OBJECT
public:
    ~SoundWorker() override;

public slots:
    void play(const QString& path);

private:
    QHash<QString, QSoundEffect*> effects_;
};

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    SoundPlayer();
    ~SoundPlayer() override;

    // Returns at once; the sound starts on the sound thread.
    void play(const QString& path) { emit playRequested(path); }

signals:
    void playRequested(const QString& path);

private:
    QThread thread_;
    SoundWorker* worker_ = nullptr;  // lives on thread_
};

} // namespace numerella
