// The error box's text and the file writers' messages and bytes, without a main window.
#include "app/Saving.h"
#include "app/ErrorBox.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
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

    void inOutMessages() {
        QCOMPARE(InOutErrorText(EACCES, true), QStringLiteral("File access denied"));
        QCOMPARE(InOutErrorText(EROFS, true), QStringLiteral("File access denied"));
        QCOMPARE(InOutErrorText(ENOENT, true), QStringLiteral("Invalid filename"));
        QCOMPARE(InOutErrorText(ENOENT, false), QStringLiteral("File not found"));
        QCOMPARE(InOutErrorText(ENOSPC, false), QStringLiteral("Disk full"));
        QCOMPARE(InOutErrorText(EMFILE, true), QStringLiteral("Too many open files"));
        QCOMPARE(InOutErrorText(EIO, false), QStringLiteral("I/O error %1").arg(EIO));
    }

    void resultsAreUtf8WithCrLf() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.txt"));
        WriteResultsFile(path, QStringLiteral("12 Knight fork é"), 3);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("12 Knight fork \xc3\xa9\r\n3points\r\n"));
    }

    void diskFullIsReported() {
        if (!QFile::exists(QStringLiteral("/dev/full"))) QSKIP("no /dev/full here");
        try {
            WriteResultsFile(QStringLiteral("/dev/full"), QStringLiteral("t"), 1);
            QFAIL("writing to a full device succeeded");
        } catch (const std::runtime_error& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Disk full"));
        }
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
    }
};

QTEST_MAIN(SavingTest)
#include "SavingTest.moc"
