// The board's search thread with the real search: computer games through the board's
// events, stops, hand-over re-entrancy, priorities and the idle trainer configuration.
#include "board/ui/TChessBrd.h"
#include "engine/core/Search.h"
#include "engine/thread/TChessThread.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <vector>

using namespace qv;

namespace {

using Move = std::pair<Square, Square>;

constexpr const char* KiwipeteFen =
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

void ShowAndStart(TChessBrd& b) {
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QTRY_VERIFY(b.FirstPaintDone());
}

// Records every move the board plays and whether its events came on the UI thread.
struct MoveLog {
    std::vector<Move> moves;
    bool offUiThread = false;
    void Attach(TChessBrd& b) {
        b.OnLegalMove = [this](BoardModel*, Square o, Square t) {
            if (QThread::currentThread() != qApp->thread()) offUiThread = true;
            moves.emplace_back(o, t);
        };
    }
};

// The first move a fresh search finds in a position given as FEN.
Move FreshSearch(const char* fen, int depth) {
    BoardModel m;
    if (!m.SetFen(fen)) return {None, None};
    engine::Searcher s;
    const std::atomic<bool> stop{false};
    const engine::SearchResult r = s.RunSearch(m.State(), depth, stop);
    return {r.From, r.To};
}

} // namespace

class TestChessThread : public QObject {
    Q_OBJECT
private slots:
    void trainerBoardsNeverThink();
    void computerPlaysBothSidesToTheEnd();
    void computerPlaysMiddleGame();
    void mateInOneAfterUserMove();
    void outsideMoveWakesParkedThread();
    void stopDuringDeepSearchIsPrompt();
    void stopFromLegalMoveHandlerDoesNotHang();
    void userRepliesRightAfterComputerMove();
    void promotionUsesBoardsPiece();
    void matedComputerSideParks();
    void refusedMoveAfterRepetitionParks();
    void priorityFollowsThinkingPriority();
};

void TestChessThread::trainerBoardsNeverThink() {
    // The trainer's configuration: two boards, the computer plays neither side.
    TChessBrd main, aux;
    for (TChessBrd* b : {&main, &aux}) {
        b->SetAnimateMoves(false);
        b->SetComputerPlaysWhite(false);
        b->SetComputerPlaysBlack(false);
        b->SetSearchDepth(1);
        b->SetThinkingPriority(tpNormal);
        ShowAndStart(*b);
    }
    bool sawThinking = false;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout,
                     [&] { sawThinking = sawThinking || main.Thinking() || aux.Thinking(); });
    sampler.start(1);

    // User moves, a script's moves, a new position, steps through the record.
    QVERIFY(main.MakeMove(E2, E4));
    QVERIFY(main.MakeMove(E7, E5));
    QVERIFY(main.PlayMove(G1, F3));
    QVERIFY(aux.MakeMove(D2, D4));
    QTest::qWait(30);
    QVERIFY(main.MoveBack());
    aux.SetPosition("init");
    QVERIFY(aux.SetFen(KiwipeteFen));
    QVERIFY(aux.MakeMove(E1, G1));
    QTest::qWait(600); // past an engine-check tick

    const int passesMain = main.Thread()->Passes(), passesAux = aux.Thread()->Passes();
    QTest::qWait(600); // idle: no pass at all, not even a poll
    QCOMPARE(main.Thread()->Passes(), passesMain);
    QCOMPARE(aux.Thread()->Passes(), passesAux);
    sampler.stop();

    QVERIFY(!sawThinking);
    QVERIFY(!main.Thinking() && !aux.Thinking());
    QVERIFY(main.Thread()->IsParked() && aux.Thread()->IsParked());
    // An idle board never allocates the search's tables.
    QVERIFY(!main.Thread()->HasSearcher());
    QVERIFY(!aux.Thread()->HasSearcher());
}

