// Form resizer: proportional bounds, rounding, labels, containers, laid-out and
// excluded controls, the return to the recorded size, and font scaling.
#include "widgets/TFormResizer.h"
#include "widgets/TLabel3D.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using qv::TFormResizer;

class TFormResizerTest : public QObject {
    Q_OBJECT
private slots:
    void scaleRectRoundsEachPart() {
        // 1.5 across, 0.5 down: 15 -> 22.5 -> 23, 7 -> 3.5 -> 4, 33 -> 16.5 -> 17.
        QCOMPARE(TFormResizer::ScaleRect({15, 7, 21, 33}, {400, 200}, {600, 100}),
                 QRect(23, 4, 32, 17));
        // A degenerate recorded size changes nothing.
        QCOMPARE(TFormResizer::ScaleRect({1, 2, 3, 4}, {0, 0}, {600, 100}), QRect(1, 2, 3, 4));
    }

    void rescalesControlsAndPanelContents() {
        QWidget form;
        form.resize(400, 200);
        auto* button = new QPushButton("Next", &form);
        button->setGeometry(40, 20, 100, 50);
        auto* panel = new QFrame(&form);
        panel->setGeometry(200, 100, 200, 100);
        auto* inner = new QPushButton("Sound", panel);
        inner->setGeometry(10, 10, 50, 20);
        auto* memo = new QPlainTextEdit(&form);
        memo->setGeometry(0, 150, 100, 50);
        auto* combo = new QComboBox(panel);
        combo->setEditable(true);
        combo->setGeometry(60, 40, 100, 21);

        TFormResizer resizer(&form);
        resizer.Record();
        // Button, panel, memo, and in the panel button and combo; not the parts
        // of the memo and the combo box.
        QCOMPARE(resizer.RecordedCount(), 5);

        form.resize(800, 100);
        resizer.Rescale();
        QCOMPARE(button->geometry(), QRect(80, 10, 200, 25));
        QCOMPARE(panel->geometry(), QRect(400, 50, 400, 50));
        // Inner controls keep their recorded bounds relative to the window's ratios.
        QCOMPARE(inner->geometry(), QRect(20, 5, 100, 10));
        QCOMPARE(memo->geometry(), QRect(0, 75, 200, 25));

        // Several resizes do not accumulate rounding: each starts from the record.
        form.resize(401, 201);
        resizer.Rescale();
        form.resize(400, 200);
        resizer.Rescale();
        QCOMPARE(button->geometry(), QRect(40, 20, 100, 50));
        QCOMPARE(inner->geometry(), QRect(10, 10, 50, 20));
    }

    void labelsKeepTheSizeOfTheirTextAtEverySize() {
        QWidget form;
        form.resize(400, 200);
        auto* label = new QLabel("Index:", &form);
        label->setGeometry(100, 40, 60, 20);
        auto* wrapping = new QLabel("A comment that wraps", &form);
        wrapping->setWordWrap(true);
        wrapping->setGeometry(10, 100, 100, 50);
        auto* clock = new qv::TLabel3D(&form);
        clock->setGeometry(200, 100, 4, 19);
        clock->SetCaption("00:00:00");
        const int clockWidth = clock->width();

        TFormResizer resizer(&form);
        resizer.Record();
        form.resize(800, 400);
        resizer.Rescale();
        QCOMPARE(label->geometry(), QRect(200, 80, 60, 20));
        QCOMPARE(wrapping->geometry(), QRect(20, 200, 200, 100)); // re-wraps its text
        QCOMPARE(clock->pos(), QPoint(400, 200));
        QCOMPARE(clock->width(), clockWidth);
        QVERIFY(clock->AutoSize()); // switched back on after the move

        label->resize(90, 24); // grown by a longer text while the form was large
        form.resize(400, 200);
        resizer.Rescale();
        // Back at the recorded size: the recorded place, but the text stays whole.
        QCOMPARE(label->geometry(), QRect(100, 40, 90, 24));
        QCOMPARE(wrapping->geometry(), QRect(10, 100, 100, 50));
    }

    void laidOutAndExcludedControlsAreLeftAlone() {
        QWidget form;
        form.resize(400, 200);
        auto* box = new QWidget(&form);
        box->setGeometry(0, 0, 200, 100);
        auto* layout = new QHBoxLayout(box);
        auto* laidOut = new QPushButton("in a layout");
        layout->addWidget(laidOut);
        auto* filler = new QFrame(&form);
        filler->setGeometry(0, 180, 400, 20); // stands for a bar that fills its edge
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect laidOutBounds = laidOut->geometry();

        TFormResizer resizer(&form);
        resizer.LeaveAlone(filler);
        resizer.Record();
        form.resize(800, 400);
        resizer.Rescale();
        QCOMPARE(filler->geometry(), QRect(0, 180, 400, 20));
        QCOMPARE(box->geometry(), QRect(0, 0, 400, 200));
        QVERIFY(laidOut->geometry() != laidOutBounds); // moved by its layout, not by us
        QCOMPARE(laidOut->geometry(), layout->contentsRect().intersected(laidOut->geometry()));
    }

    void fontsScaleOnlyWhenAskedAndWithinLimits() {
        QWidget form;
        form.resize(400, 200);
        auto* small = new QPushButton("a", &form);
        QFont f1 = small->font();
        f1.setPointSize(10);
        small->setFont(f1);
        auto* pixel = new QPushButton("b", &form);
        QFont f2 = pixel->font();
        f2.setPixelSize(16);
        pixel->setFont(f2);

        TFormResizer resizer(&form);
        QVERIFY(!resizer.ScaleFonts());
        QCOMPARE(resizer.MinFontSize(), 8);
        QCOMPARE(resizer.MaxFontSize(), 48);
        resizer.Record();
        form.resize(2000, 1000);
        resizer.Rescale();
        QCOMPARE(small->font().pointSize(), 10); // off: fonts untouched

        resizer.SetScaleFonts(true);
        resizer.Rescale();
        QCOMPARE(small->font().pointSize(), 48); // 10 x 5 clamped to 48
        QCOMPARE(pixel->font().pixelSize(), 64); // 16 x 5 = 80 px clamped to 48 pt = 64 px
        form.resize(40, 20);
        resizer.Rescale();
        QCOMPARE(small->font().pointSize(), 8); // 10 x 0.1 clamped to 8
    }
};

QTEST_MAIN(TFormResizerTest)
#include "TFormResizerTest.moc"
