// The game's hot paths, each measured beside a floor that does the least the
// same job could do, in the same run: the run script prints their ratios.
//
//   shading/WxH           paintShading of a whole RGB32 image
//   fill/WxH              floor: one QImage::fill of the same image
//   answer/...            Enter in the answer box (txtAnswer_KeyPress, 13)
//   answer/floor          floor: four plain QLabel::setText calls
//   answer/first_sound    the first playSound of a fresh Qt desktop
//   question/WxH          cmdNext_Click on a board of that size
//   question_after_wrong  the same right after a wrong answer blacked the board
//   ...+repaint           the handler and the repaint it causes
//   save/record           both record files written durably and put in place
//   save/floor            one plain QFile write and close of the same bytes
//   parse/...             parseNumber of a caption
//   strtod/...            floor: std::strtod of the same text
//
// Everything runs on real widgets under the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.
#include "bench_support.h"

#include "fakeplatform.h"
#include "platform/conversions.h"
#include "platform/qtplatform.h"
#include "quiz/answer.h"
#include "quiz/shading.h"
#include "records/recordstore.h"
#include "window/board.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"
#include "window/tavola.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QWidget>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace numerella;
using numerella::testing::FakePlatform;

namespace {

using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point start, Clock::time_point stop)
{
    return std::chrono::duration<double>(stop - start).count();
}

// Lets the event loop run for a while: sounds load, windows settle.
void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (timer.elapsed() < ms);
}

// The event loop runs between two keystrokes or clicks; a benchmark that
// never returns to it would pile up posted events no player ever sees.
// The timed loops below let it run every so often, outside the timing.
constexpr int kEventLoopEvery = 64;

QString soundPath(const QString& name)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/suoni/") + name;
}

// ---------------------------------------------------------------- shading

void shading(benchmark::State& state, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::int16_t tono = 0;
    for (auto _ : state) {
        paintShading(image, tono);
        benchmark::ClobberMemory();
        tono = static_cast<std::int16_t>((tono + 1) % 15);
    }
    benchmark::DoNotOptimize(image.constBits());
    state.SetBytesProcessed(state.iterations() * image.sizeInBytes());
}

void fillFloor(benchmark::State& state, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    int level = 0;
    for (auto _ : state) {
        image.fill(qRgb(level, level, 128));
        benchmark::ClobberMemory();
        level = (level + 10) % 150;
    }
    benchmark::DoNotOptimize(image.constBits());
    state.SetBytesProcessed(state.iterations() * image.sizeInBytes());
}

// ------------------------------------------------------ the game on widgets

// The scripted desktop, except that sounds really play through Qt, as they
// do in the game.
class RealSoundPlatform final : public Platform {
public:
    explicit RealSoundPlatform(FakePlatform& script)
        : script_(script)
    {
    }

    int messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title) override
    {
        return script_.messageBox(prompt, buttonSet, title);
    }
    QString inputBox(const QString& prompt) override { return script_.inputBox(prompt); }
    void playSound(const QString& path) override { sound_.playSound(path); }
    QString recordFolder() override { return script_.recordFolder(); }
    QString programFolder() override { return script_.programFolder(); }
    void endProgram() override { script_.endProgram(); }
    float nextRandom() override { return script_.nextRandom(); }
    void reseedRandomFromClock() override { script_.reseedRandomFromClock(); }
    QString shortDate() override { return script_.shortDate(); }

private:
    FakePlatform& script_;
    QtPlatform sound_;
};

// One loaded game: a board with its first question, in a private record
// folder. Its sounds are either recorded by the script or played by Qt.
class Game {
public:
    explicit Game(bool realSound)
        : script_(dir_.path() + QStringLiteral("/records"), QCoreApplication::applicationDirPath())
    {
        script_.inputAnswers = QStringList{QStringLiteral("Bench")};
        if (realSound)
            realSound_ = std::make_unique<RealSoundPlatform>(script_);
        window_ = std::make_unique<Tavola>(realSound_ ? static_cast<Platform&>(*realSound_) : script_);
        window_->load();
        bench::waitUntilShown(*window_);
    }

    Tavola& window() { return *window_; }
    FakePlatform& script() { return script_; }

    // A normal window of that outer size (the offscreen screen is small, so
    // maximising does not give it).
    void resizeTo(int width, int height)
    {
        if (window_->size() == QSize(width, height))
            return;
        window_->setWindowState(Qt::WindowNoState);
        window_->resize(width, height);
        settle(20);
    }

    // The two that the benchmarks share; built on first use.
    static Game& withRecordedSound()
    {
        if (!recorded_)
            recorded_ = std::make_unique<Game>(false);
        return *recorded_;
    }
    static Game& withRealSound()
    {
        if (!real_)
            real_ = std::make_unique<Game>(true);
        return *real_;
    }
    static void closeAll()
    {
        recorded_.reset();
        real_.reset();
    }

private:
    QTemporaryDir dir_;
    FakePlatform script_;
    std::unique_ptr<RealSoundPlatform> realSound_;
    std::unique_ptr<Tavola> window_;

