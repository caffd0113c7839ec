#include "datafolder.h"

#include <QtGlobal>

namespace numerella {

QByteArray perLoginDataFolder(const QByteArray& xdgDataHome, const QByteArray& home)
{
    // A relative value is to be ignored, not read from the current folder.
    if (xdgDataHome.startsWith('/'))
        return xdgDataHome + "/numerella-del-dieci";
    return home.startsWith('/') ? home + "/.local/share/numerella-del-dieci" : QByteArray();
}

QByteArray perLoginDataFolder()
{
    return perLoginDataFolder(qgetenv("XDG_DATA_HOME"), qgetenv("HOME"));
}

} // namespace numerella
