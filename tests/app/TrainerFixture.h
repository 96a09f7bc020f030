// The trainer's five windows as the entry routine creates them, and the helpers with which
// the main-window tests drive them as a user does.
#pragma once

#include "app/ErrorBox.h"
#include "app/TApplication.h"
#include "app/TForm1.h"
#include "app/TListBox.h"
#include "app/help/HelpRouter.h"
#include "app/help/HelpWindow.h"
#include "board/ui/TChessBrd.h"
#include "script/core/ProblemFlow.h"
#include "script/ui/TForm2.h"
#include "tests/app/FakeDialogs.h"
#include "widgets/TCLEDLabel.h"
#include "widgets/TDRLabel.h"
#include "widgets/TLabel3D.h"
#include "windows/TForm3.h"
#include "windows/TForm4.h"
#include "windows/TForm5.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace qvtest {

using namespace qv;

inline const QString kSample = QStringLiteral(QV_SAMPLES_DIR "/first-steps.qvn");

// The five windows as the entry routine creates them.
struct Trainer {
    Globales g;
    TForm1 form1;
    TForm2 form2;
    TForm3 form3;
    TForm4 form4;
    TForm5 form5;
    explicit Trainer(const QStringList& extraArguments = {})
        : form1(g, QStringList{QCoreApplication::applicationFilePath()} + extraArguments),
          form3(form1.ChessBrd1), form5(g) {
        form1.AttachWindows(&form2, &form3, &form4, &form5);
        form1.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form1));
    }
};

inline QPoint CentreOf(const TChessBrd& b, Square sq) {
    return b.SquareToPixel(sq) + QPoint(b.SizeOfSquare() / 2, b.SizeOfSquare() / 2);
}

// A drag from one square to another with real mouse events.
inline void Drag(TChessBrd& b, Square from, Square to) {
    const QPoint start = CentreOf(b, from), end = CentreOf(b, to);
    QTest::mousePress(&b, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&b, start + QPoint(QApplication::startDragDistance() + 3, 0));
    QTest::mouseMove(&b, (start + end) / 2);
    QTest::mouseMove(&b, end);
    QTest::mouseRelease(&b, Qt::LeftButton, Qt::NoModifier, end);
}

inline void ClickEntry(TListBox* list, int row) {
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(item).center());
}

inline void ClickNext(TForm1& f) {
    QVERIFY(f.BitBtn2->isEnabled());
    QTest::mouseClick(f.BitBtn2, Qt::LeftButton);
}

inline QString Digits(const TForm1& f) {
    return f.CLEDLabel1->Caption() + f.CLEDLabel2->Caption() + f.CLEDLabel3->Caption();
}

inline QStringList MemoLines(const TForm1& f) {
    return f.Memo1->toPlainText().split(QLatin1Char('\n'));
}

// Runs `action` on the next modal window once it is open (while the caller sits in exec).
inline void WhenModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline char PieceOn(const TChessBrd& b, Square sq) {
    return b.Position().at(size_t(sq) - 1);
}

} // namespace qvtest
