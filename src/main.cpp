// Numerella del dieci: a race against the clock through the ten-times table.
#include "platform/qtplatform.h"
#include "window/tavola.h"

#include <QApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

const char kProgram[] = "numerella-del-dieci";

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// What the command line asks for before any window is opened; Qt's own
// options (-platform, -style ...) are left for QApplication. True when it
// asked for help or the version, which are printed here.
bool answeredCommandLine(const QStringList& arguments)
{
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    QCommandLineParser parser;
    parser.addOptions({help, version});
    parser.parse(arguments);
    if (parser.isSet(help)) {
        print(stdout, QStringLiteral("Uso: %1 [opzioni]\n"
                                     "Gara a tempo con la tabellina del dieci per la scuola primaria.\n\n"
                                     "Opzioni:\n"
                                     "  -h, --help       Mostra questo aiuto\n"
                                     "  -v, --version    Mostra la versione del gioco\n")
                          .arg(QLatin1String(kProgram)));
    } else if (parser.isSet(version)) {
        print(stdout, QStringLiteral("%1 %2\n").arg(QLatin1String(kProgram), QLatin1String(NUMERELLA_VERSION)));
    }
    return parser.isSet(help) || parser.isSet(version);
}

// The display Qt is told to use, as the player's environment or command line
// names it; empty when there is none, where QApplication would try X11 and
// abort the process.
QString displayName(const QStringList& arguments)
{
    for (const char* variable : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return QStringLiteral("%1=%2").arg(QLatin1String(variable), value);
    }
    const bool named = arguments.contains(QStringLiteral("-platform")) || arguments.contains(QStringLiteral("--platform"));
    return named ? QStringLiteral("-platform") : QString();
}

// A display that is named but cannot be opened ends in qFatal() inside the
// QApplication constructor; that becomes one clear line and status 1
// instead of an abort.
QtMessageHandler qtHandler = nullptr;
QString display;

void startupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        qtHandler(type, context, message);
        return;
    }
    print(stderr, QStringLiteral("%1: impossibile aprire lo schermo (%2): avvia il gioco da una sessione grafica.\n")
                      .arg(QLatin1String(kProgram), display));
    std::_Exit(1);
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (answeredCommandLine(arguments))
        return 0;
    display = displayName(arguments);
    if (display.isEmpty()) {
        print(stderr, QStringLiteral("%1: nessuno schermo disponibile (DISPLAY non impostato): "
                                     "avvia il gioco da una sessione grafica.\n").arg(QLatin1String(kProgram)));
        return 1;
    }

    qtHandler = qInstallMessageHandler(startupMessageHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);

    // Whatever QApplication did not take as its own option is a mistake.
    const QStringList leftOver = QCoreApplication::arguments().mid(1);
    if (!leftOver.isEmpty()) {
        print(stderr, QStringLiteral("%1: argomento sconosciuto \u00ab%2\u00bb; %1 --help mostra le opzioni.\n")
                          .arg(QLatin1String(kProgram), leftOver.first()));
        return 2;
    }

    QApplication::setApplicationName(QLatin1String(kProgram));
    QApplication::setApplicationVersion(QLatin1String(NUMERELLA_VERSION));
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
    if (tavola.ended())
        return 0;
    return QApplication::exec();
}
