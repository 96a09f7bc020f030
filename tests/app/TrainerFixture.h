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
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace qvtest {

using namespace qv;

inline const QString kSample = QStringLiteral(QV_SAMPLES_DIR "/first-steps.qvn");

// Every trainer of the tests keeps its progress in a fresh temporary file, never in
// the user's: the one that ProgressPath names, or its own.
inline QString ProgressPath;
struct ProgressSandbox {
    QTemporaryDir dir;
    ProgressSandbox() {
        qputenv("QUORVANE_PROGRESS_DB",
                (ProgressPath.isEmpty() ? dir.filePath(QStringLiteral("progress.sqlite"))
                                        : ProgressPath)
                    .toLocal8Bit());
    }
};

// The five windows as the entry routine creates them.
struct Trainer {
    ProgressSandbox sandbox;
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
    QVERIFY(row >= 0 && row < list->count());
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualRect(index).center());
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

// Waits, while the caller sits in a modal window's exec, for that window to open; then
// lets `record` note what it shows (and press its buttons) and closes the window if it
// is still open. `record` holds no checks: they follow the modal call, so that a failed
// one never leaves a dialog open. The timer goes with the object.
class OnModal {
public:
    explicit OnModal(std::function<void(QWidget*)> record) : record_(std::move(record)) {
        timer_.setInterval(10);
        waited_.start();
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            // Give the window system a moment to make the new window the active one.
            if (QApplication::activeWindow() != modal && !waited_.hasExpired(2000)) return;
            timer_.stop();
            seen_ = modal;
            flags_ = modal->windowFlags();
            active_ = QApplication::activeWindow() == modal;
            record_(modal);
            if (modal->isVisible()) modal->close();
        });
        timer_.start();
    }
    // The window that opened (it may be gone by now: compare, do not use).
    const QWidget* Seen() const { return seen_; }
    // Whether the window stayed on top of others, and was the active window, when it opened.
    bool StaysOnTop() const { return flags_.testFlag(Qt::WindowStaysOnTopHint); }
    bool WasActive() const { return active_; }

private:
    QTimer timer_;
    QElapsedTimer waited_;
    std::function<void(QWidget*)> record_;
    const QWidget* seen_ = nullptr;
    Qt::WindowFlags flags_;
    bool active_ = false;
};

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// What is wrong with the window's layout: a shown control that runs into another one or
// out of its parent, a label too narrow for its text, a pause label beside the board.
inline QStringList LayoutFaults(const TForm1& f) {
    QStringList faults;
    const QList<QWidget*> groups{f.Client(), f.Panel1, f.Panel2, f.Panel3};
    for (QWidget* parent : groups) {
        QList<QWidget*> shown;
        for (QObject* o : parent->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || w->isWindow() || w->isHidden() || w == f.DRLabel2 || w == f.DRLabel3)
                continue;
            auto* label = qobject_cast<QLabel*>(w);
            if (label && label->text().isEmpty()) continue;
            shown << w;
            const QString name = QString::fromLatin1(w->metaObject()->className()) +
                                 QLatin1Char(' ') + w->objectName();
            if (!parent->rect().contains(w->geometry())) faults << name + " leaves its parent";
            if (label && !label->wordWrap() && label->width() < label->sizeHint().width())
                faults << QStringLiteral("label \"%1\" cut").arg(label->text());
        }
        for (int i = 0; i < shown.size(); ++i)
            for (int j = i + 1; j < shown.size(); ++j)
                if (shown[i]->geometry().intersects(shown[j]->geometry()))
                    faults << QStringLiteral("%1 overlaps %2")
                                  .arg(shown[i]->metaObject()->className(),
                                       shown[j]->metaObject()->className());
    }
    for (const QWidget* label :
         {static_cast<QWidget*>(f.DRLabel2), static_cast<QWidget*>(f.DRLabel3)})
        if (!f.ChessBrd1->geometry().contains(label->geometry()))
            faults << QStringLiteral("a pause label shows beside the board");
    return faults;
}

// Every control's bounds, to compare layouts.
inline QList<QRect> Bounds(const TForm1& f) {
    QList<QRect> list;
    for (const QWidget* w : f.Client()->findChildren<QWidget*>()) list << w->geometry();
    return list;
}

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline char PieceOn(const TChessBrd& b, Square sq) {
    return b.Position().at(size_t(sq) - 1);
}

} // namespace qvtest
