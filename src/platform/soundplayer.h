// Plays the answer sounds on a thread of its own: starting a sound may wait
// on the audio server, and a keystroke must never wait for that.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>

namespace numerella {

// Lives on the sound thread. The sound engine is a module beside the
// program, loaded on the first sound; without it the game stays silent.
class SoundWorker : public QObject {
    Q_OBJECT
public:
    ~SoundWorker() override;

public slots:
    void play(const QString& path);

private:
    bool loadEngine();

    using PlayFunction = void (*)(const QString&);
    using ReleaseFunction = void (*)();
    bool tried_ = false;
    PlayFunction play_ = nullptr;
    ReleaseFunction release_ = nullptr;
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
