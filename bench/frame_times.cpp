// Keystroke to a painted verdict and key press on "Nuovo calcolo" to a
// painted new question, on the real window filling a 3840x2160 screen: what
// a child waits for after each answer. One frame at 60 Hz is 16.7 ms.
#include "harness.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRounds = 50;
constexpr double kFrameMs = 1000.0 / 60;

// One line the run script reads: median, slowest and how many of the rounds
// missed a frame.
void report(const char* figure, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const auto missed = std::count_if(ms.begin(), ms.end(), [](double t) { return t > kFrameMs; });
    std::printf("%s median_ms=%.2f slowest_ms=%.2f missed=%d rounds=%d\n", figure, ms[ms.size() / 2], ms.back(),
                static_cast<int>(missed), static_cast<int>(ms.size()));
}

} // namespace

int main(int argc, char* argv[])
{
    // An offscreen screen of the size to measure, so the maximised window
    // really is that large.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly))
        return 2;
    file.write(R"({"screens": [{"name": "UHD", "x": 0, "y": 0, "width": 3840, "height": 2160,
                  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication app(argc, argv);

    numerella::testing::Harness harness;
    harness.start(QStringLiteral("Bench"));
    QWidget& window = harness.window();
    // Let the maximised size arrive before the first paint.
    QApplication::processEvents();
    window.repaint();

    std::vector<double> verdict;
    std::vector<double> question;
    QElapsedTimer timer;
    for (int round = 0; round < kRounds; ++round) {
        // Right and wrong alike: a wrong answer blacks the board and the next
        // question brings the shading back.
        timer.start();
        harness.answer(QStringLiteral("50"));
        window.repaint();
        verdict.push_back(timer.nsecsElapsed() / 1e6);

        timer.start();
        harness.nextQuestion();
        window.repaint();
        question.push_back(timer.nsecsElapsed() / 1e6);
    }

    std::printf("window %dx%d\n", window.width(), window.height());
    report("verdict", verdict);
    report("question", question);
    return 0;
}
