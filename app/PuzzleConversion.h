// Opening a puzzle collection (PGN, EPD, a puzzle CSV) in the trainer: the collection is
// converted into a problem file on a worker thread and kept in a cache, so that opening
// it again is as quick as opening any problem file.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

class QTimer;

namespace qv {

// What a conversion (or the cache) yields.
struct ConversionResult {
    enum Outcome { Converted, Cancelled, Failed };
    Outcome Kind = Failed;
    QString Source;         // the collection, as an absolute path
    QString CacheFile;      // the problem file made from it (Converted)
    QString Message;        // why it failed (Failed)
    long Records = 0;       // records read
    long Imported = 0;      // problems written
    long Skipped = 0;       // records that could not be used
    bool Truncated = false; // stopped at the size a problem file may have
    bool FromCache = false;
};

// One conversion at a time, started and finished on the user-interface thread; the
// reading and writing run on a worker thread. Finished is emitted once per Start that
// returned true, after the worker has ended (from the event loop, never inside Start).
class PuzzleConversion : public QObject {
    Q_OBJECT
public:
    explicit PuzzleConversion(QObject* parent = nullptr);
    ~PuzzleConversion() override; // cancels and waits for the worker

    // ".pgn", ".epd" and ".csv" files (any case) are puzzle collections.
    static bool IsPuzzleFile(const QString& path);
    // The cache file for a collection as it is now (path, size, modification time), in
    // `cacheDir`; empty when the collection cannot be found.
    static QString CacheFileFor(const QString& source, const QString& cacheDir);
    // The cache file of the collection when it is there and complete.
    static bool FromCache(const QString& source, const QString& cacheDir, ConversionResult& result);

    // Starts converting `source` into its cache file; false (and `result` says why) when
    // it cannot start. A conversion already running is cancelled first.
    bool Start(const QString& source, const QString& cacheDir, ConversionResult& result);
    // Stops the running conversion; its Finished says Cancelled and nothing is kept.
    void Cancel();
    bool Running() const { return worker_ != nullptr; }
    const QString& Source() const { return source_; }

    // Problem files larger than this are refused by the reader; a conversion stops
    // before its output reaches this size.
    static std::uint64_t OutputLimit();

signals:
    void Progress(int permille); // share of the collection read
    void Finished(const qv::ConversionResult& result);

private:
    struct Job;
    static void Convert(Job& job); // on the worker thread
    void Poll();
    void Join();

    std::shared_ptr<Job> job_;
    std::unique_ptr<std::thread> worker_;
    QTimer* poll_;
    QString source_;
};

} // namespace qv
