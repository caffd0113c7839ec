// The answer sounds, played through the desktop's event-sound library.
#pragma once

#include <QString>

struct ca_context;

namespace numerella {

class EventSound {
public:
    EventSound() = default;
    EventSound(const EventSound&) = delete;
    EventSound& operator=(const EventSound&) = delete;
    ~EventSound();

    // Starts a WAV file and returns at once; a sound still playing is cut,
    // as a new verdict replaces the last. Silent when the file is missing or
    // nothing can play it; the first failure is reported once on stderr.
    void play(const QString& path);

private:
    ca_context* context_ = nullptr;
    bool failed_ = false;
};

} // namespace numerella