void TestChessThread::computerPlaysBothSidesToTheEnd() {
    // Queen and king against king: the computer playing both sides finishes the game.
    TChessBrd b;
    b.SetAnimateMoves(false);
    QVERIFY(b.SetFen("4k3/8/4K3/8/8/8/8/3Q4 w - - 0 1"));
    b.SetSearchDepth(2);
    ShowAndStart(b);
    MoveLog log;
    log.Attach(b);
    bool mated = false, drawn = false;
    int checks = 0;
    b.OnCheck = [&](BoardModel*, Square, Square) { ++checks; };
    // The end-of-game handlers switch the computer off (a stop from inside the hand-over).
    b.OnMate = [&](BoardModel*, Square, Square) {
        mated = true;
        b.SetComputerPlaysWhite(false);
        b.SetComputerPlaysBlack(false);
    };
    b.OnDraw = [&](BoardModel*) {
        drawn = true;
        b.SetComputerPlaysWhite(false);
        b.SetComputerPlaysBlack(false);
    };
    b.SetComputerPlaysBlack(true);
    b.SetComputerPlaysWhite(true);
    QTRY_VERIFY_WITH_TIMEOUT(mated || drawn, 60000);
    QTRY_VERIFY(b.Thread()->IsParked());
    QVERIFY(!log.offUiThread);
    QVERIFY(!b.Thinking());
    QVERIFY2(mated, "queen and king mate a lone king");
    QVERIFY(checks >= 1);
    // White moved first, then the sides alternated; the mated side is to move and has no move.
    QVERIFY(log.moves.size() % 2 == 1);
    QVERIFY(!b.WhiteToMove());
    QVERIFY(!b.HasLegalMove());
    const std::size_t played = log.moves.size();
    QTest::qWait(100);
    QCOMPARE(log.moves.size(), played);
}

void TestChessThread::computerPlaysMiddleGame() {
    // A few moves of a tactical middle game; the first is the search's own choice at
    // the board's depth, found from the board's castling rights and side to move.
    TChessBrd b;
    b.SetAnimateMoves(false);
    QVERIFY(b.SetFen(KiwipeteFen));
    b.SetSearchDepth(2);
    ShowAndStart(b);
    MoveLog log;
    log.Attach(b);
    b.SetComputerPlaysBlack(true); // the first search starts with the second setter
    b.SetComputerPlaysWhite(true);
    QTRY_VERIFY_WITH_TIMEOUT(log.moves.size() >= 6, 60000);
    b.SetComputerPlaysWhite(false); // halts the thread first
    b.SetComputerPlaysBlack(false);
    // Each setter lets the thread go again to look at the new state: with no side
    // left to play, it parks on its own pass.
    QTRY_VERIFY_WITH_TIMEOUT(b.Thread()->IsParked(), 5000);
    QVERIFY(!b.Thinking());
    QVERIFY(!log.offUiThread);
    QCOMPARE(log.moves.front(), FreshSearch(KiwipeteFen, 2));

    // The game record replays to the same position.
    BoardModel replay;
    QVERIFY(replay.SetFen(KiwipeteFen));
    for (const Move& m : log.moves) QVERIFY(replay.PlayMove(m.first, m.second));
    QCOMPARE(replay.Position(), b.Position());
    QCOMPARE(replay.WhiteToMove(), b.WhiteToMove());
    const std::size_t played = log.moves.size();
    QTest::qWait(50);
    QCOMPARE(log.moves.size(), played);
}

void TestChessThread::mateInOneAfterUserMove() {
    // After 1.f3 e5 the user's 2.g4 hands the computer (Black) a mate in one.
    TChessBrd b;
    b.SetAnimateMoves(false);
    QVERIFY(b.SetFen("rnbqkbnr/pppp1ppp/8/4p3/8/5P2/PPPPP1PP/RNBQKBNR w KQkq - 0 2"));
    b.SetComputerPlaysBlack(true);
    b.SetSearchDepth(2);
    ShowAndStart(b);
    MoveLog log;
    log.Attach(b);
    std::vector<Move> mates;
    b.OnMate = [&](BoardModel* sender, Square o, Square t) {
        QCOMPARE(sender, static_cast<BoardModel*>(&b));
        mates.emplace_back(o, t);
    };
    QVERIFY(b.MakeMove(G2, G4));
    QTRY_COMPARE(log.moves.size(), std::size_t{2});
    QCOMPARE(log.moves[1], Move(D8, H4));
    QCOMPARE(mates, std::vector<Move>{Move(D8, H4)});
    QVERIFY(!log.offUiThread);
    QTRY_VERIFY(b.Thread()->IsParked());
    QVERIFY(!b.Thinking());
    QVERIFY(b.Thread()->HasSearcher());
}

