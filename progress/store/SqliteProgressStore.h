// The progress store in one SQLite file, through Qt SQL.
#pragma once

#include "progress/core/ProgressStore.h"

#include <QString>
#include <QVariantList>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class QSqlError;
class QSqlQuery;

namespace qv {

// One connection to a progress file. Opening it creates the file and its folder
// when missing, switches it to write-ahead logging (so the trainer and qvn can
// use it at once), checks it, and brings its schema up to date with the
// migrations below. Faults never throw and never stop the caller:
// - a file that cannot be opened, or is locked longer than the busy timeout:
//   nothing is stored for now; attempts not stored are kept (in memory, the
//   latest MaxPending of them) and written by the next Record that gets through;
// - a damaged file is renamed to "NAME.damaged-YYYYMMDD-HHMMSS" (with its -wal
//   and -shm files) and a new one is started; it is never overwritten;
// - a read-only file (no write permission bit set), or one written by a newer
//   schema, is read but never written.
// Each fault is told once through TakeNotice. Everything runs on the thread
// that created the store.
class SqliteProgressStore : public ProgressStore {
public:
    struct Options {
        std::string Path;         // the progress file
        int BusyTimeoutMs = 2000; // how long to wait for another program's lock
        bool ReadOnly = false;    // only read (and create nothing when it is missing)
    };
    static constexpr std::size_t MaxPending = 10000;

    explicit SqliteProgressStore(Options options);
    ~SqliteProgressStore() override;
    SqliteProgressStore(const SqliteProgressStore&) = delete;
    SqliteProgressStore& operator=(const SqliteProgressStore&) = delete;

    // The store can be read (and, unless IsWritable is false, written).
    bool IsOpen() const { return open_; }
    bool IsWritable() const { return open_ && writable_; }
    const std::string& Path() const { return options_.Path; }
    // The schema version of the open file (0 when not open).
    int SchemaVersion() const { return version_; }
    // Attempts waiting to be written.
    std::size_t PendingCount() const { return pending_.size(); }
    // The schema version this program writes.
    static int CurrentSchemaVersion();

    bool Record(const std::vector<Attempt>& attempts) override;
    using ProgressStore::Record;
    std::vector<ProblemRecord> ProblemsOfFile(const std::string& file) override;
    std::vector<MarkRecord> MarksOfFile(const std::string& file) override;
    std::vector<FileRecord> Files() override;
    std::vector<ProblemRecord> DueProblems(int today, int limit) override;
    std::vector<DayRecord> Days(int fromDay) override;
    std::vector<Attempt> Attempts() override;
    std::string TakeNotice() override;

private:
    enum class Fault { None, CannotOpen, Busy, Damaged, ReadOnly, Newer, WriteFailed };

    bool EnsureOpen();
    bool OpenFile(bool mayResetDamaged);
    void Close();
    bool SetAsideDamaged();
    bool Migrate();
    bool WritePending();
    bool Select(const QString& sql, const QVariantList& binds,
                const std::function<void(const QSqlQuery&)>& row);
    void Failed(const QSqlError& error);
    void Tell(Fault fault, const std::string& text);
    void Cleared(Fault fault);

    Options options_;
    QString connection_;
    bool open_ = false;
    bool writable_ = false;
    bool missing_ = false;    // read-only and nothing recorded yet
    bool recovering_ = false; // setting a damaged file aside
    int version_ = 0;
    std::vector<Attempt> pending_;
    Fault told_ = Fault::None;
    std::string notice_;
};

} // namespace qv
