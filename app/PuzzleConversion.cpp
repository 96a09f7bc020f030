// The background conversion of a puzzle collection into a cached problem file.
#include "app/PuzzleConversion.h"

#include "puzzles/core/PuzzleImport.h"
#include "script/core/ProblemTextFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace qv {

namespace {

// Part of every cache file's name: a new way of converting makes new cache files.
constexpr int kCacheVersion = 1;
constexpr int kPollMs = 50;

QString CachePrefix(const QString& absoluteSource) {
    const QByteArray hash =
        QCryptographicHash::hash(absoluteSource.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QString::fromLatin1(hash.left(20)) + QLatin1Char('-');
}

// The two lines above the first problem that say where the problems came from and how
// the conversion went; read back when the cache file is opened again. The counts have a
// fixed width, so the header is written first and filled in at the end.
std::string HeaderLines(const QString& source, long records, long imported, long skipped,
                        bool truncated) {
    char counts[96];
    std::snprintf(counts, sizeof counts, "%012ld records, %012ld imported, %012ld skipped, %s",
                  records, imported, skipped, truncated ? "cut" : "all");
    return "Problems imported from " + QDir::toNativeSeparators(source).toStdString() + "\r\n" +
           counts + "\r\n\r\n";
}

bool ReadHeader(const QString& cacheFile, ConversionResult& r) {
    QFile file(cacheFile);
    if (!file.open(QIODevice::ReadOnly)) return false;
    file.readLine();
    const QByteArray counts = file.readLine().trimmed();
    long records = 0, imported = 0, skipped = 0;
    if (std::sscanf(counts.constData(), "%ld records, %ld imported, %ld skipped", &records,
                    &imported, &skipped) != 3)
        return false;
    r.Records = records;
    r.Imported = imported;
    r.Skipped = skipped;
    r.Truncated = counts.endsWith("cut");
    return true;
}

} // namespace

// What the worker and the window share. The worker writes the result fields before it
// sets Done; the window reads them only after it has seen Done.
struct PuzzleConversion::Job {
    std::string Source, Part, Final;
    std::uint64_t SourceBytes = 0;
    PuzzleFormat Format = PuzzleFormat::Pgn;
    std::atomic<bool> Cancel{false};
    std::atomic<bool> Done{false};
    std::atomic<std::uint64_t> BytesRead{0};
    ConversionResult Result;
};

PuzzleConversion::PuzzleConversion(QObject* parent) : QObject(parent), poll_(new QTimer(this)) {
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, &PuzzleConversion::Poll);
}

PuzzleConversion::~PuzzleConversion() {
    if (job_) job_->Cancel = true;
    Join();
}

std::uint64_t PuzzleConversion::OutputLimit() {
    // Room for the last few thousand records, which are written before the size is
    // looked at again.
    return ProblemTextFile::MaxFileBytes / 4 * 3;
}

bool PuzzleConversion::IsPuzzleFile(const QString& path) {
    PuzzleFormat format;
    return FormatFromFileName(QFileInfo(path).fileName().toStdString(), format);
}

QString PuzzleConversion::CacheFileFor(const QString& source, const QString& cacheDir) {
    const QFileInfo info(source);
    if (!info.isFile()) return {};
    return QDir(cacheDir).filePath(CachePrefix(info.absoluteFilePath()) +
                                   QStringLiteral("%1-%2-v%3.qvn")
                                       .arg(info.size())
                                       .arg(info.lastModified().toMSecsSinceEpoch())
                                       .arg(kCacheVersion));
}

bool PuzzleConversion::FromCache(const QString& source, const QString& cacheDir,
                                 ConversionResult& result) {
    const QString cache = CacheFileFor(source, cacheDir);
    if (cache.isEmpty() || !QFileInfo(cache).isFile()) return false;
    ConversionResult r;
    if (!ReadHeader(cache, r)) return false;
    r.Kind = ConversionResult::Converted;
    r.Source = QFileInfo(source).absoluteFilePath();
    r.CacheFile = cache;
    r.FromCache = true;
    result = r;
    return true;
}

