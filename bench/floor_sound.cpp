// The floor's one sound, in a module of its own so the multimedia libraries
// load on the first Enter and not at start-up, as the game's do.
#include <QCoreApplication>
#include <QSoundEffect>
#include <QString>
#include <QUrl>

extern "C" Q_DECL_EXPORT void floor_play_sound(const QString& path)
{
    // Owned by the application, so it goes before the sound system does.
    auto* effect = new QSoundEffect(QCoreApplication::instance());
    effect->setSource(QUrl::fromLocalFile(path));
    effect->play();
}
