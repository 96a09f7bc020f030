// The board's search thread: parks while the computer is not to move, searches when
// it is, and hands its move to the board on the user-interface thread.
#pragma once

#include "board/core/Rules.h"
#include "board/core/Square.h"

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace qv {

namespace engine {
class Searcher;
}

// The seven priority levels a board may give its search thread.
enum TThreadPriority : int {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

// TChessThread is the worker thread owned by one board. The board binds it to its
// live fields and to two callbacks (its move hand-over and its pass-end
// notification), both of which the thread runs synchronously on the thread that
// owns the TChessThread object (the user-interface thread).
//
// Handshake. The thread is "parked" while it waits on a condition variable; the
// board "releases" it (Release) when the computer may have to move, and asks it to
// stop (StopRequest) before it changes anything the search reads, then waits until
// IsParked(). A pass of the loop either finds that the computer is not to move and
// parks at once (an idle board uses no CPU), or searches, hands the move over
// (unless a stop was requested), and calls the pass-end notification, which decides
// whether the thread parks (Park) or goes on (Release).
//
// The thread searches with its own engine::Searcher, created at its first search (an
// idle board never allocates one) and kept until the thread is destroyed, so that
// it keeps its principal line between searches. A SearchStep installed on the
// thread (or as the default for new threads) replaces it, e.g. in tests.
class TChessThread : public QThread {
    Q_OBJECT
public:
    // A move found by the search; From == None when there is none.
    struct SearchResult {
        Square From = None;
        Square To = None;
    };
    // The search step: called on the search thread with a snapshot of the board's
    // position taken at the start of the search (squares, side to move, castling
    // rights, en-passant square, move number), the board's SearchDepth (1..8) and
    // the stop flag, which the step must poll often and return promptly once it is
    // set (its result is then discarded). Returns the move to play.
    using SearchStep = std::function<SearchResult(const BoardState& position, int depth,
                                                  const std::atomic<bool>& stop)>;

    // What the thread reads from its board (the live fields, never copies) and the
    // two calls it makes into it. The board writes the position only while the
    // thread is parked or blocked in one of the calls; the other fields are atomics.
    struct Binding {
        const BoardState* Position = nullptr;
        const std::atomic<bool>* ComputerPlaysWhite = nullptr;
        const std::atomic<bool>* ComputerPlaysBlack = nullptr;
        const std::atomic<int>* SearchDepth = nullptr;
        const std::atomic<int>* ThinkingPriority = nullptr; // a TThreadPriority
        // The move hand-over; true when the board played the move.
        std::function<bool(Square origin, Square target)> PlayMove;
        std::function<void()> ThreadFinished; // pass-end notification
    };

    // Created parked: the loop does not run before the first Release.
    explicit TChessThread(QObject* parent = nullptr);
    // Ends the loop (see Shutdown) and waits for the thread.
    ~TChessThread() override;

    void Bind(Binding binding);
    // Installs the search used from the next search on (thread-safe); an empty step
    // returns to the thread's own Searcher.
    void SetSearchStep(SearchStep step);

    // Flags shared with the board. ThinkingFlag: a search runs, or its move is not
    // yet handed over. StopRequest: end a running search and stay parked.
    std::atomic<bool> ThinkingFlag{false};
    std::atomic<bool> StopRequest{false};

    // --- called on the user-interface thread ---
    // Lets the thread run its next pass (starts it the first time).
    void Release();
    // Makes the thread park once the synchronous call it is in returns.
    void Park();
    // Is the thread waiting to be released (or not started yet, or ended)?
    bool IsParked() const;
    // Waits up to ms milliseconds for the thread to park or to ask for a synchronous
    // call; true when it is parked.
    bool WaitParked(int ms);
    // Runs the thread's pending synchronous call (its move or its pass-end
    // notification) now, on the calling thread, which must be the owner's; false
    // when none is pending. A board waiting for the thread to park calls this, so
    // that the wait never depends on the event loop delivering the call: a nested
    // event loop inside a posted event does not always deliver newly posted events.
    bool ServePendingCall();
    // Is the user-interface thread running one of the thread's synchronous calls
    // right now? A thread in that state cannot park until the call returns.
    bool ServingCall() const;
    // Parked with no stop pending after a pass that found the computer not to move:
    // the board releases such a thread when the computer gets the move.
    bool IdleParked() const;
    // Ends the loop for good: stops any search, abandons a pending call and joins.
    void Shutdown();
    // Sets the running thread's priority at once (remembered if not started).
    void SetThreadPriority(TThreadPriority priority);
    static QThread::Priority ToQtPriority(TThreadPriority priority);

    // Passes run so far (diagnostics and tests).
    int Passes() const { return passes_.load(); }
    // Has the thread created its Searcher (that is, has it ever searched with it)?
    bool HasSearcher() const { return hasSearcher_.load(); }

protected:
    void run() override;

private:
    enum class ParkReason { NotStarted, Board, NotComputersTurn, NoMove };
    // Runs fn on the owner's thread and waits for it; false if abandoned by Shutdown.
    bool RunOnOwnerThread(std::function<void()> fn);
    static bool ComputerToMove(const Binding& b);
    // Parks unless released meanwhile (generation changed); returns false on terminate.
    bool WaitForRelease();
    // Sets the priority of the search thread from the search thread itself.
    void ApplyOwnPriority(QThread::Priority priority);
    // Runs one search on the search thread: the installed step, or the own Searcher.
    SearchResult Search(const SearchStep& step, const BoardState& position, int depth);

    // Standard primitives rather than Qt's, so that thread checkers see them.
    mutable std::mutex mutex_;
    std::condition_variable releaseCond_; // the thread waits here while parked
    std::condition_variable parkedCond_;  // the board waits here for the thread to park
    std::condition_variable callCond_;    // the thread waits here for its synchronous call
    Binding binding_;
    SearchStep step_;
    bool released_ = false;
    bool parked_ = true;
    bool terminate_ = false;
    bool started_ = false;
    ParkReason parkReason_ = ParkReason::NotStarted;
    unsigned releaseGeneration_ = 0;
    std::function<void()> pendingCall_;
    bool callDone_ = false;
    bool serving_ = false;
    QThread::Priority priority_ = QThread::NormalPriority;
    std::atomic<int> passes_{0};
    std::unique_ptr<engine::Searcher> searcher_; // used on the search thread only
    std::atomic<bool> hasSearcher_{false};
};

} // namespace qv
