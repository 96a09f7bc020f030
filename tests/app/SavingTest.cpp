// The error box's text and the file writers' messages and bytes, without a main window.
#include "app/Saving.h"
#include "app/ErrorBox.h"
#include "app/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

using namespace qv;

class SavingTest : public QObject {
    Q_OBJECT
private slots:
    void errorBoxAddsOneFullStop() {
        QCOMPARE(ErrorBoxText(QStringLiteral("File not found")), QStringLiteral("File not found."));
        QCOMPARE(ErrorBoxText(QStringLiteral("Done.")), QStringLiteral("Done."));
        QCOMPARE(ErrorBoxText(QStringLiteral("'x' is not a valid integer value")),
                 QStringLiteral("'x' is not a valid integer value."));
    }

    void resultsAreUtf8WithCrLf() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.txt"));
        WriteResultsFile(path, QStringLiteral("12 Knight fork é"), 3);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("12 Knight fork \xc3\xa9\r\n3points\r\n"));
    }

    // A save that fails half-way (here: a file size limit, as a full disk would) leaves
    // the file it was to replace untouched, and no temporary file behind.
    void failedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("remarks.txt"));
        const QByteArray old = "Earlier remarks\r\n";
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        const QStringList lines(200, QStringLiteral("A remark long enough to pass the limit."));
        struct rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 1000;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QString message;
        try {
            WriteRemarksFile(path, lines);
        } catch (const std::runtime_error& e) {
            message = QString::fromUtf8(e.what());
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(message, QStringLiteral("Disk full"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"remarks.txt"});

        // Without the limit the same save replaces the file.
        WriteRemarksFile(path, lines.mid(0, 2));
        f.close();
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().count("\r\n"), 2);
    }

    // The real save dialog: the standard question before replacing a file, a filter for
    // text files, and the name offered.
    void saveDialogAsksBeforeOverwriting() {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("results.txt"));
        QStringList filters, selected;
        bool confirms = false;
        QTimer timer;
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            timer.stop();
            filters = dialog->nameFilters();
            confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            selected = dialog->selectedFiles();
            dialog->reject();
        });
        timer.start();
        QtDialogs dialogs;
        QCOMPARE(dialogs.GetSaveFileName(nullptr, name), QString());
        QCOMPARE(filters.value(0), QStringLiteral("Text files (*.txt)"));
        QVERIFY(confirms);
        QCOMPARE(selected, QStringList{name});
    }

    void memoLinesDropOnlyAnEmptyLastLine() {
        QPlainTextEdit memo;
        memo.resize(300, 100);
        memo.show();
        QVERIFY(MemoVisualLines(memo).isEmpty());
        memo.setPlainText(QStringLiteral("a\n\nb\n"));
        QCOMPARE(MemoVisualLines(memo), (QStringList{"a", "", "b"}));
        memo.setPlainText(QStringLiteral("\n"));
        QCOMPARE(MemoVisualLines(memo), QStringList{""});
        // An empty line that the script added is a line of its own.
        memo.setPlainText(QStringLiteral("a\n"));
        memo.document()->lastBlock().setUserState(ScriptMemoLine);
        QCOMPARE(MemoVisualLines(memo), (QStringList{"a", ""}));
    }
};

QTEST_MAIN(SavingTest)
#include "SavingTest.moc"
