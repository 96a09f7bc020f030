// The built-in analysis engine: a parked worker thread, one search per request, reports
// posted back to the owner's thread and dropped once they are stale.
#include "analysis/engines/BuiltinEngine.h"

#include "analysis/core/AnalysisText.h"
#include "engine/core/Search.h"

#include <QMetaObject>
#include <QThread>

namespace qv::analysis {

BuiltinEngine::BuiltinEngine(QObject* parent) : QObject(parent) {
    thread_.reset(QThread::create([this] { Loop(); }));
    thread_->start(QThread::LowPriority);
}

BuiltinEngine::~BuiltinEngine() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        stop_ = true;
    }
    wake_.notify_all();
    thread_->wait();
}

void BuiltinEngine::Start(const BoardState& position, const AnalysisLimits& limits) {
    {
        std::lock_guard lock(mutex_);
        stop_ = true; // ends the running search, if any
        jobPosition_ = EnginePosition(position);
        jobLimits_ = limits;
        jobGeneration_ = ++generation_;
        hasJob_ = true;
    }
    running_ = true;
    wake_.notify_all();
}

void BuiltinEngine::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        hasJob_ = false;
        ++generation_;
    }
    running_ = false;
}

void BuiltinEngine::Deliver(int generation, const AnalysisInfo& info) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, info] {
            if (generation == generation_ && running_ && OnInfo) OnInfo(info);
        },
        Qt::QueuedConnection);
}

void BuiltinEngine::Finish(int generation, const std::string& bestMove) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, bestMove] {
            if (generation != generation_ || !running_) return;
            running_ = false;
            if (OnFinished) OnFinished(bestMove);
        },
        Qt::QueuedConnection);
}

void BuiltinEngine::Loop() {
    for (;;) {
        BoardState position;
        AnalysisLimits limits;
        int generation = 0;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return hasJob_ || quit_; });
            if (quit_) return;
            position = jobPosition_;
            limits = jobLimits_;
            generation = jobGeneration_;
            hasJob_ = false;
            stop_ = false;
        }
        if (!searcher_) searcher_ = std::make_unique<engine::Searcher>();
        engine::SearchBudget budget;
        budget.StopInQuiescence = true;
        budget.MaxMilliseconds = limits.MoveTimeMs;
        const int depth = limits.Depth > 0 ? limits.Depth : engine::Searcher::MaxPly - 1;
        engine::SearchStats stats;
        stats.OnIteration = [&](const engine::IterationStats& it) {
            if (it.LineLength == 0) return; // no legal move: nothing to show but the end
            AnalysisInfo info;
            info.Depth = it.Depth;
            info.Score = ScoreFromSearch(it.Score);
            info.Nodes = it.Nodes;
            for (int i = 0; i < it.LineLength; ++i) info.Pv.push_back(engine::MoveText(it.Line[i]));
            Deliver(generation, info);
        };
        const engine::SearchResult r = searcher_->RunSearch(position, depth, stop_, &stats, budget);
        if (!r.Stopped) Finish(generation, r.Found ? engine::MoveText(r.Move) : std::string());
    }
}

} // namespace qv::analysis
