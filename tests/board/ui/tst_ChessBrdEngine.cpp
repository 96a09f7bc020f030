// The board's computer player: the custom-engine path and the search thread's handshake.
#include "board/ui/TChessBrd.h"
#include "engine/thread/TChessThread.h"

#include <QtTest>

#include <atomic>

using namespace qv;

namespace {

// A search step that plays a fixed reply, or waits for the stop flag when told to.
struct FakeSearch {
    std::atomic<int> calls{0};
    std::atomic<bool> block{false};
    std::atomic<bool> blocked{false};
    TChessThread::SearchStep Step() {
        return [this](const BoardState& pos, int depth, const std::atomic<bool>& stop) {
            ++calls;
            TChessThread::SearchResult r;
            if (depth < 1 || depth > 8) return r;
            if (block) {
                blocked = true;
                while (!stop.load()) QThread::msleep(1);
                blocked = false;
                r.From = A2; // a stopped search's result must be dropped
                r.To = A3;
                return r;
            }
            LegalMoveList moves;
            if (GenerateLegalMoves(pos, moves) > 0) {
                r.From = moves[0].From;
                r.To = moves[0].To;
            }
            return r;
        };
    }
};

// A board without animation whose custom engine plays Black.
void UseCustomEngineForBlack(TChessBrd& b) {
    b.SetAnimateMoves(false);
    b.SetCustomEngine(true);
    b.SetComputerPlaysBlack(true);
}

void ShowAndStart(TChessBrd& b) {
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QTRY_VERIFY(b.FirstPaintDone());
}

} // namespace

class TestChessBrdEngine : public QObject {
    Q_OBJECT
private slots:
    void customEngineRepliesToUserMove();
    void customEngineFailureIsReported();
    void customEngineWaitsAfterOutsideChange();
    void customEngineAskedByEventCheck();
    void threadParksWhenIdle();
    void threadPlaysComputerMoveOnUiThread();
    void computerPlaysBothSides();
    void stopDuringSearchHandsNothingOver();
    void stopFromHandlerDuringHandOverDoesNotHang();
    void noDropWhileThinking();
    void destroyWhileSearching();
};

void TestChessBrdEngine::customEngineRepliesToUserMove() {
    TChessBrd b;
    UseCustomEngineForBlack(b);
    int asked = 0;
    QList<std::pair<Square, Square>> moves;
    b.OnLegalMove = [&](BoardModel*, Square o, Square t) { moves << std::make_pair(o, t); };
    b.OnCalculateMove = [&](BoardModel* sender, Square& o, Square& t) {
        QCOMPARE(sender, static_cast<BoardModel*>(&b));
        QCOMPARE(o, None);
        QCOMPARE(t, None);
        QVERIFY(!b.WhiteToMove());
        ++asked;
        o = E7;
        t = E5;
    };
    QVERIFY(b.MakeMove(E2, E4));
    QCOMPARE(asked, 1);
    QCOMPARE(moves.size(), 2);
    QCOMPARE(moves[1], std::make_pair(E7, E5));
    QVERIFY(b.WhiteToMove());
    QVERIFY(!b.Thinking());
}

void TestChessBrdEngine::customEngineFailureIsReported() {
    TChessBrd b;
    UseCustomEngineForBlack(b);
    b.OnCalculateMove = [](BoardModel*, Square& o, Square& t) {
        o = E7;
        t = E4; // not a legal move
    };
    QList<std::pair<Square, Square>> failed;
    b.OnCalculationFailed = [&](BoardModel*, Square o, Square t) {
        failed << std::make_pair(o, t);
    };
    QVERIFY(b.MakeMove(D2, D4));
    QCOMPARE(failed, (QList<std::pair<Square, Square>>{{E7, E4}}));
    QVERIFY(!b.WhiteToMove());
}

void TestChessBrdEngine::customEngineWaitsAfterOutsideChange() {
    TChessBrd b;
    UseCustomEngineForBlack(b);
    int asked = 0;
    b.OnCalculateMove = [&](BoardModel*, Square& o, Square& t) {
        ++asked;
        o = B8;
        t = C6;
    };
    ShowAndStart(b);
    b.SetPosition("init");
    b.SetWhiteToMove(false); // Black (the computer) to move, but the position came from outside
    QVERIFY(b.EngineHold);
    QTest::qWait(20);
    QEvent e(QEvent::User);
    QCoreApplication::sendEvent(&b, &e);
    QCOMPARE(asked, 0);
    b.SetWhiteToMove(true);
    QVERIFY(b.MakeMove(G1, F3)); // the next user move clears the hold
    QCOMPARE(asked, 1);
    QVERIFY(b.WhiteToMove());
}

void TestChessBrdEngine::customEngineAskedByEventCheck() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    b.SetCustomEngine(true);
    int asked = 0;
    bool fail = true;
    b.OnCalculateMove = [&](BoardModel*, Square& o, Square& t) {
        ++asked;
        o = fail ? E7 : G8;
        t = fail ? E4 : F6;
    };
    b.SetComputerPlaysBlack(true);
    QVERIFY(b.EngineHold); // the setter halted the engine
    QVERIFY(b.MakeMove(E2, E4));
    QCOMPARE(asked, 1);
    QVERIFY(!b.WhiteToMove()); // refused, still Black's turn, not held
    QVERIFY(!b.EngineHold);
    fail = false;
    QEvent e(QEvent::User); // any event the board handles asks again
    QCoreApplication::sendEvent(&b, &e);
    QCOMPARE(asked, 2);
    QVERIFY(b.WhiteToMove());
    QCOMPARE(b.Position()[F6 - 1], 'n');
    // The timer asks too, from the first paint on.
    fail = true;
    ShowAndStart(b);
    QVERIFY(b.MakeMove(D2, D4));
    const int before = asked;
    QTRY_VERIFY_WITH_TIMEOUT(asked > before + 1, 2000);
}

