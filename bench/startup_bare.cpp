// The floor for the start-up figures: a bare Qt program that opens one empty
// maximised main window and ends as soon as the window is shown.
//
// With --label the window shows one line of text, which is what it takes
// for any program to load the font system: a second, informational floor.
#include "bench_support.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    if (QCoreApplication::arguments().contains(QStringLiteral("--label")))
        window.setCentralWidget(new QLabel(QStringLiteral("Numerella del dieci"), &window));
    window.showMaximized();
    if (!numerella::bench::waitUntilShown(window)) {
        std::fprintf(stderr, "startup_bare: the window was never shown\n");
        return 2;
    }
    numerella::bench::reportPeakMemory();
    return 0;
}
