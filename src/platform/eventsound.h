// The answer sounds, played through the desktop's event-sound library.
#pragma once

#include <QString>

namespace numerella {

// Starts a WAV file and returns at once; a sound still playing is cut, as a
// new verdict replaces the last. Silent when the file is missing or nothing
// can play it; the first failure is reported once on stderr.
void playEventSound(const QString& path);

} // namespace numerella
