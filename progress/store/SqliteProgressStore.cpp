// The progress store over SQLite: opening and checking the file, migrations,
// recording attempts with their schedule, and the summary queries.
#include "progress/store/SqliteProgressStore.h"

#include "script/core/ProblemOutline.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <optional>

namespace qv {

namespace {

// SQLite's primary result codes that decide what a failure means.
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteReadOnly = 8;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteCantOpen = 14;
constexpr int SqliteNotADatabase = 26;

int SqliteCode(const QSqlError& e) {
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

QString Reason(const QSqlError& e) {
    return e.databaseText().isEmpty() ? e.text() : e.databaseText();
}

// The schema, one step per version; a step is never changed once released, a
// new version appends a step.
const std::vector<std::vector<const char*>>& Migrations() {
    static const std::vector<std::vector<const char*>> steps = {
        // 1: problems with their latest result and review schedule, and every attempt.
        {
            "CREATE TABLE problems ("
            " id INTEGER PRIMARY KEY,"
            " file TEXT NOT NULL, label TEXT NOT NULL, title TEXT NOT NULL,"
            " script_hash TEXT NOT NULL,"
            " problem_key INTEGER NOT NULL," // ProblemIdentityKey, for fast marks
            " attempts INTEGER NOT NULL DEFAULT 0,"
            " solved_attempts INTEGER NOT NULL DEFAULT 0,"
            " last_solved INTEGER NOT NULL DEFAULT 0,"
            " last_points INTEGER NOT NULL DEFAULT 0,"
            " last_best INTEGER NOT NULL DEFAULT 0,"
            " last_time INTEGER NOT NULL DEFAULT 0,"
            " scheduled INTEGER NOT NULL DEFAULT 0,"
            " repetitions INTEGER NOT NULL DEFAULT 0,"
            " interval_days INTEGER NOT NULL DEFAULT 0,"
            " ease REAL NOT NULL DEFAULT 2.5,"
            " due_day INTEGER NOT NULL DEFAULT 0,"
            " UNIQUE (file, label, title, script_hash))",
            "CREATE INDEX problems_due ON problems (due_day) WHERE scheduled = 1",
            "CREATE TABLE attempts ("
            " id INTEGER PRIMARY KEY,"
            " problem_id INTEGER NOT NULL REFERENCES problems (id),"
            " start_time INTEGER NOT NULL, day INTEGER NOT NULL,"
            " thinking_seconds REAL NOT NULL, points INTEGER NOT NULL,"
            " best_score INTEGER NOT NULL, tries INTEGER NOT NULL, hints INTEGER NOT NULL,"
            " solved INTEGER NOT NULL)",
            "CREATE INDEX attempts_day ON attempts (day)",
        },
    };
    return steps;
}

const char* const ProblemColumns =
    "label, title, script_hash, attempts, solved_attempts, last_solved, last_points,"
    " last_best, last_time, scheduled, repetitions, interval_days, ease, due_day";

// Reads the columns of ProblemColumns starting at column `at`.
ProblemRecord ReadProblem(const QSqlQuery& q, int at) {
    ProblemRecord r;
    r.Problem.Label = q.value(at).toString().toStdString();
    r.Problem.Title = q.value(at + 1).toString().toStdString();
    r.Problem.ScriptHash = q.value(at + 2).toString().toStdString();
    r.Attempts = q.value(at + 3).toInt();
    r.SolvedAttempts = q.value(at + 4).toInt();
    r.LastSolved = q.value(at + 5).toInt() != 0;
    r.LastPoints = q.value(at + 6).toInt();
    r.LastBest = q.value(at + 7).toInt();
    r.LastTime = q.value(at + 8).toLongLong();
    r.Review.Scheduled = q.value(at + 9).toInt() != 0;
    r.Review.Repetitions = q.value(at + 10).toInt();
    r.Review.IntervalDays = q.value(at + 11).toInt();
    r.Review.Ease = q.value(at + 12).toDouble();
    r.Review.DueDay = q.value(at + 13).toInt();
    return r;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

int SqliteProgressStore::CurrentSchemaVersion() {
    return static_cast<int>(Migrations().size());
}

SqliteProgressStore::SqliteProgressStore(Options options) : options_(std::move(options)) {
    static std::atomic<int> counter{0};
    connection_ = QStringLiteral("qv_progress_%1").arg(++counter);
    OpenFile(true);
}

SqliteProgressStore::~SqliteProgressStore() {
    // One last chance for attempts that a busy store refused.
    if (!pending_.empty() && open_ && writable_) WritePending();
    Close();
}

void SqliteProgressStore::Tell(Fault fault, const std::string& text) {
    if (fault == told_) return;
    told_ = fault;
    notice_ = text;
}

void SqliteProgressStore::Cleared(Fault fault) {
    if (told_ == fault || fault == Fault::None) told_ = Fault::None;
}

std::string SqliteProgressStore::TakeNotice() {
    std::string n;
    n.swap(notice_);
    return n;
}

void SqliteProgressStore::Close() {
    open_ = false;
    writable_ = false;
    version_ = 0;
    if (QSqlDatabase::contains(connection_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(connection_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool SqliteProgressStore::EnsureOpen() {
    return open_ || OpenFile(true);
}

bool SqliteProgressStore::OpenFile(bool mayResetDamaged) {
    Close();
    const QString path = Q(options_.Path);
    const QFileInfo info(path);
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    missing_ = options_.ReadOnly && !info.exists();
    if (missing_) return false; // nothing recorded yet, nothing to say
    if (!options_.ReadOnly && !QDir().mkpath(info.absolutePath())) {
        Tell(Fault::CannotOpen,
             "Progress is not being saved: the folder of " + shown + " cannot be created.");
        return false;
    }
    // A file without any write permission is one the user wants left alone (the
    // owner's bits are checked too, so that it holds for an administrator).
    const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    const bool protectedFile =
        info.exists() && (!(info.permissions() & writeBits) || !info.isWritable());
    const bool readOnly = options_.ReadOnly || protectedFile;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(path);
        QString connectOptions =
            QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(options_.BusyTimeoutMs);
        if (readOnly) connectOptions += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(connectOptions);
        if (!db.open()) {
            const std::string why = Reason(db.lastError()).toStdString();
            Close();
            Tell(Fault::CannotOpen,
                 "Progress is not being saved: " + shown + " cannot be opened (" + why + ").");
            return false;
        }
    }
    std::optional<QSqlError> failure;
    {
        QSqlQuery q(QSqlDatabase::database(connection_, false));
        // Write-ahead logging lets the trainer and qvn write at once. Commits are not
        // flushed to disk one by one (a crash may lose the last attempts, never the
        // file), and the log is copied back into the file only after about 16 MB
        // (some 800 attempts) or when the last connection closes, so that recording
        // an attempt stays well under a few milliseconds.
        if (!readOnly && (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
                          !q.exec(QStringLiteral("PRAGMA synchronous=NORMAL")) ||
                          !q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=4000"))))
            failure = q.lastError();
        else if (!q.exec(QStringLiteral("PRAGMA quick_check")))
            failure = q.lastError();
        else if (!q.next() || q.value(0).toString() != QLatin1String("ok"))
            failure = QSqlError(QStringLiteral("quick_check"), q.value(0).toString(),
                                QSqlError::StatementError, QString::number(SqliteCorrupt));
    }
    if (failure) {
        const int code = SqliteCode(*failure);
        const std::string why = Reason(*failure).toStdString();
        Close();
        if (code == SqliteCorrupt || code == SqliteNotADatabase) {
            if (readOnly || !mayResetDamaged) {
                Tell(Fault::Damaged, "The progress file " + shown + " is damaged (" + why +
                                         "); progress is not being saved.");
                return false;
            }
            return SetAsideDamaged();
        }
        if (code == SqliteBusy || code == SqliteLocked)
            Tell(Fault::Busy, "Progress is not being saved for now: " + shown +
                                  " is locked by another program; attempts are kept until "
                                  "it is free.");
        else
            Tell(Fault::CannotOpen,
                 "Progress is not being saved: " + shown + " cannot be opened (" + why + ").");
        return false;
    }
    open_ = true;
    writable_ = !readOnly;
    if (!Migrate()) return false;
    if (protectedFile && !options_.ReadOnly)
        Tell(Fault::ReadOnly, "Progress is not being saved: " + shown + " is read-only.");
    else
        Cleared(Fault::None);
    return true;
}

bool SqliteProgressStore::SetAsideDamaged() {
    const QString path = Q(options_.Path);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo::exists(aside + "-wal"); ++n)
        aside = path + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    if (!QFile::rename(path, aside)) {
        Tell(Fault::Damaged, "The progress file " + QDir::toNativeSeparators(path).toStdString() +
                                 " is damaged and cannot be set aside; progress is not being "
                                 "saved.");
        return false;
    }
    // The journal files belong to the damaged file: they go with it.
    for (const char* suffix : {"-wal", "-shm"})
        if (QFileInfo::exists(path + suffix)) QFile::rename(path + suffix, aside + suffix);
    const bool reopened = OpenFile(false);
    told_ = Fault::None;
    Tell(Fault::Damaged, "The progress file was damaged; it was set aside as " +
                             QDir::toNativeSeparators(aside).toStdString() +
                             " and a new one was started.");
    return reopened;
}

bool SqliteProgressStore::Migrate() {
    const std::string shown = QDir::toNativeSeparators(Q(options_.Path)).toStdString();
    std::optional<QSqlError> failure;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        QSqlQuery q(db);
        version_ = 0;
        if (db.tables().contains(QStringLiteral("schema_version"))) {
            if (q.exec(QStringLiteral("SELECT version FROM schema_version")) && q.next())
                version_ = q.value(0).toInt();
        }
        const int current = CurrentSchemaVersion();
        if (version_ > current) {
            writable_ = false;
            if (!options_.ReadOnly)
                Tell(Fault::Newer, "Progress is not being saved: " + shown +
                                       " was written by a newer version of Quorvane.");
            return true;
        }
        if (version_ == 0 && !writable_) {
            // An empty file opened read-only: nothing recorded yet. A writer that finds
            // it protected can store nothing in it, and says so.
            missing_ = true;
            open_ = false;
            if (!options_.ReadOnly)
                Tell(Fault::ReadOnly, "Progress is not being saved: " + shown + " is read-only.");
        }
        if (version_ == current || !writable_) return open_;
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            failure = q.lastError();
        } else {
            bool ok =
                version_ > 0 || q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version "
                                                      "(version INTEGER NOT NULL)"));
            for (int v = version_; ok && v < current; ++v)
                for (const char* sql : Migrations()[static_cast<std::size_t>(v)])
                    if (ok && !q.exec(QString::fromLatin1(sql))) ok = false;
            ok = ok && q.exec(QStringLiteral("DELETE FROM schema_version"));
            ok = ok && q.prepare(QStringLiteral("INSERT INTO schema_version VALUES (?)"));
            if (ok) q.addBindValue(current);
            ok = ok && q.exec() && q.exec(QStringLiteral("COMMIT"));
            if (ok) {
                version_ = current;
            } else {
                failure = q.lastError();
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            }
        }
    }
    if (!failure) return true;
    const int code = SqliteCode(*failure);
    Close();
    if (code == SqliteBusy || code == SqliteLocked)
        Tell(Fault::Busy, "Progress is not being saved for now: " + shown +
                              " is locked by another program; attempts are kept until it is "
                              "free.");
    else
        Tell(Fault::CannotOpen, "Progress is not being saved: " + shown + " cannot be prepared (" +
                                    Reason(*failure).toStdString() + ").");
    return false;
}

bool SqliteProgressStore::Record(const std::vector<Attempt>& attempts) {
    pending_.insert(pending_.end(), attempts.begin(), attempts.end());
    const bool written = EnsureOpen() && writable_ && WritePending();
    if (!written && pending_.size() > MaxPending) // keep the latest
        pending_.erase(pending_.begin(), pending_.end() - static_cast<std::ptrdiff_t>(MaxPending));
    return written;
}

bool SqliteProgressStore::WritePending() {
    if (pending_.empty()) return true;
    std::optional<QSqlError> failure;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        QSqlQuery q(db);
        const auto fail = [&](const QSqlQuery& which) {
            failure = which.lastError();
            return false;
        };
        QSqlQuery find(db), addProblem(db), addAttempt(db), update(db), retire(db);
        bool ok = q.exec(QStringLiteral("BEGIN IMMEDIATE")) || fail(q);
        ok = ok &&
             (find.prepare(QStringLiteral(
                  "SELECT id, scheduled, repetitions, interval_days, ease, due_day FROM problems"
                  " WHERE file = ? AND label = ? AND title = ? AND script_hash = ?")) ||
              fail(find)) &&
             (addProblem.prepare(QStringLiteral(
                  "INSERT INTO problems (file, label, title, script_hash, problem_key)"
                  " VALUES (?, ?, ?, ?, ?)")) ||
              fail(addProblem)) &&
             (addAttempt.prepare(QStringLiteral(
                  "INSERT INTO attempts (problem_id, start_time, day, thinking_seconds, points,"
                  " best_score, tries, hints, solved) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")) ||
              fail(addAttempt)) &&
             (update.prepare(QStringLiteral(
                  "UPDATE problems SET attempts = attempts + 1,"
                  " solved_attempts = solved_attempts + ?, last_solved = ?, last_points = ?,"
                  " last_best = ?, last_time = ?, scheduled = ?, repetitions = ?,"
                  " interval_days = ?, ease = ?, due_day = ? WHERE id = ?")) ||
              fail(update)) &&
             (retire.prepare(QStringLiteral(
                  "UPDATE problems SET scheduled = 0 WHERE file = ? AND label = ? AND title = ?"
                  " AND script_hash <> ? AND scheduled = 1")) ||
              fail(retire));
        for (std::size_t i = 0; ok && i < pending_.size(); ++i) {
            const Attempt& a = pending_[i];
            const QVariantList identity = {Q(a.Problem.File), Q(a.Problem.Label),
                                           Q(a.Problem.Title), Q(a.Problem.ScriptHash)};
            for (const QVariant& v : identity) find.addBindValue(v);
            ok = find.exec() || fail(find);
            if (!ok) break;
            qlonglong id = 0;
            ReviewState before;
            if (find.next()) {
                id = find.value(0).toLongLong();
                before.Scheduled = find.value(1).toInt() != 0;
                before.Repetitions = find.value(2).toInt();
                before.IntervalDays = find.value(3).toInt();
                before.Ease = find.value(4).toDouble();
                before.DueDay = find.value(5).toInt();
            } else {
                for (const QVariant& v : identity) addProblem.addBindValue(v);
                addProblem.addBindValue(static_cast<qlonglong>(qv::ProblemIdentityKey(
                    a.Problem.Label, a.Problem.Title, a.Problem.ScriptHash)));
                ok = addProblem.exec() || fail(addProblem);
                id = addProblem.lastInsertId().toLongLong();
            }
            find.finish();
            const ReviewState after = NextReview(before, a.Solved, a.Day);
            for (const QVariant& v :
                 QVariantList{id, qlonglong(a.StartTime), a.Day, a.ThinkingSeconds, a.Points,
                              a.BestScore, a.Tries, a.Hints, a.Solved ? 1 : 0})
                addAttempt.addBindValue(v);
            ok = ok && (addAttempt.exec() || fail(addAttempt));
            for (const QVariant& v :
                 QVariantList{a.Solved ? 1 : 0, a.Solved ? 1 : 0, a.Points, a.BestScore,
                              qlonglong(a.StartTime), after.Scheduled ? 1 : 0, after.Repetitions,
                              after.IntervalDays, after.Ease, after.DueDay, id})
                update.addBindValue(v);
            ok = ok && (update.exec() || fail(update));
            for (const QVariant& v : identity) retire.addBindValue(v);
            ok = ok && (retire.exec() || fail(retire));
        }
        ok = ok && (q.exec(QStringLiteral("COMMIT")) || fail(q));
        if (!ok) QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    }
    if (!failure) {
        pending_.clear();
        Cleared(Fault::Busy);
        Cleared(Fault::WriteFailed);
        return true;
    }
    if (SqliteCode(*failure) == SqliteCorrupt || SqliteCode(*failure) == SqliteNotADatabase) {
        if (recovering_ || options_.ReadOnly) {
            Failed(*failure);
            return false;
        }
        // Set the damaged file aside, start a new one and write there.
        recovering_ = true;
        Close();
        const bool written = SetAsideDamaged() && WritePending();
        recovering_ = false;
        return written;
    }
    Failed(*failure);
    return false;
}

void SqliteProgressStore::Failed(const QSqlError& error) {
    const int code = SqliteCode(error);
    const std::string shown = QDir::toNativeSeparators(Q(options_.Path)).toStdString();
    if (code == SqliteBusy || code == SqliteLocked) {
        Tell(Fault::Busy, "Progress is not being saved for now: " + shown +
                              " is locked by another program; attempts are kept until it is "
                              "free.");
    } else if (code == SqliteCorrupt || code == SqliteNotADatabase) {
        if (options_.ReadOnly || recovering_) {
            Tell(Fault::Damaged, "The progress file " + shown + " is damaged (" +
                                     Reason(error).toStdString() + ").");
        } else {
            recovering_ = true;
            Close();
            SetAsideDamaged();
            recovering_ = false;
        }
    } else if (code == SqliteReadOnly) {
        Tell(Fault::ReadOnly, "Progress is not being saved: " + shown + " is read-only.");
    } else {
        Tell(Fault::WriteFailed, "The progress file " + shown + " cannot be used (" +
                                     Reason(error).toStdString() + ").");
    }
}

bool SqliteProgressStore::Select(const QString& sql, const QVariantList& binds,
                                 const std::function<void(const QSqlQuery&)>& row) {
    if (!EnsureOpen()) return false;
    std::optional<QSqlError> failure;
    {
        QSqlQuery q(QSqlDatabase::database(connection_, false));
        q.setForwardOnly(true);
        if (!q.prepare(sql)) {
            failure = q.lastError();
        } else {
            for (const QVariant& v : binds) q.addBindValue(v);
            if (!q.exec())
                failure = q.lastError();
            else
                while (q.next()) row(q);
        }
    }
    if (failure) Failed(*failure);
    return !failure;
}

std::vector<ProblemRecord> SqliteProgressStore::ProblemsOfFile(const std::string& file) {
    std::vector<ProblemRecord> out;
    Select(QStringLiteral("SELECT %1 FROM problems WHERE file = ?").arg(ProblemColumns), {Q(file)},
           [&](const QSqlQuery& q) {
               out.push_back(ReadProblem(q, 0));
               out.back().Problem.File = file;
           });
    return out;
}

std::vector<MarkRecord> SqliteProgressStore::MarksOfFile(const std::string& file) {
    std::vector<MarkRecord> out;
    Select(QStringLiteral("SELECT problem_key, last_solved FROM problems WHERE file = ?"),
           {Q(file)}, [&](const QSqlQuery& q) {
               out.push_back(
                   {static_cast<std::uint64_t>(q.value(0).toLongLong()), q.value(1).toInt() != 0});
           });
    return out;
}

std::vector<FileRecord> SqliteProgressStore::Files() {
    std::vector<FileRecord> out;
    // A problem edited since is counted once, by its version attempted last.
    Select(QStringLiteral("SELECT file, COUNT(*), SUM(last_solved) FROM problems p"
                          " WHERE NOT EXISTS (SELECT 1 FROM problems q WHERE q.file = p.file"
                          " AND q.label = p.label AND q.title = p.title"
                          " AND (q.last_time > p.last_time"
                          " OR (q.last_time = p.last_time AND q.id > p.id)))"
                          " GROUP BY file ORDER BY file"),
           {}, [&](const QSqlQuery& q) {
               out.push_back(
                   {q.value(0).toString().toStdString(), q.value(1).toInt(), q.value(2).toInt()});
           });
    return out;
}

std::vector<ProblemRecord> SqliteProgressStore::DueProblems(int today, int limit) {
    std::vector<ProblemRecord> out;
    Select(QStringLiteral("SELECT file, %1 FROM problems WHERE scheduled = 1 AND due_day <= ?"
                          " ORDER BY due_day, last_time, file, label LIMIT ?")
               .arg(ProblemColumns),
           {today, limit > 0 ? limit : -1}, [&](const QSqlQuery& q) {
               out.push_back(ReadProblem(q, 1));
               out.back().Problem.File = q.value(0).toString().toStdString();
           });
    return out;
}

std::vector<DayRecord> SqliteProgressStore::Days(int fromDay) {
    std::vector<DayRecord> out;
    Select(QStringLiteral("SELECT day, COUNT(*), SUM(solved), SUM(thinking_seconds)"
                          " FROM attempts WHERE day >= ? GROUP BY day ORDER BY day"),
           {fromDay}, [&](const QSqlQuery& q) {
               out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(),
                              q.value(3).toDouble()});
           });
    return out;
}

std::vector<Attempt> SqliteProgressStore::Attempts() {
    std::vector<Attempt> out;
    Select(QStringLiteral("SELECT p.file, p.label, p.title, p.script_hash, a.start_time, a.day,"
                          " a.thinking_seconds, a.points, a.best_score, a.tries, a.hints, a.solved"
                          " FROM attempts a JOIN problems p ON p.id = a.problem_id"
                          " ORDER BY a.start_time, a.id"),
           {}, [&](const QSqlQuery& q) {
               Attempt a;
               a.Problem = {
                   q.value(0).toString().toStdString(), q.value(1).toString().toStdString(),
                   q.value(2).toString().toStdString(), q.value(3).toString().toStdString()};
               a.StartTime = q.value(4).toLongLong();
               a.Day = q.value(5).toInt();
               a.ThinkingSeconds = q.value(6).toDouble();
               a.Points = q.value(7).toInt();
               a.BestScore = q.value(8).toInt();
               a.Tries = q.value(9).toInt();
               a.Hints = q.value(10).toInt();
               a.Solved = q.value(11).toInt() != 0;
               out.push_back(std::move(a));
           });
    return out;
}

} // namespace qv
