// Stopwatch: accumulation over starts and stops, with a fake clock, and the time format.
#include "widgets/TYRChronometre.h"

#include <QtTest>

using qv::TYRChronometre;

class TYRChronometreTest : public QObject {
    Q_OBJECT
    qint64 now = 0;
    TYRChronometre Make() {
        return TYRChronometre([this] { return now; });
    }

private slots:
    void init() { now = 1'000'000; }

    void accumulatesOnlyWhileRunning() {
        TYRChronometre c = Make();
        QVERIFY(!c.Running());
        QCOMPARE(c.Elapsed(), 0.0);
        now += 5000; // time passing while stopped does not count
        c.Start();
        now += 1500;
        QCOMPARE(c.Elapsed(), 1.5); // running: read live
        c.Stop();
        now += 60'000;
        QCOMPARE(c.Elapsed(), 1.5);
        c.Start();
        now += 250;
        c.Stop();
        QCOMPARE(c.Elapsed(), 1.75);
    }

    void repeatedStartOrStopChangesNothing() {
        TYRChronometre c = Make();
        c.Start();
        now += 1000;
        c.Start(); // must not restart the running interval
        now += 1000;
        QCOMPARE(c.Elapsed(), 2.0);
        c.Stop();
        now += 1000;
        c.Stop();
        QCOMPARE(c.Elapsed(), 2.0);
        QVERIFY(!c.Running());
    }

    void resetClearsAndStops() {
        TYRChronometre c = Make();
        c.Start();
        now += 3000;
        c.Reset();
        QVERIFY(!c.Running());
        QCOMPARE(c.Elapsed(), 0.0);
        now += 3000;
        QCOMPARE(c.Elapsed(), 0.0);
        QCOMPARE(c.FormatElapsed(), QStringLiteral("00:00:00.00"));
    }

    void countsWholeDays() {
        TYRChronometre c = Make();
        c.Start();
        now += (2 * 86400 + 3 * 3600 + 4 * 60 + 5) * 1000LL + 670;
        QCOMPARE(c.FormatElapsed(), QStringLiteral("51:04:05.67"));
    }

    void clockGoingBackwardsAddsNothing() {
        TYRChronometre c = Make();
        c.Start();
        now -= 10'000;
        QCOMPARE(c.Elapsed(), 0.0);
        c.Stop();
        QCOMPARE(c.Elapsed(), 0.0);
    }

    void format_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "00:00:00.00";
        QTest::newRow("hundredths") << 0.07 << "00:00:00.07";
        QTest::newRow("no rounding error on 1.15") << 1.15 << "00:00:01.15";
        QTest::newRow("truncated, not rounded up to a minute") << 59.999 << "00:00:59.99";
        QTest::newRow("minute carry") << 60.0 << "00:01:00.00";
        QTest::newRow("hour") << 3600.5 << "01:00:00.50";
        QTest::newRow("just under 100 hours") << 359999.99 << "99:59:59.99";
        QTest::newRow("three-digit hours") << 360000.0 << "100:00:00.00";
        QTest::newRow("negative counts as zero") << -3.0 << "00:00:00.00";
        QTest::newRow("not a number counts as zero") << qQNaN() << "00:00:00.00";
    }
    void format() {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(TYRChronometre::FormatTime(seconds), text);
    }

    void defaultClockRuns() {
        TYRChronometre c;
        c.Start();
        QTRY_VERIFY_WITH_TIMEOUT(c.Elapsed() > 0.0, 2000);
    }
};

QTEST_MAIN(TYRChronometreTest)
#include "TYRChronometreTest.moc"
