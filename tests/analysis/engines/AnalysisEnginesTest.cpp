// The analysis engines driven through their event loop: the built-in search on its thread,
// and the UCI client against a fake engine that behaves, crashes, hangs or prints garbage.
#include "analysis/engines/BuiltinEngine.h"
#include "analysis/engines/UciEngine.h"
#include "board/core/BoardModel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;
using namespace qv::analysis;

namespace {

BoardState FromFen(const char* fen) {
    BoardModel board;
    board.SetFen(fen);
    return board.State();
}

const BoardState MateInTwo = FromFen("2r3k1/5ppp/8/8/8/8/3R1PPP/3R2K1 w - - 0 1");
const BoardState BlackToMove =
    FromFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");

// Everything an engine reports, in order.
struct Recorder {
    std::vector<AnalysisInfo> Infos;
    std::vector<std::string> Finished;
    std::vector<std::string> Errors;
    explicit Recorder(AnalysisEngine& e) {
        e.OnInfo = [this](const AnalysisInfo& i) { Infos.push_back(i); };
        e.OnFinished = [this](const std::string& m) { Finished.push_back(m); };
        e.OnError = [this](const std::string& m) { Errors.push_back(m); };
    }
};

} // namespace

class AnalysisEnginesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString Log() const { return dir_.filePath(QStringLiteral("engine.log")); }
    QStringList Received() const {
        QFile f(Log());
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void UseMode(const char* mode) {
        qputenv("FAKE_UCI_MODE", mode);
        QFile::remove(Log());
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        qputenv("FAKE_UCI_LOG", Log().toUtf8());
    }

    void builtinReportsEachDepthAndStopsAtOnce() {
        BuiltinEngine engine;
        Recorder r(engine);
        engine.Start(MateInTwo, {});
        QTRY_VERIFY(r.Infos.size() >= 3);
        const AnalysisInfo& third = r.Infos[2];
        QCOMPARE(third.Depth, 3);
        QVERIFY(third.Score == (EngineScore{true, 2}));
        QCOMPARE(third.Pv, (std::vector<std::string>{"d2d8", "c8d8", "d1d8"}));
        QVERIFY(engine.Running());
        engine.Stop();
        QVERIFY(!engine.Running());
        const size_t seen = r.Infos.size();
        QTest::qWait(100);
        QCOMPARE(r.Infos.size(), seen); // nothing of the stopped analysis arrives
        QVERIFY(r.Finished.empty());

        // A new position while one is analysed: only the new one reports.
        engine.Start(MateInTwo, {});
        engine.Start(BlackToMove, {0, 0, 1});
        r.Infos.clear();
        QTRY_VERIFY(r.Infos.size() >= 2);
        for (const AnalysisInfo& i : r.Infos) QVERIFY(i.Pv.front() != "d2d8");
        engine.Stop();
    }

    void builtinFinishesALimitedAnalysis() {
        BuiltinEngine engine;
        Recorder r(engine);
        engine.Start(MateInTwo, {2, 0, 1});
        QTRY_COMPARE(r.Finished.size(), size_t(1));
        QCOMPARE(r.Finished[0], std::string("d2d8"));
        QCOMPARE(r.Infos.size(), size_t(2));
        QVERIFY(!engine.Running());
        // A mated side: no line, an empty best move.
        engine.Start(FromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1"), {3, 0, 1});
        QTRY_COMPARE(r.Finished.size(), size_t(2));
        QCOMPARE(r.Finished[1], std::string());
        QCOMPARE(r.Infos.size(), size_t(2));
    }

    void uciHandshakeAnalysisAndRestart() {
        UseMode("normal");
        UciEngine engine(QStringLiteral(FAKE_UCI_ENGINE));
        Recorder r(engine);
        engine.Start(MateInTwo, {0, 0, 2});
        QTRY_COMPARE(r.Infos.size(), size_t(5)); // two depths of two lines, then the mate
        QCOMPARE(engine.Name(), std::string("Fake Engine 1.0"));
        QCOMPARE(r.Infos[1].MultiPv, 2);
        QCOMPARE(r.Infos[1].Score.Value, -20);
        QVERIFY(r.Infos[4].Score == (EngineScore{true, 2}));
        QCOMPARE(r.Infos[4].Pv.front(), std::string("e2e4"));

        // Another position while analysing: stop, wait for the best move, then the new one.
        engine.Start(BlackToMove, {0, 0, 2});
        r.Infos.clear();
        QTRY_COMPARE(r.Infos.size(), size_t(5));
        for (const AnalysisInfo& i : r.Infos) QCOMPARE(i.Pv.front(), std::string("e7e5"));
        engine.Stop();
        QTRY_COMPARE(Received().count(QStringLiteral("stop")), 2);
        QVERIFY(r.Errors.empty());
        QVERIFY(r.Finished.empty());

        const QStringList sent = Received();
        const QStringList expected = {
            "uci",
            "isready",
            "setoption name MultiPV value 2",
            "position fen 2r3k1/5ppp/8/8/8/8/3R1PPP/3R2K1 w - - 0 1",
            "go infinite",
            "stop",
            "position fen rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
            "go infinite",
            "stop"};
        QCOMPARE(sent, expected);

        // A limited analysis ends with the engine's best move.
        engine.Start(BlackToMove, {3, 0, 1});
        QTRY_COMPARE(r.Finished.size(), size_t(1));
        QCOMPARE(r.Finished[0], std::string("e7e5"));
        QVERIFY(!engine.Running());
    }

    void uciFailuresBecomeMessages_data() {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("timeout"); // long where the failure must come before it
        const QString fake = QStringLiteral(FAKE_UCI_ENGINE);
        QTest::newRow("crash") << QByteArray("crash") << fake << QStringLiteral("crashed") << 400;
        QTest::newRow("exit") << QByteArray("exit") << fake << QStringLiteral("exit code 3") << 400;
        QTest::newRow("hang") << QByteArray("hang") << fake << QStringLiteral("did not answer")
                              << 400;
        QTest::newRow("garbage") << QByteArray("garbage") << fake
                                 << QStringLiteral("may not be a UCI chess engine") << 400;
        QTest::newRow("flood") << QByteArray("flood") << fake << QStringLiteral("not UCI") << 20000;
        QTest::newRow("missing") << QByteArray("normal") << dir_.filePath("no-such-engine")
                                 << QStringLiteral("could not be started") << 400;
        QTest::newRow("not a program")
            << QByteArray("normal") << dir_.path() << QStringLiteral("could not be started") << 400;
    }

    void uciFailuresBecomeMessages() {
        QFETCH(QByteArray, mode);
        QFETCH(QString, program);
        QFETCH(QString, words);
        QFETCH(int, timeout);
        UseMode(mode.constData());
        UciEngine engine(program);
        engine.SetAnswerTimeout(timeout);
        Recorder r(engine);
        engine.Start(MateInTwo, {});
        QVERIFY(r.Errors.empty()); // never reported from inside Start
        QTRY_COMPARE_WITH_TIMEOUT(r.Errors.size(), size_t(1), 30000);
        QVERIFY2(QString::fromStdString(r.Errors[0]).contains(words), r.Errors[0].c_str());
        QVERIFY(QString::fromStdString(r.Errors[0]).contains(program));
        QVERIFY(!engine.Running());

        // The next start runs the program afresh; a working engine then answers.
        UseMode("normal");
        if (program == QStringLiteral(FAKE_UCI_ENGINE)) {
            engine.Start(MateInTwo, {1, 0, 1});
            QTRY_COMPARE(r.Finished.size(), size_t(1));
            QCOMPARE(r.Errors.size(), size_t(1));
        }
    }

    void uciEngineThatIgnoresStop() {
        UseMode("deaf");
        UciEngine engine(QStringLiteral(FAKE_UCI_ENGINE));
        engine.SetAnswerTimeout(400);
        Recorder r(engine);
        engine.Start(MateInTwo, {});
        QTRY_VERIFY(engine.Ready());
        engine.Start(BlackToMove, {}); // waits for a best move that never comes
        QTRY_COMPARE(r.Errors.size(), size_t(1));
        QVERIFY(QString::fromStdString(r.Errors[0]).contains(QStringLiteral("did not stop")));
    }
};

QTEST_GUILESS_MAIN(AnalysisEnginesTest)
#include "AnalysisEnginesTest.moc"