void TestChessThread::outsideMoveWakesParkedThread() {
    // A move played from outside (as a script plays it, without StartThinking) gives
    // the computer the move: the parked thread is released by the board's engine check.
    TChessBrd b;
    b.SetAnimateMoves(false);
    b.SetComputerPlaysBlack(true);
    ShowAndStart(b);
    MoveLog log;
    log.Attach(b);
    QTRY_VERIFY(b.Thread()->IsParked());
    QVERIFY(b.PlayMove(E2, E4));
    QTRY_COMPARE(log.moves.size(), std::size_t{2});
    QVERIFY(b.WhiteToMove());
    QTRY_VERIFY(b.Thread()->IsParked());
}

void TestChessThread::stopDuringDeepSearchIsPrompt() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    QVERIFY(b.SetFen(KiwipeteFen));
    b.SetSearchDepth(8);
    ShowAndStart(b);
    MoveLog log;
    log.Attach(b);
    const std::string before = b.Position();
    b.SetComputerPlaysWhite(true);
    QTRY_VERIFY(b.Thinking());
    QTest::qWait(100);
    QVERIFY(b.Thinking()); // a search to depth 8 here takes far longer
    QElapsedTimer clock;
    clock.start();
    b.StopThinking();
    const qint64 ms = clock.elapsed();
    QVERIFY(b.Thread()->IsParked());
    QVERIFY(!b.Thinking());
    // Generous for sanitizer builds: the search polls the stop flag at every node.
    QVERIFY2(ms < 2000, qPrintable(QStringLiteral("StopThinking took %1 ms").arg(ms)));
    QTest::qWait(50);
    QVERIFY(log.moves.empty());
    QCOMPARE(b.Position(), before);
    QVERIFY(b.WhiteToMove());

    // The stop holds the thread until it is released; then it searches afresh.
    QTest::qWait(600);
    QVERIFY(log.moves.empty());
    b.SetSearchDepth(1);
    b.StartThinking();
    QTRY_COMPARE(log.moves.size(), std::size_t{1});
    QVERIFY(!b.WhiteToMove());
    b.SetComputerPlaysWhite(false);
}

void TestChessThread::stopFromLegalMoveHandlerDoesNotHang() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    ShowAndStart(b);
    int handled = 0;
    bool stopReturned = false;
    // The handler runs inside the hand-over, while the search thread waits for it.
    b.OnLegalMove = [&](BoardModel*, Square, Square) {
        ++handled;
        b.StopThinking();
        stopReturned = true;
    };
    // Black first: only the second setter releases the thread (White to move).
    b.SetComputerPlaysBlack(true);
    b.SetComputerPlaysWhite(true);
    QTRY_VERIFY(stopReturned);
    QTRY_VERIFY(b.Thread()->IsParked());
    QVERIFY(!b.Thinking());
    QTest::qWait(100); // the stop holds the thread: no further move
    QCOMPARE(handled, 1);
    QVERIFY(!b.WhiteToMove());
    // Black is handed to the user; the user's move releases the thread, and the
    // computer answers for White.
    b.OnLegalMove = [&](BoardModel*, Square, Square) { ++handled; };
    b.SetComputerPlaysBlack(false);
    QVERIFY(b.MakeMove(E7, E5));
    QTRY_COMPARE(handled, 3); // the user's move and White's reply
    QTRY_VERIFY(b.Thread()->IsParked());
    QCOMPARE(handled, 3);
}

