// The sound engine, kept in a module of its own that the sound thread loads
// on the first answer: the multimedia libraries it needs then cost nothing
// at start-up. Every function here runs on the sound thread.
#include <QHash>
#include <QSoundEffect>
#include <QString>
#include <QUrl>

namespace {

QHash<QString, QSoundEffect*>& effects()
{
    static QHash<QString, QSoundEffect*> loaded;
    return loaded;
}

} // namespace

extern "C" Q_DECL_EXPORT void numerella_play_sound(const QString& path)
{
    QSoundEffect* effect = effects().value(path);
    if (!effect) {
        effect = new QSoundEffect;
        effect->setSource(QUrl::fromLocalFile(path));
        effects().insert(path, effect);
    }
    // A sound still loading starts once it is ready; one that cannot be
    // decoded stays silent.
    effect->play();
}

extern "C" Q_DECL_EXPORT void numerella_release_sounds()
{
    qDeleteAll(effects());
    effects().clear();
}
