// The SQLite progress store: what it keeps, and how it behaves when its file is
// locked, cannot be opened, is damaged, read-only or newer than the program.
#include "progress/store/ProgressLocation.h"
#include "progress/store/SqliteProgressStore.h"
#include "script/core/ProblemOutline.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

qv::Attempt MakeAttempt(const std::string& label, bool solved, int day, std::int64_t time) {
    qv::Attempt a;
    a.Problem = {"/p/set.qvn", label, "Title " + label, "hash-" + label};
    a.StartTime = time;
    a.Day = day;
    a.ThinkingSeconds = 10;
    a.Points = solved ? 3 : 1;
    a.BestScore = 3;
    a.Tries = 1;
    a.Solved = solved;
    return a;
}

QByteArray Digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

// A second, plain connection to a progress file, as another program would hold it.
class RawConnection {
public:
    explicit RawConnection(const QString& path) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawConnection() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    QVariant Exec(const QString& sql) {
        QSqlQuery q(QSqlDatabase::database(name_, false));
        if (!q.exec(sql)) return QStringLiteral("error: ") + q.lastError().text();
        return q.next() ? q.value(0) : QVariant();
    }

private:
    QString name_ = QStringLiteral("raw");
};

} // namespace

class SqliteStoreTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path_;
    qv::SqliteProgressStore::Options Options(int busyMs = 2000) const {
        return {path_.toStdString(), busyMs, false};
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        path_ = dir_.filePath(
            QStringLiteral("sub/progress-%1.sqlite").arg(QTest::currentTestFunction()));
    }

    void keepsAttemptsSummariesAndSchedules() {
        const int day = 20000;
        {
            qv::SqliteProgressStore store(Options());
            QVERIFY(store.IsWritable());
            QCOMPARE(store.SchemaVersion(), qv::SqliteProgressStore::CurrentSchemaVersion());
            QVERIFY(store.Record(MakeAttempt("1", false, day - 3, 100)));
            QVERIFY(
                store.Record({MakeAttempt("2", false, day - 1, 200),
                              MakeAttempt("3", true, day, 300), MakeAttempt("1", true, day, 400)}));
            QCOMPARE(store.TakeNotice(), std::string());
        }
        qv::SqliteProgressStore store(Options()); // everything survives a reopening
        RawConnection raw(QString::fromStdString(store.Path()));
        QCOMPARE(raw.Exec("PRAGMA journal_mode").toString(), QStringLiteral("wal"));

        auto problems = store.ProblemsOfFile("/p/set.qvn");
        QCOMPARE(problems.size(), std::size_t(3));
        std::sort(problems.begin(), problems.end(),
                  [](const auto& a, const auto& b) { return a.Problem.Label < b.Problem.Label; });
        const qv::ProblemRecord& one = problems[0];
        QCOMPARE(one.Attempts, 2);
        QCOMPARE(one.SolvedAttempts, 1);
        QVERIFY(one.LastSolved);
        QCOMPARE(one.LastPoints, 3);
        QCOMPARE(one.Review.DueDay, day + 1); // failed, then solved: one day on
        QVERIFY(!problems[2].Review.Scheduled);
        QVERIFY(store.ProblemsOfFile("/p/other.qvn").empty());
        const auto marks = store.MarksOfFile("/p/set.qvn");
        QCOMPARE(marks.size(), std::size_t(3));
        QVERIFY(std::any_of(marks.begin(), marks.end(), [](const qv::MarkRecord& m) {
            return m.Key == qv::ProblemIdentityKey("2", "Title 2", "hash-2") && !m.LastSolved;
        }));

        const auto files = store.Files();
        QCOMPARE(files.size(), std::size_t(1));
        QCOMPARE(files[0].Attempted, 3);
        QCOMPARE(files[0].Solved, 2);

        // Due: problem 2 since yesterday; problem 1 tomorrow.
        auto due = store.DueProblems(day, 0);
        QCOMPARE(due.size(), std::size_t(1));
        QCOMPARE(due[0].Problem.Label, std::string("2"));
        QCOMPARE(due[0].Problem.File, std::string("/p/set.qvn"));
        due = store.DueProblems(day + 1, 0);
        QCOMPARE(due.size(), std::size_t(2));
        QCOMPARE(due[0].Problem.Label, std::string("2")); // most overdue first
        QCOMPARE(store.DueProblems(day + 1, 1).size(), std::size_t(1));

        const auto days = store.Days(day - 1);
        QCOMPARE(days.size(), std::size_t(2));
        QCOMPARE(days[1].Attempts, 2);
        QCOMPARE(days[1].Solved, 2);
        QCOMPARE(days[1].ThinkingSeconds, 20.0);
        const auto all = store.Attempts();
        QCOMPARE(all.size(), std::size_t(4));
        QCOMPARE(all[3].Problem.Title, std::string("Title 1"));
        QVERIFY(all[3].Solved);
    }

    void anEditedProblemStartsAFreshHistory() {
        qv::SqliteProgressStore store(Options());
        QVERIFY(store.Record(MakeAttempt("1", false, 10, 1)));
        auto edited = MakeAttempt("1", true, 11, 2);
        edited.Problem.ScriptHash = "hash-1-edited";
        QVERIFY(store.Record(edited));
        QCOMPARE(store.ProblemsOfFile("/p/set.qvn").size(), std::size_t(2));
        QVERIFY(store.DueProblems(100, 0).empty()); // the old version no longer comes back
    }

    void twoProgramsWriteAtOnce() {
        qv::SqliteProgressStore trainer(Options());
        qv::SqliteProgressStore tool(Options());
        QVERIFY(trainer.Record(MakeAttempt("1", true, 1, 1)));
        QVERIFY(tool.Record(MakeAttempt("1", false, 1, 2)));
        QVERIFY(trainer.Record(MakeAttempt("2", true, 1, 3)));
        QCOMPARE(tool.Attempts().size(), std::size_t(3));
    }

    void aLockHeldTooLongKeepsTheAttemptForLater() {
        qv::SqliteProgressStore store(Options(100));
        QVERIFY(store.Record(MakeAttempt("1", true, 1, 1)));
        {
            RawConnection other(QString::fromStdString(store.Path()));
            QCOMPARE(other.Exec("BEGIN EXCLUSIVE"), QVariant());
            QVERIFY(!store.Record(MakeAttempt("2", true, 1, 2)));
            QVERIFY(store.TakeNotice().find("locked") != std::string::npos);
            QVERIFY(!store.Record(MakeAttempt("3", true, 1, 3)));
            QCOMPARE(store.TakeNotice(), std::string()); // said once
            QCOMPARE(store.PendingCount(), std::size_t(2));
            other.Exec("COMMIT");
        }
        QVERIFY(store.Record(MakeAttempt("4", true, 1, 4)));
        QCOMPARE(store.Attempts().size(), std::size_t(4));
        QCOMPARE(store.PendingCount(), std::size_t(0));
    }

    void aFileThatCannotBeOpenedStopsNothing() {
        QFile blocker(dir_.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qv::SqliteProgressStore store({dir_.filePath("blocker/progress.sqlite").toStdString()});
        QVERIFY(!store.IsOpen());
        QVERIFY(!store.Record(MakeAttempt("1", true, 1, 1)));
        QVERIFY(store.TakeNotice().find("not being saved") != std::string::npos);
        QVERIFY(store.ProblemsOfFile("/p/set.qvn").empty());
        QVERIFY(store.DueProblems(1, 0).empty());
        QCOMPARE(store.TakeNotice(), std::string());
    }

    void aDamagedFileIsSetAsideAndANewOneStarted() {
        QDir().mkpath(QFileInfo(path_).absolutePath());
        QFile bad(path_);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(8192, 'x'));
        bad.close();
        const QByteArray before = Digest(path_);

        qv::SqliteProgressStore store(Options());
        QVERIFY(store.IsWritable());
        const std::string notice = store.TakeNotice();
        QVERIFY2(notice.find("set aside") != std::string::npos, notice.c_str());
        const QStringList aside =
            QFileInfo(path_).dir().entryList({QFileInfo(path_).fileName() + ".damaged-*"});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(Digest(QFileInfo(path_).dir().filePath(aside[0])), before);
        QVERIFY(store.Record(MakeAttempt("1", true, 1, 1)));
        QCOMPARE(store.Attempts().size(), std::size_t(1));
    }

    void aDamagedFileOpenedForReadingIsLeftAlone() {
        QDir().mkpath(QFileInfo(path_).absolutePath());
        QFile bad(path_);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a progress file at all");
        bad.close();
        qv::SqliteProgressStore store({path_.toStdString(), 100, true});
        QVERIFY(store.Files().empty());
        QVERIFY(store.TakeNotice().find("damaged") != std::string::npos);
        QCOMPARE(QFileInfo(path_).dir().entryList({QFileInfo(path_).fileName() + "*"}).size(), 1);
    }

    void aReadOnlyFileIsReadButNeverWritten() {
        {
            qv::SqliteProgressStore store(Options());
            QVERIFY(store.Record(MakeAttempt("1", false, 5, 1)));
        }
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const QByteArray before = Digest(path_);
        {
            qv::SqliteProgressStore store(Options());
            QVERIFY(store.IsOpen());
            QVERIFY(!store.IsWritable());
            QVERIFY(store.TakeNotice().find("read-only") != std::string::npos);
            QVERIFY(!store.Record(MakeAttempt("2", true, 5, 2)));
            QCOMPARE(store.TakeNotice(), std::string());
            QCOMPARE(store.DueProblems(5, 0).size(), std::size_t(1));
        }
        QCOMPARE(Digest(path_), before);
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);

        // A protected file that holds no schema yet (made empty by hand) says so too.
        QVERIFY(QFile::remove(path_));
        QFile empty(path_);
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        {
            qv::SqliteProgressStore store(Options());
            QVERIFY(!store.Record(MakeAttempt("2", true, 5, 2)));
            QVERIFY(store.TakeNotice().find("read-only") != std::string::npos);
            QVERIFY(!store.Record(MakeAttempt("3", true, 5, 2)));
            QCOMPARE(store.TakeNotice(), std::string());
        }
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
    }

    void aFileFromANewerVersionIsOnlyRead() {
        {
            qv::SqliteProgressStore store(Options());
            QVERIFY(store.Record(MakeAttempt("1", true, 5, 1)));
            RawConnection raw(QString::fromStdString(store.Path()));
            raw.Exec("UPDATE schema_version SET version = 99");
        }
        qv::SqliteProgressStore store(Options());
        QVERIFY(store.IsOpen());
        QVERIFY(!store.IsWritable());
        QVERIFY(store.TakeNotice().find("newer version") != std::string::npos);
        QVERIFY(!store.Record(MakeAttempt("2", true, 5, 2)));
        QCOMPARE(store.Attempts().size(), std::size_t(1));
    }

    void locationIsTheChosenFileThenTheEnvironmentsThenTheDataFolders() {
        const QByteArray saved = qgetenv(qv::ProgressFileVariable);
        qunsetenv(qv::ProgressFileVariable);
        const std::string standard = qv::ProgressFilePath();
        QVERIFY(QString::fromStdString(standard).endsWith("/QRVNE/progress.sqlite"));
        qputenv(qv::ProgressFileVariable, "/tmp/elsewhere.sqlite");
        QCOMPARE(qv::ProgressFilePath(), std::string("/tmp/elsewhere.sqlite"));
        QCOMPARE(qv::ProgressFilePath("chosen.sqlite"), std::string("chosen.sqlite"));
        if (saved.isNull())
            qunsetenv(qv::ProgressFileVariable);
        else
            qputenv(qv::ProgressFileVariable, saved);
    }

    void readingCreatesNothing() {
        qv::SqliteProgressStore store({path_.toStdString(), 100, true});
        QVERIFY(store.Files().empty());
        QVERIFY(!store.Record(MakeAttempt("1", true, 1, 1)));
        QCOMPARE(store.TakeNotice(), std::string());
        QVERIFY(!QFileInfo::exists(path_));
    }
};

QTEST_GUILESS_MAIN(SqliteStoreTest)
#include "SqliteStoreTest.moc"
