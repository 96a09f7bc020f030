// Splash window: its look, and the rule that it may close only after its minimum
// showing time, however early or late it is asked.
#include "windows/TSplashScreen.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QtTest>

using qv::TSplashScreen;

class TSplashScreenTest : public QObject {
    Q_OBJECT
private slots:
    void borderlessWithPictureAndNotice() {
        TSplashScreen splash;
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash.size(), QSize(675, 114));
        QCOMPARE(splash.Timer1.interval(), 6000);
        QVERIFY(splash.Timer1.isActive()); // enabled from creation on
        QCOMPARE(splash.Image1->geometry(), QRect(0, 0, 675, 114));
        QVERIFY(!splash.Image1->pixmap().isNull());
        QCOMPARE(splash.Label1->pos(), QPoint(424, 11));
        QVERIFY(splash.Label1->font().bold());
        QCOMPARE(splash.Label1->font().pixelSize(), 13);
        QVERIFY(!splash.Label1->text().isEmpty());
        QVERIFY(splash.Label1->geometry().right() < 675); // the notice fits
    }

    void refusesToCloseUntilTheTimerHasFired() {
        TSplashScreen splash(80);
        splash.ShowNow();
        QVERIFY(splash.isVisible());
        QVERIFY(!splash.FormCloseQuery());
        QVERIFY(!splash.close()); // the close query refuses
        QVERIFY(splash.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(splash.FormCloseQuery(), 5000);
        QVERIFY(!splash.Timer1.isActive()); // the timer fired once and is disabled
        QVERIFY(splash.close());
        QVERIFY(!splash.isVisible());
    }

    void waitLastsAtLeastTheMinimumTime() {
        QElapsedTimer sinceCreation;
        sinceCreation.start();
        TSplashScreen splash(150);
        splash.ShowNow();
        splash.WaitUntilMayClose();
        QVERIFY(sinceCreation.elapsed() >= 150);
        QVERIFY(splash.FormCloseQuery());
    }

    void lateWaitReturnsAtOnce() {
        // When creating the windows took longer than the minimum, the wait ends as soon
        // as the pending timer event has been handled.
        TSplashScreen splash(20);
        QTest::qSleep(60); // busy creating windows, no events processed
        QVERIFY(!splash.FormCloseQuery());
        splash.WaitUntilMayClose();
        QVERIFY(splash.FormCloseQuery());
    }
};

QTEST_MAIN(TSplashScreenTest)
#include "TSplashScreenTest.moc"
