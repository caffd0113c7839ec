// Drives the record store from a process of its own, so tests can run two
// at once, kill one at any moment, or run one as another user.
//
//   record_saver [--nobody] load FOLDER              prints readable|unreadable
//   record_saver [--nobody] save FOLDER SCORE NAME   prints the outcome
//   record_saver climb FOLDER SAVES
//       prints "pronto", then SAVES times saves the record + 1 held by
//       "Giocatore N", printing S (saved) or N (another copy got there
//       first); exits 1 as soon as a load shows a pair that does not belong
//       together or a record that went down.
//
// --nobody drops root for user and group 65534 first.
#include "records/recordstore.h"
#include "platform/conversions.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <grp.h>
#include <unistd.h>

using namespace numerella;

// Unbuffered, so what was printed before a kill is never lost.
static void say(const QByteArray& text)
{
    if (::write(STDOUT_FILENO, text.constData(), size_t(text.size())) < 0)
        std::exit(3);
}

static int climb(RecordStore& store, int saves)
{
    const RecordPair first = store.load().pair;
    double seen = 0;
    say("pronto\n");
    for (int i = 0; i < saves; ++i) {
        const RecordLoad now = store.load();
        const double record = parseNumber(now.pair.score);
        const bool together = now.pair.holder == QStringLiteral("Giocatore ") + now.pair.score
                              || (now.pair.score == first.score && now.pair.holder == first.holder);
        if (!now.readable || !together || record < seen)
            return 1;
        seen = record;
        const QString next = QString::number(qint64(record) + 1);
        const SaveOutcome outcome = store.saveIfBetter(next, QStringLiteral("Giocatore ") + next).outcome;
        if (outcome != SaveOutcome::Saved && outcome != SaveOutcome::NotBetter)
            return 1;
        say(outcome == SaveOutcome::Saved ? "S" : "N");
    }
    return 0;
}

int main(int argc, char* argv[])
{
    const bool nobody = argc > 1 && std::strcmp(argv[1], "--nobody") == 0;
    if (nobody && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
        return 2;
    char** args = argv + 1 + nobody;
    const int count = argc - 1 - nobody;
    if (count < 2)
        return 2;
    const QByteArray mode(args[0]);
    RecordStore store(QFile::decodeName(args[1]));
    if (mode == "load" && count == 2) {
        say(store.load().readable ? "readable\n" : "unreadable\n");
        return 0;
    }
    if (mode == "save" && count == 4) {
        const char* names[] = {"Saved", "NotBetter", "Unreadable", "Failed"};
        say(names[int(store.saveIfBetter(QString::fromUtf8(args[2]), QString::fromUtf8(args[3])).outcome)]
            + QByteArray("\n"));
        return 0;
    }
    if (mode == "climb" && count == 3)
        return climb(store, std::atoi(args[2]));
    return 2;
}