    static std::unique_ptr<Game> recorded_;
    static std::unique_ptr<Game> real_;
};

std::unique_ptr<Game> Game::recorded_;
std::unique_ptr<Game> Game::real_;

void reportBoardSize(benchmark::State& state, Tavola& window)
{
    const QSize board = window.controls().board->size();
    state.counters["board_w"] = board.width();
    state.counters["board_h"] = board.height();
}

// Enter in the answer box with a right or a wrong answer typed.
void answer(benchmark::State& state, bool right, bool realSound)
{
    Game& game = realSound ? Game::withRealSound() : Game::withRecordedSound();
    Tavola& window = game.window();
    game.resizeTo(1920, 1080);
    if (!QFileInfo(soundPath(QStringLiteral("Esatto.wav"))).isFile()
        || !QFileInfo(soundPath(QStringLiteral("no.wav"))).isFile()) {
        state.SkipWithError("the answer sounds are not beside the benchmark program");
        return;
    }
    window.cmdNext_Click();
    QLineEdit* box = window.controls().txtAnswer;
    box->setText(right ? QString::number(window.state().risultato) : QString());
    // One answer first, so a real sound is created and has time to load:
    // the loop measures the keystrokes of a game under way.
    std::int16_t first = keys::kEnter;
    window.txtAnswer_KeyPress(first);
    settle(realSound ? 300 : 10);

    long long n = 0;
    for (auto _ : state) {
        std::int16_t key = keys::kEnter;
        const auto start = Clock::now();
        window.txtAnswer_KeyPress(key);
        const auto stop = Clock::now();
        state.SetIterationTime(secondsBetween(start, stop));
        if (++n % kEventLoopEvery == 0) {
            QCoreApplication::processEvents();
            game.script().sounds.clear();
            // Keep the counters well below their ceiling, so every answer
            // changes the score captions as it does in a real race.
            GameState& counters = window.state();
            if (counters.giuste > 30000 || counters.sbagliate > 30000)
                counters.giuste = counters.sbagliate = 0;
        }
    }
    settle(5);
    const QString expected = right ? QStringLiteral("Esatto!") : QStringLiteral("Sbagliato!!");
    if (!window.controls().lblMessage->caption().startsWith(expected))
        state.SkipWithError("the answer was not judged as expected");
    reportBoardSize(state, window);
    if (realSound)
        state.counters["audio_outputs"] = double(QMediaDevices::audioOutputs().size());
}

// The floor: four captions set on plain labels of a shown window, each to a
// new text, as the handler's own captions change.
class FloorWindow {
public:
    FloorWindow()
    {
        window_.resize(1920, 1080);
        for (int i = 0; i < 4; ++i) {
            labels_[i] = new QLabel(&window_);
            labels_[i]->setGeometry(100 + 300 * i, 300, 280, 60);
        }
        for (int i = 0; i < 1000; ++i)
            texts_.push_back(QString::number(i));
        window_.show();
        bench::waitUntilShown(window_);
    }

    void setFourCaptions(std::size_t round)
    {
        for (std::size_t i = 0; i < 4; ++i)
            labels_[i]->setText(texts_[(round + i) % texts_.size()]);
    }

    QString caption(int i) const { return labels_[i]->text(); }

private:
    QWidget window_;
    QLabel* labels_[4] = {};
    std::vector<QString> texts_;
};

void answerFloor(benchmark::State& state)
{
    FloorWindow floor;
    std::size_t round = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        floor.setFourCaptions(++round);
        const auto stop = Clock::now();
        state.SetIterationTime(secondsBetween(start, stop));
        if (round % kEventLoopEvery == 0)
            QCoreApplication::processEvents();
    }
    if (floor.caption(0).isEmpty())
        state.SkipWithError("the floor labels were not set");
}

// What the child's first answer costs when the sound has never played: a
// fresh desktop creating the sound effect and starting it.
void firstSound(benchmark::State& state)
{
    const QString path = soundPath(QStringLiteral("Esatto.wav"));
    if (!QFileInfo(path).isFile()) {
        state.SkipWithError("Esatto.wav is not beside the benchmark program");
        return;
    }
    for (auto _ : state) {
        auto platform = std::make_unique<QtPlatform>();
        const auto start = Clock::now();
        platform->playSound(path);
        const auto stop = Clock::now();
        state.SetIterationTime(secondsBetween(start, stop));
        settle(20);
    }
    state.counters["audio_outputs"] = double(QMediaDevices::audioOutputs().size());
}

// Enter with a right answer and the repaint it leads to.
void answerWithRepaint(benchmark::State& state)
{
    Game& game = Game::withRecordedSound();
    Tavola& window = game.window();
    game.resizeTo(1920, 1080);
    window.cmdNext_Click();
    window.controls().txtAnswer->setText(QString::number(window.state().risultato));
    QCoreApplication::processEvents();
    for (auto _ : state) {
        std::int16_t key = keys::kEnter;
        window.txtAnswer_KeyPress(key);
        QCoreApplication::processEvents();
        game.script().sounds.clear();
    }
    reportBoardSize(state, window);
}

