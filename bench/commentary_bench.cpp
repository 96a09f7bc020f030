// The time of one Next press over a script of many empty lines, each of which adds an
// empty line to the commentary.
//
// Run from a release build: commentary_bench [lines] (default 1000000). It writes a problem
// file whose script is that many empty lines and a last remark, opens it in the main
// window (offscreen unless a display is chosen with QT_QPA_PLATFORM), selects the problem
// and presses Next once. It prints the time until the press returns, the longest turn of
// the event loop while the commentary goes in (the window answers between turns), the
// time until all of it is shown, and the processor time spent.
#include "app/TForm1.h"
#include "app/TListBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// Processor time of the process, to compare runs on a busy machine.
double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    if (lines < 0) {
        std::fprintf(stderr, "usage: commentary_bench [lines]\n");
        return 2;
    }
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty-lines.qvn"));
    {
        QByteArray script = ".# 1 Many empty lines\r\n";
        script.reserve(script.size() + 2 * lines + 64);
        for (long i = 0; i < lines; ++i) script += "\r\n";
        script += ".rem The last line.\r\n.end\r\n";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }

    qv::Globales globals;
    qv::TForm1 form(globals, QStringList{QCoreApplication::applicationFilePath(), path});
    form.show();
    QCoreApplication::processEvents();
    form.ListBox1->setCurrentRow(0);
    form.ListBox1Click();
    QCoreApplication::processEvents();

    QElapsedTimer timer;
    const double cpuBefore = CpuMs();
    timer.start();
    form.BitBtn2Click();
    const qint64 pressMs = timer.elapsed();
    // The rest of the commentary arrives in pieces, one per turn of the event loop.
    qint64 longestTurnMs = pressMs;
    while (form.PendingMemoLines() > 0) {
        QElapsedTimer turn;
        turn.start();
        QCoreApplication::processEvents();
        longestTurnMs = std::max(longestTurnMs, turn.elapsed());
    }
    form.Memo1->repaint();
    QCoreApplication::processEvents();
    const qint64 shownMs = timer.elapsed();
    const double cpuMs = CpuMs() - cpuBefore;

    std::printf("empty lines     %ld\n", lines);
    std::printf("memo lines      %d\n", form.Memo1->document()->blockCount());
    std::printf("Next press      %lld ms\n", static_cast<long long>(pressMs));
    std::printf("longest turn    %lld ms (the window waits at most this long)\n",
                static_cast<long long>(longestTurnMs));
    std::printf("all shown       %lld ms\n", static_cast<long long>(shownMs));
    std::printf("processor time  %.0f ms\n", cpuMs);
    return 0;
}
