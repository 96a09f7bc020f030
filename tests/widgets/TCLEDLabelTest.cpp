// Seven-segment digit label: the segment pattern of every character, read back from
// the pixels of the painted widget.
#include "widgets/TCLEDLabel.h"

#include <QImage>
#include <QtTest>

using qv::TCLEDLabel;

namespace {

const QColor Yellow(255, 255, 0);
const QColor Maroon(128, 0, 0);
const QColor Black(0, 0, 0);

// Lit segments of each character, written with the usual segment letters.
const char* ExpectedSegments(QChar c) {
    switch (c.toLatin1()) {
    case '0':
        return "abcdef";
    case '1':
        return "bc";
    case '2':
        return "abdeg";
    case '3':
        return "abcdg";
    case '4':
        return "bcfg";
    case '5':
        return "acdfg";
    case '6':
        return "acdefg";
    case '7':
        return "abc";
    case '8':
        return "abcdefg";
    case '9':
        return "abcdfg";
    case '-':
        return "g";
    case 'E':
        return "adefg";
    default:
        return "";
    }
}

QImage Paint(TCLEDLabel& label) {
    return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString LitSegmentsOf(TCLEDLabel& label) {
    const QImage img = Paint(label);
    QString lit;
    for (int s = 0; s < TCLEDLabel::SegmentCount; ++s) {
        const QRect r = label.SegmentRect(static_cast<TCLEDLabel::Segment>(s));
        const QColor c = img.pixelColor(r.center());
        if (c == Yellow)
            lit += QChar('a' + s);
        else if (c != Maroon)
            return QStringLiteral("segment %1 has colour %2").arg(QChar('a' + s)).arg(c.name());
    }
    return lit;
}

} // namespace

class TCLEDLabelTest : public QObject {
    Q_OBJECT
private slots:
    void everyCharacterLightsItsSegments_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected");
        for (QChar c : QStringLiteral("0123456789-E "))
            QTest::newRow(qPrintable(QStringLiteral("'%1'").arg(c)))
                << QString(c) << ExpectedSegments(c);
        QTest::newRow("empty caption is blank") << QString() << QString();
        QTest::newRow("unknown character is blank") << QStringLiteral("x") << QString();
        QTest::newRow("right-aligned: last character shown")
            << QStringLiteral("42") << ExpectedSegments('2');
        QTest::newRow("lower-case overflow mark") << QStringLiteral("e") << ExpectedSegments('E');
    }
    void everyCharacterLightsItsSegments() {
        QFETCH(QString, caption);
        QFETCH(QString, expected);
        TCLEDLabel label;
        label.resize(15, 26);
        label.SetCaption(caption);
        QCOMPARE(LitSegmentsOf(label), expected);
    }

    void segmentsAreTwoPixelsThickOnBlack() {
        TCLEDLabel label;
        label.resize(15, 26);
        label.SetCaption("8");
        const QImage img = Paint(label);
        // Background around and between the segments.
        QCOMPARE(img.pixelColor(0, 0), Black);
        QCOMPARE(img.pixelColor(14, 25), Black);
        // Walk down the middle column: black, 2 lit (a), dark gap, 2 lit (g), gap, 2 lit (d),
        // black.
        QString column;
        for (int y = 0; y < 26; ++y) column += img.pixelColor(7, y) == Yellow ? '#' : '.';
        QCOMPARE(column, QStringLiteral("..##........##........##.."));
        // Walk across the upper half: f and b are two pixels wide at the edges.
        QString row;
        for (int x = 0; x < 15; ++x) row += img.pixelColor(x, 7) == Yellow ? '#' : '.';
        QCOMPARE(row, QStringLiteral("..##.......##.."));
        // The corners between horizontal and vertical segments stay dark.
        QCOMPARE(img.pixelColor(2, 2), Black);
    }

    void segmentsFollowColoursAndSize() {
        TCLEDLabel label;
        label.resize(30, 52);
        label.SetThickness(4);
        label.SetSegmentColor(Qt::green);
        label.SetUnlitColor(Qt::darkGray);
        label.SetCaption("1");
        const QImage img = Paint(label);
        QCOMPARE(img.pixelColor(label.SegmentRect(TCLEDLabel::SegB).center()), QColor(Qt::green));
        QCOMPARE(img.pixelColor(label.SegmentRect(TCLEDLabel::SegA).center()),
                 QColor(Qt::darkGray));
        QCOMPARE(label.SegmentRect(TCLEDLabel::SegA).height(), 4);
    }
};

QTEST_MAIN(TCLEDLabelTest)
#include "TCLEDLabelTest.moc"
