// The main window's side of the progress store: every attempt recorded as the problem
// ends or is left, the "N of M solved" count, File > Continue, the review of due
// problems and the Statistics window.
#include "app/Dialogs.h"
#include "app/ErrorBox.h"
#include "app/PuzzleConversion.h"
#include "app/TForm1.h"
#include "app/TListBox.h"
#include "progress/core/AttemptRecorder.h"
#include "progress/store/ProgressLocation.h"
#include "progress/store/SqliteProgressStore.h"
#include "windows/TStatisticsWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace qv {

namespace {

// How long a write waits for qvn or a second trainer holding the file; an attempt
// refused meanwhile is kept and written with the next one.
constexpr int kBusyTimeoutMs = 250;

std::uint64_t KeyOf(const ProblemPlay& play) {
    return ProblemIdentityKey(play.Label, play.Title, play.Outline.ScriptHash);
}

QString FileName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName();
}

constexpr int kMarkSize = 12;

// The index marks, by ProblemMark: a grey ring (not tried yet), a green tick (solved), a
// red cross (failed), drawn at twice the size for sharp high-density screens.
std::vector<QIcon> MarkIcons() {
    std::vector<QIcon> icons;
    for (ProblemMark mark : {ProblemMark::Untried, ProblemMark::Solved, ProblemMark::Failed}) {
        QPixmap pixmap(2 * kMarkSize, 2 * kMarkSize);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(2, 2);
        switch (mark) {
        case ProblemMark::Untried:
            p.setPen(QPen(QColor(150, 150, 150), 1.2));
            p.drawEllipse(QRectF(3.5, 3.5, 5, 5));
            break;
        case ProblemMark::Solved: {
            p.setPen(QPen(QColor(30, 140, 50), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QPainterPath tick;
            tick.moveTo(2, 6.5);
            tick.lineTo(5, 9.5);
            tick.lineTo(10.5, 2.5);
            p.drawPath(tick);
            break;
        }
        case ProblemMark::Failed:
            p.setPen(QPen(QColor(200, 40, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(3, 3), QPointF(9, 9));
            p.drawLine(QPointF(9, 3), QPointF(3, 9));
            break;
        }
        p.end();
        pixmap.setDevicePixelRatio(2);
        icons.emplace_back(pixmap);
    }
    return icons;
}

} // namespace

// A puzzle collection's problems are read from its conversion in the cache; their attempts
// belong to the collection itself, which is what the window lists and marks.
ProblemPlay TForm1::PlayWatcher::OfListedFile(const ProblemPlay& play) const {
    ProblemPlay keyed = play;
    if (PuzzleConversion::IsPuzzleFile(form_.openFile_)) keyed.File = form_.openFile_.toStdString();
    return keyed;
}

void TForm1::PlayWatcher::PlayStarted(const ProblemPlay& play) {
    form_.Progress();
    form_.recorder_->PlayStarted(OfListedFile(play));
}

void TForm1::PlayWatcher::PlayFinished(const ProblemPlay& play) {
    form_.Progress();
    const ProblemPlay keyed = OfListedFile(play);
    form_.recorder_->PlayFinished(keyed);
    form_.PlayRecorded(keyed);
}

void TForm1::CreateProgressControls() {
    // The count of solved problems keeps the right of the status bar; messages take the
    // left part, over the program's notice, and leave the count in sight.
    SolvedText = new QLabel(StatusBar1);
    SolvedText->setObjectName(QStringLiteral("SolvedText"));
    SolvedText->setContentsMargins(6, 0, 6, 0);
    SolvedText->setToolTip(QStringLiteral("Problems of this file solved at their latest attempt"));
    SolvedText->hide();
    StatusBar1->addPermanentWidget(SolvedText);
    // Each index entry shows whether it was solved, failed or not tried yet.
    ListBox1->Model()->SetMarkLook(
        MarkIcons(),
        {QStringLiteral("not tried yet"), QStringLiteral("solved"), QStringLiteral("failed")});
    ListBox1->setIconSize(QSize(kMarkSize, kMarkSize));
    watcher_ = std::make_unique<PlayWatcher>(*this);
    flow_.SetPlayListener(watcher_.get());
}

void TForm1::CreateProgressMenus() {
    Continue1 = new QAction(QStringLiteral("&Continue"), this);
    Continue1->setObjectName(QStringLiteral("Continue1"));
    Continue1->setStatusTip(QStringLiteral("Start the first problem of the file not yet solved"));
    Archivo1->insertAction(SAveremarks1, Continue1);
    Archivo1->insertSeparator(SAveremarks1);
    connect(Continue1, &QAction::triggered, this, Guarded([this] { Continue1Click(); }));

    // Review and Statistics work across every problem file, so they get a menu of their
    // own rather than a place under File, which acts on the open file.
    Review1 = new QMenu(QStringLiteral("&Review"), this);
    Review1->setObjectName(QStringLiteral("Review1"));
    menuBar()->insertMenu(Ayuda1->menuAction(), Review1);
    ReviewDue1 = Review1->addAction(QStringLiteral("Review &due problems"));
    ReviewDue1->setObjectName(QStringLiteral("ReviewDue1"));
    ReviewDue1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(ReviewDue1, &QAction::triggered, this, Guarded([this] { ReviewDue1Click(); }));
    Statistics1 = Review1->addAction(QStringLiteral("&Statistics..."));
    Statistics1->setObjectName(QStringLiteral("Statistics1"));
    connect(Statistics1, &QAction::triggered, this, Guarded([this] { Statistics1Click(); }));
}

ProgressStore& TForm1::Progress() {
    if (!progress_) {
        SqliteProgressStore::Options options;
        options.Path = ProgressFilePath();
        options.BusyTimeoutMs = kBusyTimeoutMs;
        progress_ = std::make_unique<SqliteProgressStore>(options);
        recorder_ = std::make_unique<AttemptRecorder>(*progress_, clock_);
        TellProgressNotice();
    }
    return *progress_;
}

double TForm1::ClockSeconds() const {
    return Crono1.Elapsed();
}

void TForm1::AbandonProblem() {
    flow_.FinishPlay();
}

void TForm1::TellProgressNotice() {
    if (!progress_) return;
    // The store tells each fault once; training goes on whatever it says.
    const std::string notice = progress_->TakeNotice();
    if (!notice.empty()) StatusBar1->showMessage(QString::fromStdString(notice));
}

void TForm1::PlayRecorded(const ProblemPlay& play) {
    if (recorder_->LastOutcome() == AttemptRecorder::Outcome::Recorded) {
        UpdateProgress();
        if (Statistics && Statistics->isVisible()) Statistics->Refresh();
    }
    TellProgressNotice();
    if (reviewing_ && play.Ended && KeyOf(play) == reviewKey_) reviewDone_ = true;
}

const std::vector<ProblemDigest>& TForm1::Digests() {
    if (!digestsRead_ && g_.ProblemFileOpen) {
        digests_ = DigestProblems(g_.ProblemFile);
        digestsRead_ = true;
    }
    return digests_;
}

void TForm1::UpdateProgress() {
    const int entries = ListBox1->Model()->EntryCount();
    if (!g_.ProblemFileOpen || entries == 0 || openFile_.isEmpty()) {
        marks_.clear();
        SolvedText->hide();
        return;
    }
    // A file never tried needs no hashing of its scripts: every mark is "not tried yet".
    const std::vector<MarkRecord> records =
        Progress().MarksOfFile(ProblemFilePath(openFile_.toStdString()));
    if (records.empty())
        marks_.assign(std::size_t(entries), ProblemMark::Untried);
    else
        marks_ = MarkProblems(Digests(), records);
    if (int(marks_.size()) == ListBox1->Model()->EntryCount()) {
        std::vector<int> shown(marks_.size());
        std::transform(marks_.begin(), marks_.end(), shown.begin(),
                       [](ProblemMark m) { return int(m); });
        ListBox1->Model()->SetMarks(shown);
    }
    const auto solved = std::count(marks_.begin(), marks_.end(), ProblemMark::Solved);
    SolvedText->setText(QStringLiteral("%1 of %2 solved").arg(solved).arg(marks_.size()));
    SolvedText->setAccessibleName(SolvedText->text());
    SolvedText->show();
    TellProgressNotice();
}

void TForm1::Continue1Click() {
    if (!g_.ProblemFileOpen || marks_.empty()) {
        StatusBar1->showMessage(QStringLiteral("Read a problem file first."));
        return;
    }
    const auto next = std::find_if(marks_.begin(), marks_.end(),
                                   [](ProblemMark m) { return m != ProblemMark::Solved; });
    if (next == marks_.end()) {
        StatusBar1->showMessage(QStringLiteral("Every problem of this file is solved."));
        return;
    }
    SelectEntry(int(next - marks_.begin()));
}

void TForm1::SelectEntry(int fileRow) {
    // An entry that the filter hides is shown again with the whole list.
    if (ListBox1->Model()->RowOf(fileRow) < 0) FilterEdit1->clear();
    const int row = ListBox1->Model()->RowOf(fileRow);
    if (row < 0) return;
    ListBox1->setCurrentRow(row);
    ListBox1->scrollTo(ListBox1->model()->index(row, 0));
    ListBox1Click();
}

// ---------------------------------------------------------------- review

void TForm1::ReviewDue1Click() {
    // While a review is under way the menu goes on to the next due problem.
    if (reviewing_ && !reviewQueue_.empty()) {
        ReviewNext();
        return;
    }
    const std::vector<ProblemRecord> due = Progress().DueProblems(clock_.Today(), 0);
    TellProgressNotice();
    // The problems due now, each once: one failed again today waits for the next review.
    reviewQueue_.assign(due.begin(), due.end());
    reviewing_ = true;
    reviewShown_ = 0;
    reviewTotal_ = int(due.size());
    reviewSkipped_.clear();
    ReviewNext();
}

void TForm1::ReviewNext() {
    reviewDone_ = false;
    QStringList skipped;
    while (!reviewQueue_.empty()) {
        const ProblemRecord due = reviewQueue_.front();
        reviewQueue_.pop_front();
        const QString file = QString::fromStdString(due.Problem.File);
        if (!QFileInfo(file).isFile()) {
            skipped << QFileInfo(file).fileName();
            continue;
        }
        if (!g_.ProblemFileOpen || ProblemFilePath(openFile_.toStdString()) != due.Problem.File) {
            try {
                OpenProblemFile(file);
            } catch (...) {
                skipped << QFileInfo(file).fileName();
                continue;
            }
            if (Conversion->Running()) {
                // A puzzle collection being converted again: the review goes on once it is
                // listed (or without this problem if the conversion stops).
                reviewQueue_.push_front(due);
                reviewAfterConversion_ = true;
                return;
            }
        }
        // The same problem, or failing that (the file was edited) one of the same entry.
        const std::uint64_t key =
            ProblemIdentityKey(due.Problem.Label, due.Problem.Title, due.Problem.ScriptHash);
        const std::vector<ProblemDigest>& digests = Digests();
        auto it = std::find_if(digests.begin(), digests.end(),
                               [&](const ProblemDigest& d) { return d.Key == key; });
        if (it == digests.end())
            it = std::find_if(digests.begin(), digests.end(), [&](const ProblemDigest& d) {
                return d.Label == due.Problem.Label && d.Title == due.Problem.Title;
            });
        if (it == digests.end()) {
            skipped << QStringLiteral("%1 of %2")
                           .arg(QString::fromStdString(due.Problem.Label),
                                FileName(due.Problem.File));
            continue;
        }
        const int row = int(it - digests.begin());
        reviewKey_ = it->Key;
        ++reviewShown_;
        SelectEntry(row);
        reviewing_ = true; // the selection above keeps the review going
        reviewSkipped_ << skipped;
        QString text = QStringLiteral("Review: problem %1 of %2 due.")
                           .arg(reviewShown_ + reviewSkipped_.size())
                           .arg(reviewTotal_);
        if (!skipped.isEmpty())
            text +=
                QStringLiteral(" Not found, skipped: %1.").arg(skipped.join(QStringLiteral(", ")));
        StatusBar1->showMessage(text);
        return;
    }
    reviewing_ = false;
    reviewSkipped_ << skipped;
    if (!flow_.CurrentPlay()) BitBtn2->setEnabled(false); // the last one has ended
    QString text;
    if (reviewTotal_ == 0)
        text = QStringLiteral("Nothing is due for review today.");
    else if (reviewShown_ == 0)
        text = QStringLiteral("No due problem could be found.");
    else
        text = QStringLiteral("Review done: %1 of %2 due problems worked through.")
                   .arg(reviewShown_)
                   .arg(reviewTotal_);
    if (!reviewSkipped_.isEmpty())
        text += QStringLiteral(" Not found, skipped: %1.")
                    .arg(reviewSkipped_.join(QStringLiteral(", ")));
    StatusBar1->showMessage(text);
}

bool TForm1::ReviewNextOnNext() {
    if (!reviewDone_) return false;
    ReviewNext();
    return true;
}

// ---------------------------------------------------------------- statistics

void TForm1::Statistics1Click() {
    if (!Statistics) {
        Statistics = new TStatisticsWindow(Progress(), clock_, this);
        Statistics->setWindowFlag(Qt::Window);
        Statistics->AskExportName = [](QWidget* owner, const QString& suggested) {
            return Dialogs::Current().GetSaveFileName(owner, suggested);
        };
    }
    Statistics->Refresh();
    TellProgressNotice();
    Statistics->show();
    Statistics->raise();
    Statistics->activateWindow();
}

} // namespace qv
