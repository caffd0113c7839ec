// Saves new records in a loop, the way the game saves one, so a test can
// kill it at any moment and look at what the disk holds afterwards.
//
//   record_saver FOLDER [SAVES]
//
// It first completes or undoes a save cut short, as the game's start-up does,
// then alternates between two complete records: score "1111" held by "Anna"
// and score "22" held by "Bartolomeo" (different lengths, so a cut file
// shows). It starts with the record that is not in place yet, so every run
// changes the files. Each save is the game's: the new score line into its
// pending file, the new name line into its pending file, then both put in
// place, the score first. It prints "pronto" on start and one "." after each
// save; it stops after SAVES saves, or after 60 seconds should nobody kill it.
#include "platform/diskfiles.h"
#include "records/recordfiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

using namespace numerella;

namespace {

struct Record {
    QString score;
    QString name;
};

// Unbuffered, so what was printed before a kill is never lost.
void say(const char* text, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, text, size);
        if (written <= 0)
            return;
        text += written;
        size -= std::size_t(written);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: record_saver FOLDER [SAVES]\n");
        return 2;
    }
    say("pronto\n", 7);

    const QString cartella = withTrailingSeparator(QFile::decodeName(argv[1]));
    const long long limit = argc > 2 ? std::atoll(argv[2]) : -1;
    const Record records[2] = {
        {QStringLiteral("1111"), QStringLiteral("Anna")},
        {QStringLiteral("22"), QStringLiteral("Bartolomeo")},
    };

    DiskFiles files;
    const QString scorePath = scoreFilePath(cartella);
    const QString namePath = nameFilePath(cartella);
    finishInterruptedSave(files, scorePath, namePath);

    const std::optional<QString> current = readWholeText(files, files.freeFile(), scorePath);
    int next = current && *current == records[0].score + QStringLiteral("\r\n") ? 1 : 0;

    QElapsedTimer running;
    running.start();
    for (long long saved = 0; limit < 0 || saved < limit; ++saved) {
        const Record& record = records[next];
        const bool ok = writeRecordLine(files, files.freeFile(), pendingPath(scorePath), record.score)
                        && writeRecordLine(files, files.freeFile(), pendingPath(namePath), record.name)
                        && commitPendingRecord(files, scorePath, namePath);
        if (!ok) {
            std::fprintf(stderr, "record_saver: the save failed in %s\n", argv[1]);
            return 1;
        }
        say(".", 1);
        next = 1 - next;
        if (running.hasExpired(60 * 1000))
            break;
    }
    return 0;
}
