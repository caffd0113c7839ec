// Drives the record store from a process of its own, so tests can run
// several at once, kill one at any moment, or run one as another user.
//
//   record_saver [--nobody] load FOLDER
//       prints the outcome ("readable" or "unreadable"), then the score and
//       the holder as hex, one per line
//   record_saver [--nobody] save FOLDER SCORE NAME
//       prints the outcome: Saved, NotBetter, Unreadable or Failed
//   record_saver race FOLDER LABEL PARITY SAVES
//       saves rising scores of the given parity held by "LABEL-SCORE",
//       printing "S n" or "N n" for each; after each it loads the record and
//       checks that the pair belongs together and never went down; exits 1
//       at the first fault
//   record_saver climb FOLDER
//       prints "pronto", then saves record + 1 held by "Giocatore N" over
//       and over, printing "." after each save, for at most 60 seconds
//
// --nobody drops root for user and group 65534 first.
#include "platform/conversions.h"
#include "records/recordstore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <cstring>

#include <grp.h>
#include <unistd.h>

using namespace numerella;

namespace {

// Unbuffered, so what was printed before a kill is never lost.
void say(const QByteArray& text)
{
    if (::write(STDOUT_FILENO, text.constData(), size_t(text.size())) < 0) {
    }
}

const char* outcomeName(SaveOutcome outcome)
{
    switch (outcome) {
    case SaveOutcome::Saved:
        return "Saved";
    case SaveOutcome::NotBetter:
        return "NotBetter";
    case SaveOutcome::Unreadable:
        return "Unreadable";
    case SaveOutcome::Failed:
        break;
    }
    return "Failed";
}

QString chomp(QString text)
{
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text;
}

int race(RecordStore& store, const QString& label, int parity, int saves)
{
    double seen = 0;
    QRandomGenerator random(QRandomGenerator::system()->generate());
    for (int i = 0; i < saves; ++i) {
        const int score = 2 * (3 * i + int(random.bounded(5))) + parity;
        const QString text = QString::number(score);
        const SaveResult result = store.saveIfBetter(text, label + u'-' + text);
        if (result.outcome != SaveOutcome::Saved && result.outcome != SaveOutcome::NotBetter) {
            say("F " + text.toUtf8() + ' ' + result.problem.toUtf8() + '\n');
            return 1;
        }
        say((result.outcome == SaveOutcome::Saved ? "S " : "N ") + text.toUtf8() + '\n');

        const RecordLoad now = store.load();
        const QString holderScore = chomp(now.pair.holder).section(u'-', 1);
        const double record = parseNumber(now.pair.score);
        if (!now.readable || holderScore != chomp(now.pair.score) || record < seen) {
            say("X " + now.pair.score.toUtf8().toHex() + ' ' + now.pair.holder.toUtf8().toHex() + '\n');
            return 1;
        }
        seen = record;
    }
    return 0;
}

int climb(RecordStore& store)
{
    say("pronto\n");
    QElapsedTimer running;
    running.start();
    while (!running.hasExpired(60 * 1000)) {
        const QString next = QString::number(qint64(parseNumber(store.load().pair.score)) + 1);
        if (store.saveIfBetter(next, QStringLiteral("Giocatore ") + next).outcome != SaveOutcome::Saved) {
            std::fprintf(stderr, "record_saver: the save failed\n");
            return 1;
        }
        say(".");
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--nobody") == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
            std::perror("record_saver: cannot become nobody");
            return 2;
        }
        ++first;
    }
    const int args = argc - first;
    if (args < 2) {
        std::fprintf(stderr, "usage: record_saver [--nobody] load|save|race|climb FOLDER ...\n");
        return 2;
    }
    const QByteArray mode(argv[first]);
    RecordStore store(QFile::decodeName(argv[first + 1]));
    if (mode == "load") {
        const RecordLoad loaded = store.load();
        say((loaded.readable ? "readable\n" : "unreadable\n") + loaded.pair.score.toLatin1().toHex() + '\n'
            + loaded.pair.holder.toLatin1().toHex() + '\n');
        return 0;
    }
    if (mode == "save" && args == 4) {
        const SaveResult result = store.saveIfBetter(QString::fromUtf8(argv[first + 2]), QString::fromUtf8(argv[first + 3]));
        say(QByteArray(outcomeName(result.outcome)) + '\n');
        return 0;
    }
    if (mode == "race" && args == 5)
        return race(store, QString::fromUtf8(argv[first + 2]), std::atoi(argv[first + 3]), std::atoi(argv[first + 4]));
    if (mode == "climb")
        return climb(store);
    std::fprintf(stderr, "record_saver: unknown mode or wrong arguments\n");
    return 2;
}
