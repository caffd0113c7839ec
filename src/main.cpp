// Numerella del dieci: a race against the clock through the ten-times table.
#include "platform/qtplatform.h"
#include "window/tavola.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kProgram = QStringLiteral("numerella-del-dieci");

// Without a display QApplication stops the program through qFatal(): one
// Italian line and status 1 instead, and none of Qt's own lines meanwhile.
void startupMessage(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtFatalMsg)
        return;
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString problem = display.isEmpty()
                                ? QStringLiteral("nessuno schermo disponibile (DISPLAY non impostato)")
                                : QStringLiteral("impossibile aprire lo schermo (DISPLAY=%1)").arg(display);
    const QString line = QStringLiteral("%1: %2: avvia il gioco da una sessione grafica.\n").arg(kProgram, problem);
    std::fputs(qPrintable(line), stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char* argv[])
{
    // Under a small file-size limit a write fails with an error the game
    // reports (a login's own record, the sound server's buffers) instead of
    // the signal ending it.
    std::signal(SIGXFSZ, SIG_IGN);
    // Help and the version need no display, so they are answered before
    // QApplication, which takes its own options (-platform, -style ...).
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.addOptions({QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}),
                       QCommandLineOption(QStringList{QStringLiteral("v"), QStringLiteral("version")})});
    parser.parse(arguments);
    if (parser.isSet(QStringLiteral("help"))) {
        const QString help = QStringLiteral("Uso: %1 [opzioni]\n"
                                            "Gara a tempo con la tabellina del dieci per la scuola primaria.\n\n"
                                            "Opzioni:\n"
                                            "  -h, --help       Mostra questo aiuto\n"
                                            "  -v, --version    Mostra la versione del gioco\n");
        std::fputs(qPrintable(help.arg(kProgram)), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::fputs(qPrintable(kProgram + QStringLiteral(" " NUMERELLA_VERSION "\n")), stdout);
        return 0;
    }

    qInstallMessageHandler(startupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);  // Qt's own again
    // Whatever QApplication did not take as its own option is a mistake.
    const QStringList leftOver = QCoreApplication::arguments().mid(1);
    if (!leftOver.isEmpty()) {
        const QString line = QStringLiteral("%1: argomento sconosciuto \u00ab%2\u00bb; %1 --help mostra le opzioni.\n");
        std::fputs(qPrintable(line.arg(kProgram, leftOver.first())), stderr);
        return 2;
    }

    QApplication::setApplicationName(kProgram);
    // Ties the windows to org.numerella.NumerellaDelDieci.desktop (the
    // Wayland app id; on X11 the class is the application name, which the
    // entry names as StartupWMClass).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.numerella.NumerellaDelDieci"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icona.ico")));
    // The game speaks only Italian, so Qt's own texts (the answer box's
    // context menu) do too, whatever the system's language.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    // The program ends only through its own paths (the close box, the exit
    // button, the end of the race), never because a dialog closed.
    QApplication::setQuitOnLastWindowClosed(false);

    numerella::QtPlatform platform;
    numerella::Tavola tavola(platform);
    platform.setDialogParent(&tavola);
    tavola.load();
    return tavola.ended() ? 0 : QApplication::exec();
}
