// Opening a 100,000-problem file in the trainer's main window until its index is usable:
// the index scan, the list model and the list painted. Then typing a filter that keeps
// every tenth entry, clearing it, and selecting the last problem of the file.
// Run with a display (or QT_QPA_PLATFORM=offscreen) on a release build.
#include "app/TForm1.h"
#include "app/TListBox.h"
#include "script/core/ProblemIndex.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int Problems = 100000;

void WriteProblems(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    for (int n = 1; n <= Problems; ++n) {
        out << ".# " << n << " Imported puzzle " << n << (n % 10 == 0 ? " rook ending" : "")
            << "\r\n.position\r\n"
            << "1111t1r1\r\npp111ppp\r\n11111111\r\n11111111\r\n11111111\r\n11111111\r\n"
            << "PPP11PPP\r\n1111T1R1\r\n"
            << ".plays white\r\n.*w\r\n.if e1e8 x 1 Mate.\r\n.back\r\n.m e1e8\r\n.end\r\n";
    }
}

double Ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    const QString path = dir.filePath(QStringLiteral("large.qvn"));
    // The progress store of the run stays in the temporary folder, never the user's.
    qputenv("QUORVANE_PROGRESS_DB", dir.filePath(QStringLiteral("progress.sqlite")).toLocal8Bit());
    WriteProblems(path.toStdString());

    // The index scan alone, for comparison.
    QElapsedTimer t;
    t.start();
    qv::Globales scanOnly;
    const std::size_t scanned = qv::ScanProblemIndex(scanOnly, path.toStdString()).size();
    const double scan = Ms(t);

    qv::Globales globals;
    qv::TForm1 form(globals, {QCoreApplication::applicationFilePath()});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;

    t.restart();
    form.OpenRecentFile(path);
    form.ListBox1->repaint();
    const double open = Ms(t);
    if (form.ListBox1->count() != Problems) {
        std::fprintf(stderr, "listed %d entries\n", form.ListBox1->count());
        return 1;
    }

    t.restart();
    form.FilterEdit1->setText(QStringLiteral("rook"));
    form.ListBox1->repaint();
    const double filter = Ms(t);
    const int filtered = form.ListBox1->count();
    t.restart();
    form.FilterEdit1->clear();
    form.ListBox1->repaint();
    const double unfilter = Ms(t);

    t.restart();
    form.ListBox1->setCurrentRow(Problems - 1);
    form.ListBox1->scrollTo(form.ListBox1->model()->index(Problems - 1, 0));
    form.ListBox1Click();
    form.repaint();
    const double select = Ms(t);

    std::printf("index scan alone (%zu entries): %.1f ms\n", scanned, scan);
    std::printf("open %d problems to a painted index: %.1f ms\n", Problems, open);
    std::printf("filter to %d entries: %.1f ms; clear the filter: %.1f ms\n", filtered, filter,
                unfilter);
    std::printf("select the last problem: %.1f ms\n", select);
    return open < 1000.0 ? 0 : 2;
}
