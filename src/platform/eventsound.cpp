#include "eventsound.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <alsa/error.h>
#include <canberra.h>

#include <utility>

namespace numerella {

// Which sound files the game asked for, for whoever installs it:
// QT_LOGGING_RULES="numerella.sound.debug=true" shows them.
Q_LOGGING_CATEGORY(soundLog, "numerella.sound", QtWarningMsg)

namespace {

constexpr uint32_t kVerdictSound = 1;  // one id for every verdict, so the next cancels the last

// ALSA prints several lines for every play without a device; one line of
// ours says it instead.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

// Made on the first sound and kept until the process ends: destroying it at
// exit races the library's own playing threads and can crash the game.
ca_context* context()
{
    static ca_context* const made = []() -> ca_context* {
        snd_lib_error_set_handler(quietAlsa);
        ca_context* created = nullptr;
        return ca_context_create(&created) == CA_SUCCESS ? created : nullptr;
    }();
    return made;
}

} // namespace

void playEventSound(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        qCDebug(soundLog) << "missing, staying silent:" << path;
        return;
    }
    qCDebug(soundLog) << "playing:" << path;
    int result = CA_ERROR_NODRIVER;
    if (ca_context* sounds = context()) {
        ca_context_cancel(sounds, kVerdictSound);
        result = ca_context_play(sounds, kVerdictSound, CA_PROP_MEDIA_FILENAME, QFile::encodeName(path).constData(),
                                 CA_PROP_MEDIA_ROLE, "event", nullptr);
    }
    static bool reported = false;
    if (result != CA_SUCCESS && !std::exchange(reported, true))
        qCWarning(soundLog, "niente suoni, si gioca in silenzio (%s)", ca_strerror(result));
}

} // namespace numerella
