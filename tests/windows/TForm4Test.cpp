// Credits window: its layout, the two decoded pictures painted in their frames, and
// the ways of closing it.
#include "windows/TForm4.h"

#include "cmake/QvBuildInfo.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using qv::TForm4;

namespace {

// Number of distinct colours in a region: a decoded picture has many, a plain fill one.
int DistinctColours(const QImage& img, const QRect& r) {
    QSet<QRgb> colours;
    for (int y = r.top(); y <= r.bottom(); y += 3)
        for (int x = r.left(); x <= r.right(); x += 3) colours.insert(img.pixel(x, y));
    return int(colours.size());
}

} // namespace

class TForm4Test : public QObject {
    Q_OBJECT
private slots:
    void layoutAsDesigned() {
        TForm4 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Form4"));
        QCOMPARE(form.Panel2->geometry(), QRect(16, 8, 305, 385));
        QCOMPARE(form.Image2->geometry(), QRect(8, 8, 289, 369));
        QCOMPARE(form.Panel1->geometry(), QRect(336, 8, 185, 201));
        QCOMPARE(form.Image1->geometry(), QRect(8, 8, 169, 185));
        QCOMPARE(form.Button1->geometry(), QRect(440, 360, 75, 25));
        QCOMPARE(form.Button1->text(), QStringLiteral("&Close"));
        // The version under the portrait is the build's, the one qvn --version prints.
        QCOMPARE(form.VersionLabel->text(), QStringLiteral("Quorvane ") + qv::build::Version);
        QVERIFY(form.VersionLabel->geometry().top() >= form.Panel1->geometry().bottom());
        QVERIFY(form.rect().contains(form.VersionLabel->geometry()));
        // Everything fits inside the window.
        QVERIFY(form.rect().contains(form.Panel2->geometry()));
        QVERIFY(form.rect().contains(form.Button1->geometry()));
    }

    void showsBothPicturesStretched() {
        TForm4 form;
        QVERIFY(!form.Image1->pixmap().isNull());
        QVERIFY(!form.Image2->pixmap().isNull());
        QCOMPARE(form.Image2->pixmap().size(), QSize(300, 335));
        QCOMPARE(form.Image1->pixmap().size(), QSize(281, 289));
        QVERIFY(form.Image1->hasScaledContents());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage shot = form.grab().toImage();
        const QRect left(form.Panel2->mapTo(&form, form.Image2->geometry().topLeft()),
                         form.Image2->size());
        const QRect right(form.Panel1->mapTo(&form, form.Image1->geometry().topLeft()),
                          form.Image1->size());
        QVERIFY(DistinctColours(shot, left) > 2);
        QVERIFY(DistinctColours(shot, right) > 20);
    }

    void opensCentredAndClosesWithItsButton() {
        TForm4 form;
        bool wasCentred = false, leftOpen = false;
        QTimer::singleShot(0, &form, [&] {
            const QPoint screenCentre = form.screen()->geometry().center();
            wasCentred = (form.frameGeometry().center() - screenCentre).manhattanLength() <= 4;
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            leftOpen = form.isVisible();
            if (leftOpen) form.reject(); // checked below, with the dialog closed
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY(!leftOpen);
        QVERIFY(wasCentred);
        QVERIFY(!form.isVisible());
    }

    void closesWithItsCloseBox() {
        TForm4 form;
        bool leftOpen = false;
        QTimer::singleShot(0, &form, [&] {
            form.close();
            leftOpen = form.isVisible();
            if (leftOpen) form.reject();
        });
        form.exec();
        QVERIFY(!leftOpen);
        QVERIFY(!form.isVisible());
    }
};

QTEST_MAIN(TForm4Test)
#include "TForm4Test.moc"