bool PuzzleConversion::Start(const QString& source, const QString& cacheDir,
                             ConversionResult& result) {
    if (job_) {
        job_->Cancel = true;
        Join();
    }
    result = {};
    const QFileInfo info(source);
    result.Source = info.absoluteFilePath();
    auto fail = [&](const QString& message) {
        result.Kind = ConversionResult::Failed;
        result.Message = message;
        return false;
    };
    const QString shown = QDir::toNativeSeparators(source);
    if (info.isDir()) return fail(QStringLiteral("%1 is a folder, not a puzzle file").arg(shown));
    QFile probe(source);
    if (!info.exists()) return fail(QStringLiteral("File not found: %1").arg(shown));
    if (!probe.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1 cannot be read: %2").arg(shown, probe.errorString()));
    probe.close();
    if (!QDir().mkpath(cacheDir))
        return fail(QStringLiteral("The folder for converted puzzles, %1, cannot be made")
                        .arg(QDir::toNativeSeparators(cacheDir)));

    auto job = std::make_shared<Job>();
    job->Source = QFile::encodeName(result.Source).toStdString();
    job->Final = QFile::encodeName(CacheFileFor(source, cacheDir)).toStdString();
    job->Part = job->Final + ".part";
    job->SourceBytes = std::uint64_t(info.size());
    FormatFromFileName(job->Source, job->Format);
    job->Result.Source = result.Source;
    job->Result.CacheFile = CacheFileFor(source, cacheDir);
    job_ = job;
    source_ = result.Source;

    worker_ = std::make_unique<std::thread>([job] { Convert(*job); });
    poll_->start();
    return true;
}

void PuzzleConversion::Convert(Job& job) {
    ConversionResult& r = job.Result;
    r.Kind = ConversionResult::Failed;
    const QString shown = QDir::toNativeSeparators(r.Source);
    std::ifstream in(job.Source, std::ios::binary);
    std::ofstream out(job.Part, std::ios::binary | std::ios::trunc);
    if (!in || !out) {
        r.Message = !in ? QStringLiteral("%1 cannot be read").arg(shown)
                        : QStringLiteral("The converted problems cannot be written to %1")
                              .arg(QDir::toNativeSeparators(r.CacheFile));
        job.Done = true;
        return;
    }
    out << HeaderLines(r.Source, 0, 0, 0, false);
    PuzzleImporter importer;
    importer.OnSkip = [&r](long, const std::string&) { ++r.Skipped; };
    importer.OnProgress = [&](std::uint64_t bytesRead) {
        job.BytesRead = bytesRead;
        if (std::uint64_t(out.tellp()) >= OutputLimit()) {
            r.Truncated = true;
            return false;
        }
        return !job.Cancel;
    };
    ImportOptions options;
    options.Format = job.Format;
    const ImportSummary summary = importer.Run(in, out, options);
    r.Records = summary.Records;
    r.Imported = summary.Imported;
    if (summary.Cancelled && !r.Truncated) {
        r.Kind = ConversionResult::Cancelled;
    } else if (summary.ReadFailed) {
        r.Message = QStringLiteral("%1 could not be read to its end").arg(shown);
    } else if (summary.Recognised == 0) {
        r.Message = QStringLiteral("No puzzle found in %1").arg(shown);
    } else if (summary.Imported == 0) {
        r.Message = QStringLiteral("None of the %1 records in %2 could be used")
                        .arg(summary.Records)
                        .arg(shown);
    } else {
        out.seekp(0);
        out << HeaderLines(r.Source, r.Records, r.Imported, r.Skipped, r.Truncated);
        out.close();
        std::error_code ec;
        if (out) std::filesystem::rename(job.Part, job.Final, ec);
        if (!out || ec)
            r.Message = QStringLiteral("The converted problems cannot be written to %1")
                            .arg(QDir::toNativeSeparators(r.CacheFile));
        else
            r.Kind = ConversionResult::Converted;
    }
    if (out.is_open()) out.close();
    if (r.Kind != ConversionResult::Converted) {
        std::error_code ec;
        std::filesystem::remove(job.Part, ec);
    }
    job.Done = true;
}

void PuzzleConversion::Cancel() {
    if (job_) job_->Cancel = true;
}

void PuzzleConversion::Join() {
    if (worker_) {
        worker_->join();
        worker_.reset();
    }
    poll_->stop();
}

void PuzzleConversion::Poll() {
    if (!job_) return;
    if (!job_->Done) {
        if (job_->SourceBytes > 0)
            emit Progress(
                int(std::min<std::uint64_t>(1000, job_->BytesRead * 1000 / job_->SourceBytes)));
        return;
    }
    Join();
    const std::shared_ptr<Job> job = std::move(job_);
    source_.clear();
    // A conversion that ended on its own just as Cancel was pressed is cancelled all the same.
    if (job->Cancel) job->Result.Kind = ConversionResult::Cancelled;
    if (job->Result.Kind == ConversionResult::Converted) {
        // Conversions of earlier versions of the same collection are no longer needed.
        const QFileInfo cache(job->Result.CacheFile);
        const QString prefix =
            cache.fileName().left(cache.fileName().indexOf(QLatin1Char('-')) + 1);
        const QDir dir = cache.absoluteDir();
        for (const QString& name : dir.entryList({prefix + QLatin1Char('*')}, QDir::Files))
            if (name != cache.fileName()) QFile::remove(dir.filePath(name));
    }
    emit Finished(job->Result);
}

} // namespace qv
