// Numerella del dieci: a race against the clock through the ten-times table.
#include "platform/qtplatform.h"
#include "window/tavola.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("numerella-del-dieci"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icona.ico")));
    // The program ends only through its own paths (the close box, the exit
    // button, the end of the race), never because a dialog closed.
    QApplication::setQuitOnLastWindowClosed(false);

    numerella::QtPlatform platform;
    numerella::Tavola tavola(platform);
    platform.setDialogParent(&tavola);
    tavola.load();
    if (tavola.ended())
        return 0;
    return QApplication::exec();
}