void TestChessBrdEngine::threadParksWhenIdle() {
    TChessBrd b;
    FakeSearch fake;
    b.Thread()->SetSearchStep(fake.Step());
    QVERIFY(b.Thread()->IsParked());
    ShowAndStart(b);
    QTRY_VERIFY(b.Thread()->Passes() >= 1);
    QTRY_VERIFY(b.Thread()->IsParked());
    const int passes = b.Thread()->Passes();
    QTest::qWait(100); // an idle board does not poll
    QCOMPARE(b.Thread()->Passes(), passes);
    QCOMPARE(fake.calls.load(), 0);
    QVERIFY(!b.Thinking());
    // A user move releases it for one more look, after which it parks again.
    QVERIFY(b.MakeMove(E2, E4));
    QTRY_VERIFY(b.Thread()->Passes() > passes);
    QTRY_VERIFY(b.Thread()->IsParked());
    QCOMPARE(fake.calls.load(), 0);
}

void TestChessBrdEngine::threadPlaysComputerMoveOnUiThread() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    FakeSearch fake;
    b.Thread()->SetSearchStep(fake.Step());
    ShowAndStart(b);
    QList<std::pair<Square, Square>> moves;
    bool onUiThread = true;
    b.OnLegalMove = [&](BoardModel*, Square o, Square t) {
        onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
        moves << std::make_pair(o, t);
    };
    b.SetSearchDepth(3);
    b.SetComputerPlaysBlack(true);
    QVERIFY(b.MakeMove(E2, E4));
    QTRY_COMPARE(moves.size(), 2);
    QVERIFY(onUiThread);
    QVERIFY(b.WhiteToMove());
    QCOMPARE(fake.calls.load(), 1);
    QTRY_VERIFY(b.Thread()->IsParked());
    QVERIFY(!b.Thinking());
}

void TestChessBrdEngine::computerPlaysBothSides() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    FakeSearch fake;
    b.Thread()->SetSearchStep(fake.Step());
    ShowAndStart(b);
    int played = 0;
    b.OnLegalMove = [&](BoardModel*, Square, Square) { ++played; };
    b.SetComputerPlaysWhite(true);
    b.SetComputerPlaysBlack(true);
    QTRY_VERIFY(played >= 6);
    b.SetComputerPlaysWhite(false); // halts the thread first
    b.SetComputerPlaysBlack(false);
    QVERIFY(b.Thread()->IsParked());
    const int settled = played;
    QTest::qWait(50);
    QCOMPARE(played, settled);
}

void TestChessBrdEngine::stopDuringSearchHandsNothingOver() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    FakeSearch fake;
    fake.block = true;
    b.Thread()->SetSearchStep(fake.Step());
    ShowAndStart(b);
    int played = 0;
    b.OnLegalMove = [&](BoardModel*, Square, Square) { ++played; };
    b.SetComputerPlaysWhite(true);
    QTRY_VERIFY(fake.blocked.load());
    QVERIFY(b.Thinking());
    b.SetPosition("init"); // halts the search first
    QVERIFY(b.Thread()->IsParked());
    QVERIFY(!b.Thinking());
    QTest::qWait(30);
    QCOMPARE(played, 0);
    QCOMPARE(b.Position(), std::string(InitialPosition));
}

void TestChessBrdEngine::stopFromHandlerDuringHandOverDoesNotHang() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    FakeSearch fake;
    b.Thread()->SetSearchStep(fake.Step());
    ShowAndStart(b);
    int handled = 0;
    // The handler of the computer's move resets the position: it halts the thread
    // that is waiting for this very handler.
    b.OnLegalMove = [&](BoardModel* sender, Square, Square) {
        ++handled;
        static_cast<TChessBrd*>(sender)->SetPosition("init");
        static_cast<TChessBrd*>(sender)->SetWhiteToMove(true);
    };
    b.SetComputerPlaysWhite(true);
    QTRY_VERIFY(handled >= 1);
    QTRY_VERIFY(b.Thread()->IsParked());
    QCOMPARE(b.Position(), std::string(InitialPosition));
    QCOMPARE(handled, 1); // the stop holds the thread until the next StartThinking
}

void TestChessBrdEngine::noDropWhileThinking() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    FakeSearch fake;
    fake.block = true;
    b.Thread()->SetSearchStep(fake.Step());
    ShowAndStart(b);
    b.SetComputerPlaysBlack(true);
    b.SetWhiteToMove(false);
    b.StartThinking();
    QTRY_VERIFY(b.Thinking());
    QList<Square> refused;
    b.OnIllegalMove = [&](BoardModel*, Square s) { refused << s; };
    const QPoint from = b.SquareToPixel(E7) + QPoint(20, 20),
                 to = b.SquareToPixel(E5) + QPoint(20, 20);
    QTest::mousePress(&b, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&b, from + QPoint(0, 10));
    QTest::mouseMove(&b, to);
    QTest::mouseRelease(&b, Qt::LeftButton, Qt::NoModifier, to);
    QCOMPARE(refused, QList<Square>{E7});
    QVERIFY(!b.WhiteToMove());
}

void TestChessBrdEngine::destroyWhileSearching() {
    FakeSearch fake;
    fake.block = true;
    {
        TChessBrd b;
        b.Thread()->SetSearchStep(fake.Step());
        ShowAndStart(b);
        b.SetComputerPlaysWhite(true);
        QTRY_VERIFY(fake.blocked.load());
    } // the destructor stops and joins the thread
    QVERIFY(!fake.blocked.load());
}

QTEST_MAIN(TestChessBrdEngine)
#include "tst_ChessBrdEngine.moc"
