// The computer player's own search as an analysis engine, on a worker thread of its own.
#pragma once

#include "analysis/core/AnalysisEngine.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

class QThread;

namespace qv::engine {
class Searcher;
}

namespace qv::analysis {

// Analyses with the iteratively deepened search of the computer player: one AnalysisInfo
// per completed depth, up to the limits or, without limits, until stopped (or until the
// deepest depth the search allows). The search runs on a worker thread at low priority,
// which waits on a condition variable between analyses: an idle engine uses no processor
// time. The search looks at the stop request inside its quiescence search too, so Stop and
// Start take effect at once even on positions whose capture sequences explode. One line
// only: MultiPv is not supported and counts as 1. Create and use it on one thread.
class BuiltinEngine : public QObject, public AnalysisEngine {
    Q_OBJECT
public:
    explicit BuiltinEngine(QObject* parent = nullptr);
    ~BuiltinEngine() override;

    void Start(const BoardState& position, const AnalysisLimits& limits) override;
    void Stop() override;
    bool Running() const override { return running_; }
    std::string Name() const override { return "built-in engine"; }

private:
    void Loop(); // the worker thread's body
    void Deliver(int generation, const AnalysisInfo& info);
    void Finish(int generation, const std::string& bestMove);

    std::unique_ptr<QThread> thread_;
    std::unique_ptr<engine::Searcher> searcher_; // used by the worker thread only

    std::mutex mutex_;
    std::condition_variable wake_;
    bool hasJob_ = false; // guarded by mutex_
    bool quit_ = false;   // guarded by mutex_
    BoardState jobPosition_;
    AnalysisLimits jobLimits_;
    int jobGeneration_ = 0;
    std::atomic<bool> stop_{false};

    // User-interface thread side: the analysis whose reports are still wanted.
    std::atomic<int> generation_{0};
    bool running_ = false;
};

} // namespace qv::analysis