void TestChessThread::userRepliesRightAfterComputerMove() {
    // The owner answers each computer move as soon as the event loop runs again, while
    // the search thread may still wait for its pass-end notification: the reply's
    // StopThinking must serve that call, and the reply must release the thread again.
    // The timing varies from run to run, so a few games are played.
    for (int round = 0; round < 5; ++round) {
        TChessBrd b;
        b.SetAnimateMoves(false);
        ShowAndStart(b);
        MoveLog log;
        const std::vector<Move> replies = {{E7, E5}, {B8, C6}, {G8, F6}};
        std::size_t replied = 0;
        b.OnLegalMove = [&](BoardModel*, Square o, Square t) {
            log.moves.emplace_back(o, t);
            if (b.WhiteToMove() || replied >= replies.size()) return;
            // A reply that the computer's move made illegal is simply refused.
            const Move reply = replies[replied++];
            QTimer::singleShot(0, &b, [&b, reply] { (void)b.MakeMove(reply.first, reply.second); });
        };
        b.SetComputerPlaysWhite(true);
        QTRY_VERIFY_WITH_TIMEOUT(replied == replies.size() && !b.WhiteToMove(), 20000);
        QTRY_VERIFY(b.Thread()->IsParked());
        QVERIFY(!b.Thinking());
        // White (computer) and Black (replies) alternated; every move was played once.
        QVERIFY(log.moves.size() >= replies.size() + 1);
        BoardModel replay;
        for (const Move& m : log.moves) QVERIFY(replay.PlayMove(m.first, m.second));
        QCOMPARE(replay.Position(), b.Position());
        b.SetComputerPlaysWhite(false);
    }
}

void TestChessThread::promotionUsesBoardsPiece() {
    // Whatever the search chose, the board promotes with its own PromotionPiece.
    TChessBrd b;
    b.SetAnimateMoves(false);
    QVERIFY(b.SetFen("8/P7/8/8/8/8/8/k6K w - - 0 1"));
    b.PromotionPiece = 'n';
    b.SetSearchDepth(2);
    ShowAndStart(b);
    MoveLog log;
    log.Attach(b);
    int promotions = 0;
    b.OnPromotion = [&](BoardModel*, Square, Square, char&) { ++promotions; };
    b.SetComputerPlaysWhite(true);
    QTRY_COMPARE(log.moves.size(), std::size_t{1});
    QCOMPARE(log.moves.front(), Move(A7, A8));
    QCOMPARE(promotions, 1);
    QCOMPARE(b.Position()[A8 - 1], 'N');
    b.SetComputerPlaysWhite(false);
}

void TestChessThread::matedComputerSideParks() {
    // The computer's side is mated: the thread finds no move and parks instead of
    // searching again on every pass.
    TChessBrd b;
    b.SetAnimateMoves(false);
    QVERIFY(b.SetFen("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3"));
    ShowAndStart(b);
    MoveLog log;
    log.Attach(b);
    b.SetComputerPlaysWhite(true);
    QTRY_VERIFY(b.Thread()->HasSearcher());
    QTRY_VERIFY(b.Thread()->IsParked());
    const int passes = b.Thread()->Passes();
    QTest::qWait(700); // past an engine-check tick
    QCOMPARE(b.Thread()->Passes(), passes);
    QVERIFY(log.moves.empty());
    QVERIFY(!b.Thinking());
    // A new position with the computer to move is searched again once released.
    QVERIFY(b.SetFen("4k3/8/4K3/8/8/8/8/3Q4 w - - 0 1"));
    b.StartThinking();
    QTRY_COMPARE(log.moves.size(), std::size_t{1});
}

