// The search thread's loop, its parking handshake and its synchronous calls into the board.
#include "engine/thread/TChessThread.h"

#include "engine/core/Search.h"

#include <QMetaObject>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <utility>

#include <pthread.h>
#include <sched.h>

namespace qv {

TChessThread::TChessThread(QObject* parent) : QThread(parent) {}

TChessThread::~TChessThread() {
    Shutdown();
} // the Searcher goes with the thread object, after the thread has ended

void TChessThread::Bind(Binding binding) {
    std::unique_lock lock(mutex_);
    binding_ = std::move(binding);
}

void TChessThread::SetSearchStep(SearchStep step) {
    std::unique_lock lock(mutex_);
    step_ = std::move(step);
}

QThread::Priority TChessThread::ToQtPriority(TThreadPriority priority) {
    switch (priority) {
    case tpIdle:
        return QThread::IdlePriority;
    case tpLowest:
        return QThread::LowestPriority;
    case tpLower:
        return QThread::LowPriority;
    case tpNormal:
        return QThread::NormalPriority;
    case tpHigher:
        return QThread::HighPriority;
    case tpHighest:
        return QThread::HighestPriority;
    case tpTimeCritical:
        return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

void TChessThread::SetThreadPriority(TThreadPriority priority) {
    std::unique_lock lock(mutex_);
    priority_ = ToQtPriority(priority);
    if (started_ && !terminate_ && isRunning()) setPriority(priority_);
}

void TChessThread::ApplyOwnPriority(QThread::Priority priority) {
#if defined(__linux__) && defined(SCHED_IDLE)
    // Qt gives the idle priority its own scheduling policy but keeps the thread's
    // current policy for every other priority, so a thread that once ran idle would
    // stay idle: return it to the normal policy first (where the system allows it).
    int policy = 0;
    sched_param param{};
    if (priority != QThread::IdlePriority &&
        pthread_getschedparam(pthread_self(), &policy, &param) == 0 && policy == SCHED_IDLE) {
        param.sched_priority = 0;
        pthread_setschedparam(pthread_self(), SCHED_OTHER, &param);
    }
#endif
    setPriority(priority);
}

void TChessThread::Release() {
    std::unique_lock lock(mutex_);
    if (terminate_) return;
    released_ = true;
    ++releaseGeneration_;
    if (!started_) {
        started_ = true;
        parked_ = false;
        start(priority_);
    } else {
        releaseCond_.notify_all();
    }
}

void TChessThread::Park() {
    std::unique_lock lock(mutex_);
    released_ = false;
    parkReason_ = ParkReason::Board;
}

bool TChessThread::IsParked() const {
    std::unique_lock lock(mutex_);
    return parked_;
}

bool TChessThread::WaitParked(int ms) {
    std::unique_lock lock(mutex_);
    if (!parked_ && !pendingCall_)
        parkedCond_.wait_for(lock, std::chrono::milliseconds(std::max(ms, 0)));
    return parked_;
}

bool TChessThread::ServingCall() const {
    std::unique_lock lock(mutex_);
    return serving_;
}

bool TChessThread::IdleParked() const {
    std::unique_lock lock(mutex_);
    return parked_ && !released_ && !terminate_ && parkReason_ == ParkReason::NotComputersTurn &&
           !StopRequest.load();
}

void TChessThread::Shutdown() {
    {
        std::unique_lock lock(mutex_);
        if (terminate_ && !started_) return;
        terminate_ = true;
        StopRequest = true;
        pendingCall_ = nullptr; // a call not yet served is abandoned
        releaseCond_.notify_all();
        callCond_.notify_all();
    }
    wait();
}

bool TChessThread::WaitForRelease() {
    std::unique_lock lock(mutex_);
    while (!released_ && !terminate_) {
        parked_ = true;
        parkedCond_.notify_all();
        releaseCond_.wait(lock);
    }
    parked_ = false;
    return !terminate_;
}

bool TChessThread::ComputerToMove(const Binding& b) {
    if (!b.Position) return false;
    const bool white = b.Position->WhiteToMove;
    return (white && b.ComputerPlaysWhite && b.ComputerPlaysWhite->load()) ||
           (!white && b.ComputerPlaysBlack && b.ComputerPlaysBlack->load());
}

bool TChessThread::RunOnOwnerThread(std::function<void()> fn) {
    std::unique_lock lock(mutex_);
    if (terminate_) return false;
    pendingCall_ = std::move(fn);
    callDone_ = false;
    parkedCond_.notify_all(); // a board waiting for the thread to park serves the call
    QMetaObject::invokeMethod(
        this, [this] { ServePendingCall(); }, Qt::QueuedConnection);
    while (!callDone_ && !terminate_) callCond_.wait(lock);
    pendingCall_ = nullptr;
    return callDone_ && !terminate_;
}

bool TChessThread::ServePendingCall() {
    std::function<void()> fn;
    {
        std::unique_lock lock(mutex_);
        if (!pendingCall_) return false; // served already (a late queued request)
        fn = std::move(pendingCall_);
        pendingCall_ = nullptr;
        serving_ = true;
    }
    // Whatever the call does (an event handler may even throw), the thread is told
    // that it is over.
    struct Done {
        TChessThread* t;
        ~Done() {
            std::lock_guard lock(t->mutex_);
            t->serving_ = false;
            t->callDone_ = true;
            t->callCond_.notify_all();
        }
    } done{this};
    fn();
    return true;
}

TChessThread::SearchResult TChessThread::Search(const SearchStep& step, const BoardState& position,
                                                int depth) {
    if (step) return step(position, depth, StopRequest);
    if (!searcher_) {
        searcher_ = std::make_unique<engine::Searcher>();
        hasSearcher_ = true;
    }
    const engine::SearchResult found = searcher_->RunSearch(position, depth, StopRequest);
    // No move when the search was stopped or the side to move has no legal move.
    SearchResult result;
    if (found.Found && !found.Stopped) {
        result.From = found.From;
        result.To = found.To;
    }
    return result;
}

void TChessThread::run() {
    for (;;) {
        if (!WaitForRelease()) break;
        ++passes_;
        unsigned generation = 0;
        Binding binding;
        SearchStep step;
        {
            std::unique_lock lock(mutex_);
            generation = releaseGeneration_;
            binding = binding_;
            step = step_;
        }

        // Not the computer's turn, or a stop is pending: park until the board
        // releases the thread again (unless it already did since this pass began).
        const bool search = !StopRequest.load() && ComputerToMove(binding);
        SearchResult result;
        if (search) {
            if (binding.ThinkingPriority)
                ApplyOwnPriority(
                    ToQtPriority(static_cast<TThreadPriority>(binding.ThinkingPriority->load())));
            ThinkingFlag = true;
            const BoardState snapshot = *binding.Position;
            const int depth =
                binding.SearchDepth ? std::clamp(binding.SearchDepth->load(), 1, 8) : 1;
            result = Search(step, snapshot, depth);
        }
        // A search without a move (the computer's side is mated or stalemated) parks
        // as well: searching again on every pass while nothing changes would only
        // burn the processor. The next StartThinking lets it look again.
        if (!search || (result.From == None && !StopRequest.load())) {
            ThinkingFlag = false;
            std::unique_lock lock(mutex_);
            if (releaseGeneration_ == generation) {
                released_ = false;
                parkReason_ = !search ? (StopRequest.load() ? ParkReason::Board
                                                            : ParkReason::NotComputersTurn)
                                      : ParkReason::NoMove;
            }
            continue;
        }

        // Hand the move over, unless the board asked for a stop meanwhile.
        if (!StopRequest.load()) {
            ThinkingFlag = false;
            const Square from = result.From, to = result.To;
            auto play = binding.PlayMove;
            bool played = false;
            if (!RunOnOwnerThread([play, from, to, &played] {
                    if (play) played = play(from, to);
                }))
                break;
            // A move the board refuses (the game is drawn by repetition, say) would be
            // found and refused again on every pass while nothing changes: park, as
            // when no move was found, until the board lets the thread look again.
            if (!played && !StopRequest.load()) {
                std::unique_lock lock(mutex_);
                if (releaseGeneration_ == generation) {
                    released_ = false;
                    parkReason_ = ParkReason::NoMove;
                }
                continue;
            }
        }
        // Pass-end notification: the board parks the thread or lets it go on.
        auto finished = binding.ThreadFinished;
        if (!RunOnOwnerThread([this, finished] {
                if (finished)
                    finished();
                else
                    Park();
            }))
            break;
    }
    std::unique_lock lock(mutex_);
    parked_ = true;
    parkedCond_.notify_all();
}

} // namespace qv
