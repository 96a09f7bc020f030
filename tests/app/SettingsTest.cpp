// The trainer's settings file: values kept between runs, bad values and damaged files.
#include "app/TrainerSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void everyValueComesBack();
    void badValuesGiveTheirDefaults();
    void damagedFileGivesDefaultsAndIsSetAside();
    void recentFilesMostRecentFirstAtMostEight();

private:
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

void SettingsTest::everyValueComesBack() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/quorvane.conf"));
    TrainerSettings settings(path);
    QCOMPARE(settings.Load(), TrainerPreferences{}); // no file: the first start
    QVERIFY(!settings.WasCorrupt());

    TrainerPreferences p;
    p.WhiteOnTop = p.BoardLines = p.Coordinates = p.Sound = true;
    p.LightSquares = QColor(200, 180, 120);
    p.DarkSquares = QColor(90, 60, 30);
    p.PieceSet = QStringLiteral("Set80");
    p.Training = {
        .InstantVerdict = true, .TriesPerMove = 0, .Hints = true, .AnnounceInWindow = true};
    p.Geometry = QByteArray("\x01\xd9\xd0\xcb\x00\x03", 6);
    p.LastFile = QStringLiteral("/tmp/a, b \u00e9.qvn");
    p.LastProblem = QStringLiteral("3 Mate in two");
    p.RecentFiles = {p.LastFile, QStringLiteral("/x/only one.qvn")};
    p.EngineProgram = QStringLiteral("/usr/games/stockfish");
    QVERIFY(settings.Save(p));
    QCOMPARE(TrainerSettings(path).Load(), p);
    p.Training.TriesPerMove = 3;
    p.RecentFiles = {QStringLiteral("/x/only one.qvn")};
    QVERIFY(settings.Save(p));
    QCOMPARE(TrainerSettings(path).Load(), p);
}

void SettingsTest::badValuesGiveTheirDefaults() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quorvane.conf"));
    Write(path, "[Board]\nWhiteOnTop=banana\nLines=true\nLightSquares=red\nDarkSquares=#102030\n"
                "PieceSet=Nope\n[Training]\nTriesPerMove=7\nHints=1\n[Window]\nGeometry=junk\n"
                "[Files]\nRecent=@Invalid()\n");
    const TrainerPreferences p = TrainerSettings(path).Load();
    QCOMPARE(p.WhiteOnTop, false);
    QCOMPARE(p.BoardLines, true);
    QCOMPARE(p.LightSquares, QColor(255, 255, 255));
    QCOMPARE(p.DarkSquares, QColor(0x10, 0x20, 0x30));
    QCOMPARE(p.PieceSet, QStringLiteral("Set40"));
    QCOMPARE(p.Training.TriesPerMove, 1);
    QCOMPARE(p.Training.Hints, false);
    QVERIFY(p.Geometry.isEmpty());
    QVERIFY(p.RecentFiles.isEmpty());
}

void SettingsTest::damagedFileGivesDefaultsAndIsSetAside() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quorvane.conf"));
    static const char raw[] = "[Board]\nLines=true\n\0\xff\xfe\x01garbage";
    const QByteArray damaged(raw, sizeof raw - 1);
    for (const QByteArray& bytes : {damaged, QByteArray("[Board\nLines=true\n")}) {
        Write(path, bytes);
        TrainerSettings settings(path);
        QCOMPARE(settings.Load(), TrainerPreferences{});
        QVERIFY(settings.WasCorrupt());
        TrainerPreferences p;
        p.Sound = true;
        QVERIFY(settings.Save(p));
        QFile aside(path + QStringLiteral(".corrupt"));
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), bytes);
        QCOMPARE(TrainerSettings(path).Load(), p);
    }
}

void SettingsTest::recentFilesMostRecentFirstAtMostEight() {
    QStringList list;
    for (int i = 0; i < 10; ++i) list = WithRecentFile(list, QString::number(i));
    QCOMPARE(list, (QStringList{"9", "8", "7", "6", "5", "4", "3", "2"}));
    QCOMPARE(WithRecentFile(list, QStringLiteral("5")).first(), QStringLiteral("5"));
    QCOMPARE(WithRecentFile(list, QStringLiteral("5")).size(), 8);
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "SettingsTest.moc"