// A new question on the board at the given outer window size.
void question(benchmark::State& state, int width, int height, bool afterWrongAnswer, bool withRepaint)
{
    Game& game = Game::withRecordedSound();
    Tavola& window = game.window();
    game.resizeTo(width, height);
    Board* board = window.controls().board;
    window.cmdNext_Click();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        if (afterWrongAnswer)
            board->setBackColor(Qt::black);  // what a wrong answer does to the board
        const auto start = Clock::now();
        window.cmdNext_Click();
        if (withRepaint)
            QCoreApplication::processEvents();
        const auto stop = Clock::now();
        state.SetIterationTime(secondsBetween(start, stop));
        if (!withRepaint)
            QCoreApplication::processEvents();
    }
    if (!board->isShaded())
        state.SkipWithError("the board was not shaded");
    reportBoardSize(state, window);
}

// ------------------------------------------------------------ record save

void recordSave(benchmark::State& state)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    // The game's whole save: lock, check, two new files, two replaces.
    RecordStore store(dir.path());
    store.load();
    long long score = 0;
    for (auto _ : state) {
        if (store.saveIfBetter(QString::number(++score), QStringLiteral("Bench")).outcome != SaveOutcome::Saved) {
            state.SkipWithError("the record could not be saved");
            break;
        }
    }
    QFile written(dir.filePath(kScoreFileName));
    if (!written.open(QIODevice::ReadOnly) || written.readAll() != recordLineBytes(QString::number(score)))
        state.SkipWithError("the score file does not hold the record");
}

void saveFloor(benchmark::State& state)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const QString path = dir.filePath(QStringLiteral("plain.txt"));
    const QByteArray bytes = recordLineBytes(u"57") + recordLineBytes(u"Bench");
    for (auto _ : state) {
        QFile file(path);
        const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                             && file.write(bytes) == bytes.size();
        file.close();
        if (!written) {
            state.SkipWithError("the plain file could not be written");
            break;
        }
    }
}

// ------------------------------------------------------------ number parse

void parse(benchmark::State& state, const char* text)
{
    const QString caption = QString::fromLatin1(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(parseNumber(caption));
}

void strtodFloor(benchmark::State& state, const char* text)
{
    const std::string caption = text;
    for (auto _ : state) {
        char* end = nullptr;
        benchmark::DoNotOptimize(std::strtod(caption.c_str(), &end));
        benchmark::DoNotOptimize(end);
    }
}

void registerAll()
{
    const std::pair<int, int> sizes[] = {{792, 554}, {1920, 1080}, {3840, 2160}};
    for (const auto& [w, h] : sizes) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        benchmark::RegisterBenchmark(("shading/" + size).c_str(), shading, w, h)->UseRealTime();
        benchmark::RegisterBenchmark(("fill/" + size).c_str(), fillFloor, w, h)->UseRealTime();
    }

    benchmark::RegisterBenchmark("answer/floor", answerFloor)->UseManualTime();
    benchmark::RegisterBenchmark("answer/right/recorded_sound", answer, true, false)->UseManualTime();
    benchmark::RegisterBenchmark("answer/wrong/recorded_sound", answer, false, false)->UseManualTime();
    benchmark::RegisterBenchmark("answer/right/real_sound", answer, true, true)->UseManualTime();
    benchmark::RegisterBenchmark("answer/wrong/real_sound", answer, false, true)->UseManualTime();
    benchmark::RegisterBenchmark("answer/first_sound", firstSound)->UseManualTime()->Iterations(5);
    benchmark::RegisterBenchmark("answer+repaint/right/1920x1080", answerWithRepaint)->UseRealTime();

    benchmark::RegisterBenchmark("question/1920x1080", question, 1920, 1080, false, false)->UseManualTime();
    benchmark::RegisterBenchmark("question/3840x2160", question, 3840, 2160, false, false)->UseManualTime();
    benchmark::RegisterBenchmark("question_after_wrong/1920x1080", question, 1920, 1080, true, false)
        ->UseManualTime();
    benchmark::RegisterBenchmark("question+repaint/1920x1080", question, 1920, 1080, false, true)
        ->UseManualTime();
    benchmark::RegisterBenchmark("question+repaint/3840x2160", question, 3840, 2160, false, true)
        ->UseManualTime();

    benchmark::RegisterBenchmark("save/record", recordSave)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("save/floor", saveFloor)->UseRealTime()->Unit(benchmark::kMillisecond);

    const std::pair<const char*, const char*> captions[] = {{"12_crlf", "12\r\n"}, {"070", "070"}, {"empty", ""}};
    for (const auto& [name, text] : captions) {
        benchmark::RegisterBenchmark((std::string("parse/") + name).c_str(), parse, text)->UseRealTime();
        benchmark::RegisterBenchmark((std::string("strtod/") + name).c_str(), strtodFloor, text)->UseRealTime();
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("numerella-del-dieci-bench"));
    QApplication::setQuitOnLastWindowClosed(false);

    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Game::closeAll();
    return 0;
}
