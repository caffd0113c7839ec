// The pictures are compiled into the program; a static library needs its
// resources registered by hand, and the macro must stand outside any namespace.
#include <QtCore/qglobal.h>

static void registerAssets()
{
    Q_INIT_RESOURCE(assets);
}

namespace numerella {

void registerPictureResources()
{
    registerAssets();
}

} // namespace numerella
