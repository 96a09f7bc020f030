// Processor time of the trainer's two idle boards, and the pace of a computer game.
//
// Run from a release build: idle_cpu_bench [seconds] (default 10). The first run builds the
// trainer's configuration (two shown boards, the computer playing neither side, search
// depth 1, normal priority), lets the event loop run, and prints the processor time the
// process and each of its threads used meanwhile: it should be close to zero. The second
// lets one board play both sides at depth 4 and prints the time per move.
#include "board/ui/TChessBrd.h"
#include "engine/thread/TChessThread.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>

namespace {

double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

double RusageMs() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    auto ms = [](const timeval& tv) { return tv.tv_sec * 1000.0 + tv.tv_usec / 1000.0; };
    return ms(ru.ru_utime) + ms(ru.ru_stime);
}

struct ThreadCpu {
    std::string Name;
    double Ms = 0;
};

// Processor time of every thread of this process, from /proc: the scheduler's
// nanosecond count (schedstat) where the kernel keeps it, else clock ticks (stat).
std::map<int, ThreadCpu> ThreadTimes() {
    std::map<int, ThreadCpu> result;
    const double tick = 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f(tasks.filePath(tid) + QStringLiteral("/stat"));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = f.readAll();
        const int open = line.indexOf('('), close = line.lastIndexOf(')');
        if (open < 0 || close < open) continue;
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        // After the name: state is field 3 of stat, utime 14 and stime 15.
        if (fields.size() < 13) continue;
        ThreadCpu t;
        t.Name = line.mid(open + 1, close - open - 1).toStdString();
        t.Ms = (fields[11].toDouble() + fields[12].toDouble()) * tick;
        QFile sched(tasks.filePath(tid) + QStringLiteral("/schedstat"));
        if (sched.open(QIODevice::ReadOnly)) {
            bool ok = false;
            const double ns = sched.readAll().split(' ').value(0).toDouble(&ok);
            if (ok) t.Ms = ns / 1e6;
        }
        result[tid.toInt()] = t;
    }
    return result;
}

void PrintThreadTimes(const std::map<int, ThreadCpu>& before,
                      const std::map<int, ThreadCpu>& after) {
    for (const auto& [tid, t1] : after) {
        const auto it = before.find(tid);
        const double was = it == before.end() ? 0 : it->second.Ms;
        std::printf("    %-7d %-18s %10.3f ms\n", tid, t1.Name.c_str(), t1.Ms - was);
    }
}

void RunEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void WaitFirstPaint(qv::TChessBrd& b) {
    QElapsedTimer clock;
    clock.start();
    while (!b.FirstPaintDone() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void IdleTrainer(int seconds) {
    qv::TChessBrd main, aux;
    for (qv::TChessBrd* b : {&main, &aux}) {
        b->SetComputerPlaysWhite(false);
        b->SetComputerPlaysBlack(false);
        b->SetCustomEngine(false);
        b->SetSearchDepth(1);
        b->SetThinkingPriority(qv::tpNormal);
        b->show();
        WaitFirstPaint(*b);
    }
    // A user's move on each board, as in a problem, then nothing.
    main.MakeMove(qv::E2, qv::E4);
    aux.MakeMove(qv::D2, qv::D4);
    RunEventLoopFor(200); // the passes that look at the new positions end

    const int passes0 = main.Thread()->Passes() + aux.Thread()->Passes();
    const auto threads0 = ThreadTimes();
    const double cpu0 = ProcessCpuMs(), ru0 = RusageMs();
    QElapsedTimer wall;
    wall.start();
    RunEventLoopFor(seconds * 1000);
    const double wallMs = static_cast<double>(wall.elapsed());
    const double cpu = ProcessCpuMs() - cpu0, ru = RusageMs() - ru0;
    const auto threads1 = ThreadTimes();
    const int passes = main.Thread()->Passes() + aux.Thread()->Passes() - passes0;

    std::printf("Idle trainer: two boards, computer plays neither side, %.1f s of event loop\n",
                wallMs / 1000);
    std::printf("  process CPU   %8.2f ms  (%.4f%% of one core)\n", cpu, 100.0 * cpu / wallMs);
    std::printf("  getrusage     %8.2f ms\n", ru);
    std::printf("  thread passes %8d     searching: %s\n", passes,
                main.Thread()->HasSearcher() || aux.Thread()->HasSearcher() ? "yes" : "no");
    std::printf("  per thread:\n");
    PrintThreadTimes(threads0, threads1);
}

void ComputerGame(int depth, int maxPlies) {
    qv::TChessBrd b;
    b.SetAnimateMoves(false);
    b.SetSearchDepth(depth);
    b.show();
    WaitFirstPaint(b);
    int plies = 0;
    bool ended = false;
    b.OnLegalMove = [&](qv::BoardModel*, qv::Square, qv::Square) {
        if (++plies >= maxPlies) {
            b.SetComputerPlaysWhite(false);
            b.SetComputerPlaysBlack(false);
        }
    };
    auto end = [&] {
        ended = true;
        b.SetComputerPlaysWhite(false);
        b.SetComputerPlaysBlack(false);
    };
    b.OnMate = [&](qv::BoardModel*, qv::Square, qv::Square) { end(); };
    b.OnDraw = [&](qv::BoardModel*) { end(); };

    // The event loop ends with the game (or after the plies, or five minutes).
    QEventLoop loop;
    QTimer done;
    QObject::connect(&done, &QTimer::timeout, [&] {
        if (plies >= maxPlies || ended) loop.quit();
    });
    done.start(20);
    QTimer::singleShot(300000, &loop, &QEventLoop::quit);

    const auto threads0 = ThreadTimes();
    const double cpu0 = ProcessCpuMs();
    QElapsedTimer wall;
    wall.start();
    b.SetComputerPlaysWhite(true);
    b.SetComputerPlaysBlack(true);
    loop.exec();
    const double wallMs = static_cast<double>(wall.elapsed());
    const double cpu = ProcessCpuMs() - cpu0;
    const auto threads1 = ThreadTimes();
    b.StopThinking();
    std::printf("Computer game from the initial position, depth %d, both sides:\n", depth);
    std::printf("  %d plies%s in %.0f ms wall, %.0f ms CPU: %.1f ms per move\n", plies,
                ended ? " (game over)" : "", wallMs, cpu, plies ? wallMs / plies : 0.0);
    std::printf("  final position: %s\n", b.Fen().c_str());
    std::printf("  per thread:\n");
    PrintThreadTimes(threads0, threads1);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    IdleTrainer(seconds);
    ComputerGame(4, 40);
    return 0;
}
