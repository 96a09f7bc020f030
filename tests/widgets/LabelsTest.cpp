// Shadowed blinking label and raised-text label: what they paint, the blink phases and
// the blink timer, and the raised label's automatic width.
#include "widgets/TDRLabel.h"
#include "widgets/TLabel3D.h"

#include <QImage>
#include <QtTest>

using qv::TDRLabel;
using qv::TLabel3D;

namespace {

int CountPixels(const QImage& img, const QColor& c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == c) ++n;
    return n;
}

QImage Paint(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The label of the main window's turn prompt: red on grey with a yellow shadow.
void SetUpPrompt(TDRLabel& label) {
    label.setGeometry(0, 0, 81, 22);
    QFont f("Arial");
    f.setPixelSize(19);
    f.setStyleStrategy(QFont::NoAntialias); // whole pixels, so colours can be compared
    label.setFont(f);
    label.SetCaption("Your turn!");
    label.SetFontColor(Qt::red);
    label.SetShadowColor(Qt::yellow);
    label.SetColor(Qt::gray);
}

} // namespace

class LabelsTest : public QObject {
    Q_OBJECT
private slots:
    void drawsShadowUnderText() {
        TDRLabel label;
        SetUpPrompt(label);
        const QImage img = Paint(label);
        QVERIFY(CountPixels(img, Qt::red) > 20);
        QVERIFY(CountPixels(img, Qt::yellow) > 5);
        // The shadow is the text moved one pixel down and right, beneath the text:
        // every shadow pixel lies under a text pixel of the glyph mask shifted by
        // (1, 1), and nowhere the text itself is.
        TDRLabel plain;
        SetUpPrompt(plain);
        plain.SetShadowDepth(0);
        const QImage mask = Paint(plain);
        auto isText = [&](int x, int y) {
            return x >= 0 && y >= 0 && mask.pixelColor(x, y) == QColor(Qt::red);
        };
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixelColor(x, y) == QColor(Qt::yellow)) {
                    QVERIFY2(isText(x - 1, y - 1) && !isText(x, y),
                             qPrintable(QString("%1,%2").arg(x).arg(y)));
                }
    }

    void blinkAlternatesTextAndBackground() {
        TDRLabel label;
        SetUpPrompt(label);
        label.SetBlink(qv::blBlink);
        QCOMPARE(label.CurrentTextColor(), QColor(Qt::red));
        label.BlinkStep();
        QCOMPARE(label.CurrentTextColor(), QColor(Qt::gray));
        // While the text colour equals the background nothing but background is drawn,
        // the shadow included.
        const QImage off = Paint(label);
        QCOMPARE(CountPixels(off, Qt::gray), off.width() * off.height());
        label.BlinkStep();
        QCOMPARE(label.CurrentTextColor(), QColor(Qt::red));
        QVERIFY(CountPixels(Paint(label), Qt::red) > 20);
    }

    void hiLoAlternatesTextAndShadow() {
        TDRLabel label;
        SetUpPrompt(label);
        label.SetBlink(qv::blHiLo);
        label.BlinkStep();
        QCOMPARE(label.CurrentTextColor(), QColor(Qt::yellow));
        QCOMPARE(CountPixels(Paint(label), Qt::red), 0);
    }

    void steadyLabelIgnoresSteps() {
        TDRLabel label;
        SetUpPrompt(label);
        label.BlinkStep();
        QCOMPARE(label.CurrentTextColor(), QColor(Qt::red));
        // Switching blinking off in the dark phase brings the text back.
        label.SetBlink(qv::blBlink);
        label.BlinkStep();
        label.SetBlink(qv::blNone);
        QCOMPARE(label.CurrentTextColor(), QColor(Qt::red));
    }

    void timerRunsOnlyWhileBlinkingAndVisible() {
        QWidget window;
        window.resize(200, 100);
        auto* label = new TDRLabel(&window);
        SetUpPrompt(*label);
        QCOMPARE(label->BlinkInterval(), 300);
        label->SetBlink(qv::blBlink);
        QVERIFY(!label->BlinkTimerActive()); // not shown yet
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(label->BlinkTimerActive());
        // The real timer flips the phase.
        QTRY_VERIFY_WITH_TIMEOUT(label->BlinkPhase(), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(!label->BlinkPhase(), 2000);
        label->hide();
        QVERIFY(!label->BlinkTimerActive());
        label->show();
        QVERIFY(label->BlinkTimerActive());
        label->SetBlink(qv::blNone);
        QVERIFY(!label->BlinkTimerActive());
    }

    void backgroundFollowsParentUnlessSet() {
        QWidget parent;
        QPalette pal = parent.palette();
        pal.setColor(parent.backgroundRole(), QColor(10, 20, 30));
        parent.setPalette(pal);
        auto* label = new TDRLabel(&parent);
        QCOMPARE(label->Color(), QColor(10, 20, 30));
        label->SetColor(Qt::blue);
        QCOMPARE(label->Color(), QColor(Qt::blue));
    }

    void raisedLabelWidensWithItsText() {
        TLabel3D label;
        QFont f("Arial");
        f.setPixelSize(16);
        f.setBold(true);
        label.setFont(f);
        label.setGeometry(668, 344, 4, 19);
        label.SetCaption("00:00:00");
        const int wide = label.width();
        QVERIFY(wide > 40);
        QCOMPARE(label.pos(), QPoint(668, 344));
        QCOMPARE(label.height(), 19);
        label.SetCaption("0");
        QVERIFY(label.width() < wide);
        label.SetAutoSize(false);
        label.SetCaption("00:00:00:00:00");
        QVERIFY(label.width() < wide);
    }

    void raisedLabelPaintsFaceAndShadow() {
        QWidget back;
        back.setAutoFillBackground(true);
        QPalette pal = back.palette();
        pal.setColor(back.backgroundRole(), QColor(0, 128, 0));
        back.setPalette(pal);
        back.resize(120, 30);
        auto* label = new TLabel3D(&back);
        QFont f("Arial");
        f.setPixelSize(16);
        f.setBold(true);
        label->setFont(f);
        label->SetCaption("12:34:56");
        const QImage img = Paint(back);
        QVERIFY(CountPixels(img, Qt::white) > 20);
        QVERIFY(CountPixels(img, Qt::black) > 5);
        // The label paints no background of its own.
        QCOMPARE(img.pixelColor(label->width() - 1, 0), QColor(0, 128, 0));
    }
};

QTEST_MAIN(LabelsTest)
#include "LabelsTest.moc"
