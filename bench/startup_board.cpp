// Start-up of the game itself, up to the board shown with its first question:
// the application set up as main() does, the scripted desktop answering the
// name prompt and the greeting at once, records in a private folder.
#include "bench_support.h"

#include "fakeplatform.h"
#include "platform/qtplatform.h"
#include "window/boardlabel.h"
#include "window/tavola.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <QTemporaryDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("numerella-del-dieci"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icona.ico")));
    QApplication::setQuitOnLastWindowClosed(false);

    QTemporaryDir records;
    if (!records.isValid()) {
        std::fprintf(stderr, "startup_board: no temporary folder for the records\n");
        return 2;
    }
    numerella::testing::FakePlatform platform(records.path(), QCoreApplication::applicationDirPath());
    platform.inputAnswers = QStringList{QStringLiteral("Bench")};
    numerella::Tavola tavola(platform);
    // The program keeps its Qt desktop for the whole run; one is made here
    // too, so the same libraries are loaded, while the script answers.
    numerella::QtPlatform desktop;
    desktop.setDialogParent(&tavola);
    tavola.load();
    if (tavola.ended() || !numerella::bench::waitUntilShown(tavola)) {
        std::fprintf(stderr, "startup_board: the board was never shown\n");
        return 2;
    }
    // A drawn question has both factors on the board.
    if (tavola.controls().lblNum2->caption().isEmpty()) {
        std::fprintf(stderr, "startup_board: no question on the board\n");
        return 2;
    }
    numerella::bench::reportPeakMemory();
    return 0;
}