void TestChessThread::refusedMoveAfterRepetitionParks() {
    // The start position for the third time, White to move: the search finds moves,
    // but the board refuses every one. The thread parks instead of searching again.
    TChessBrd b;
    b.SetAnimateMoves(false);
    ShowAndStart(b);
    const Move shuffle[] = {{G1, F3}, {G8, F6}, {F3, G1}, {F6, G8}};
    for (int round = 0; round < 2; ++round)
        for (const Move& m : shuffle) QVERIFY(b.MakeMove(m.first, m.second));
    QVERIFY(b.ThreefoldRepetition());
    MoveLog log;
    log.Attach(b);
    b.SetComputerPlaysWhite(true);
    QTRY_VERIFY(b.Thread()->HasSearcher());
    QTRY_VERIFY(b.Thread()->IsParked());
    const int passes = b.Thread()->Passes();
    QTest::qWait(700); // past an engine-check tick
    QCOMPARE(b.Thread()->Passes(), passes);
    QVERIFY(log.moves.empty());
    QVERIFY(!b.Thinking());
    // Two half-moves back the game is not drawn: released, the computer plays.
    QVERIFY(b.MoveBack());
    QVERIFY(b.MoveBack());
    b.StartThinking();
    QTRY_COMPARE(log.moves.size(), std::size_t{1});
    b.SetComputerPlaysWhite(false);
}

void TestChessThread::priorityFollowsThinkingPriority() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    std::atomic<int> seen{-1}, policy{-1};
    b.Thread()->SetSearchStep([&](const BoardState& pos, int, const std::atomic<bool>&) {
        seen = QThread::currentThread()->priority();
        int p = 0;
        sched_param param{};
        if (pthread_getschedparam(pthread_self(), &p, &param) == 0) policy = p;
        TChessThread::SearchResult r;
        LegalMoveList moves;
        if (GenerateLegalMoves(pos, moves) > 0) {
            r.From = moves[0].From;
            r.To = moves[0].To;
        }
        return r;
    });
    ShowAndStart(b);
    QCOMPARE(b.ThinkingPriority(), tpNormal);
    // The setter acts on the running thread at once; each level has its own Qt priority.
    const std::pair<TThreadPriority, QThread::Priority> all[] = {
        {tpTimeCritical, QThread::TimeCriticalPriority},
        {tpHighest, QThread::HighestPriority},
        {tpHigher, QThread::HighPriority},
        {tpNormal, QThread::NormalPriority},
        {tpLower, QThread::LowPriority},
        {tpLowest, QThread::LowestPriority},
        {tpIdle, QThread::IdlePriority}};
    for (const auto& [level, expected] : all) {
        b.SetThinkingPriority(level);
        QCOMPARE(b.ThinkingPriority(), level);
        QCOMPARE(b.Thread()->priority(), expected);
    }
    MoveLog log;
    log.Attach(b);
    // One search for the side given, at the board's priority of the moment.
    auto searchOnce = [&](bool white) {
        const std::size_t before = log.moves.size();
        if (white)
            b.SetComputerPlaysWhite(true);
        else
            b.SetComputerPlaysBlack(true);
        QTRY_COMPARE(log.moves.size(), before + 1);
        b.SetComputerPlaysWhite(false);
        b.SetComputerPlaysBlack(false);
    };
    // Each search starts at the board's priority, whatever the thread ran at before.
    b.SetThinkingPriority(tpLower);
    b.Thread()->setPriority(QThread::HighestPriority);
    searchOnce(true);
    QCOMPARE(seen.load(), int(QThread::LowPriority));
    // The idle level runs the search under the system's idle policy, and a later
    // normal level leaves it again (where the system lets a thread do so).
    b.SetThinkingPriority(tpIdle);
    searchOnce(false);
    QCOMPARE(seen.load(), int(QThread::IdlePriority));
#ifdef SCHED_IDLE
    QCOMPARE(policy.load(), int(SCHED_IDLE));
    b.SetThinkingPriority(tpNormal);
    searchOnce(true);
    QCOMPARE(seen.load(), int(QThread::NormalPriority));
    rlimit nice{};
    getrlimit(RLIMIT_NICE, &nice);
    if (geteuid() != 0 && nice.rlim_cur < 20)
        QSKIP("this system does not let a thread leave the idle policy");
    QCOMPARE(policy.load(), int(SCHED_OTHER));
#endif
}

QTEST_MAIN(TestChessThread)
#include "tst_ChessThread.moc"
