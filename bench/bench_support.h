// Small helpers shared by the benchmark programs.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace numerella::bench {

// Peak resident size of this process so far, in KiB (VmHWM), or -1 when the
// system does not say.
inline long long peakResidentKiB()
{
    // /proc files claim to be empty: read them to the end instead.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmHWM:")) {
            bool ok = false;
            const long long kib = line.mid(6).simplified().split(' ').value(0).toLongLong(&ok);
            return ok ? kib : -1;
        }
    }
    return -1;
}

// Runs the event loop until the window is on the screen (exposed) and then
// once more, so its first paint has been delivered. False if that takes
// longer than `limitMs`.
inline bool waitUntilShown(QWidget& window, int limitMs = 10000)
{
    const QDeadlineTimer deadline(limitMs);
    while (!(window.isVisible() && window.windowHandle() && window.windowHandle()->isExposed())) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();
    return true;
}

// The last line every start-up program prints: what the run script reads.
inline void reportPeakMemory()
{
    std::printf("VmHWM_kB=%lld\n", peakResidentKiB());
    std::fflush(stdout);
}

} // namespace numerella::bench
