#include "eventsound.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <canberra.h>

#include <csignal>

namespace numerella {

// Which sound files the game asked for, for whoever installs it:
// QT_LOGGING_RULES="numerella.sound.debug=true" shows them.
Q_LOGGING_CATEGORY(soundLog, "numerella.sound", QtWarningMsg)

namespace {
constexpr uint32_t kVerdictSound = 1;  // one id for every verdict, so the next cancels the last
}

EventSound::~EventSound()
{
    if (context_)
        ca_context_destroy(context_);
}

void EventSound::play(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        qCDebug(soundLog) << "missing, staying silent:" << path;
        return;
    }
    qCDebug(soundLog) << "playing:" << path;
    if (!context_) {
        // The sound server's client sizes a shared-memory file; under a small
        // file-size limit that must fail with EFBIG, not end the game.
        std::signal(SIGXFSZ, SIG_IGN);
        if (ca_context_create(&context_) != CA_SUCCESS)
            context_ = nullptr;
    }
    int result = CA_ERROR_NODRIVER;
    if (context_) {
        ca_context_cancel(context_, kVerdictSound);
        result = ca_context_play(context_, kVerdictSound, CA_PROP_MEDIA_FILENAME,
                                 QFile::encodeName(path).constData(), CA_PROP_MEDIA_ROLE, "event", nullptr);
    }
    if (result != CA_SUCCESS && !failed_) {
        failed_ = true;
        qCWarning(soundLog, "numerella-del-dieci: niente suoni (%s)", ca_strerror(result));
    }
}

} // namespace numerella
