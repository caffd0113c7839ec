// Saves new records in a loop, the way the game saves one, so a test can
// kill it at any moment and look at what the disk holds afterwards.
//
//   record_saver FOLDER [SAVES]
//
// It first completes or undoes a save cut short, as the game's start-up does,
// then alternates between score "1111" held by "Anna" and score "22" held by
// "Bartolomeo" (different lengths, so a cut file shows), starting with the one
// not in place yet. Each save is the game's: both pending files, then both
// put in place, the score first. It prints "pronto" on start and one "." after
// each save; it stops after SAVES saves, or after 60 seconds.
#include "platform/diskfiles.h"
#include "records/recordfiles.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

using namespace numerella;

// Unbuffered, so what was printed before a kill is never lost.
static void say(const char* text)
{
    if (::write(STDOUT_FILENO, text, std::strlen(text)) < 0) {
    }
}

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: record_saver FOLDER [SAVES]\n");
        return 2;
    }
    say("pronto\n");

    const QString cartella = withTrailingSeparator(QFile::decodeName(argv[1]));
    const long long limit = argc > 2 ? std::atoll(argv[2]) : -1;
    const char16_t* const records[2][2] = {{u"1111", u"Anna"}, {u"22", u"Bartolomeo"}};

    DiskFiles files;
    const QString scorePath = scoreFilePath(cartella);
    const QString namePath = nameFilePath(cartella);
    finishInterruptedSave(files, scorePath, namePath);
    int next = readWholeText(files, 1, scorePath) == QStringLiteral("1111\r\n") ? 1 : 0;

    QElapsedTimer running;
    running.start();
    for (long long saved = 0; (limit < 0 || saved < limit) && !running.hasExpired(60 * 1000); ++saved) {
        if (!writeRecordLine(files, 1, pendingPath(scorePath), records[next][0])
            || !writeRecordLine(files, 1, pendingPath(namePath), records[next][1])
            || !commitPendingRecord(files, scorePath, namePath)) {
            std::fprintf(stderr, "record_saver: the save failed in %s\n", argv[1]);
            return 1;
        }
        say(".");
        next = 1 - next;
    }
    return 0;
}
