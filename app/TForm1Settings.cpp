// What the main window remembers between runs, and File > Recent files.
#include "app/ErrorBox.h"
#include "app/PuzzleConversion.h"
#include "app/TForm1.h"
#include "app/TListBox.h"
#include "app/TrainerSettings.h"
#include "board/ui/TChessBrd.h"
#include "windows/TForm3.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStatusBar>

namespace qv {

void TForm1::UseSettings(TrainerSettings* settings) {
    settings_ = nullptr; // nothing is written while the remembered values are applied
    if (!settings) return;
    const TrainerPreferences p = settings->Load();
    if (settings->WasCorrupt())
        StatusBar1->showMessage(
            QStringLiteral("The settings file %1 could not be read; the defaults are used.")
                .arg(QDir::toNativeSeparators(settings->Path())));

    preferredWhiteOnTop_ = p.WhiteOnTop;
    ChessBrd1->SetWhiteOnTop(p.WhiteOnTop);
    ChessBrd1->SetBoardLines(p.BoardLines);
    CoordsShown = p.Coordinates;
    ChessBrd1->SetDisplayCoords(CoordsShown ? AllCoords : CoordSet(0));
    ChessBrd1->SetSquareColorLight(p.LightSquares);
    ChessBrd1->SetSquareColorDark(p.DarkSquares);
    const int set = ComboBox1->findText(p.PieceSet, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (set >= 0) ComboBox1->setCurrentIndex(set);
    CheckBox1->setChecked(p.Sound);
    SetTrainingChoice(p.Training);
    if (form3_) form3_->SetEngineProgram(p.EngineProgram);
    if (!p.Geometry.isEmpty()) restoreGeometry(p.Geometry);
    recentFiles_ = WithRecentFile(p.RecentFiles, openFile_); // a file named on the command line
    UpdateRecentMenu();

    settings_ = settings;
    RestoreLastProblem(p);
    RememberSettings();
}

// The last problem file, when no other was named on the command line, and in it the
// problem selected last.
void TForm1::RestoreLastProblem(const TrainerPreferences& p) {
    if (p.LastFile.isEmpty()) return;
    // A file named on the command line (perhaps still being converted) comes first.
    if (!g_.ProblemFileOpen && !Conversion->Running()) {
        if (!QFileInfo(p.LastFile).isFile()) {
            recentFiles_.removeAll(p.LastFile);
            UpdateRecentMenu();
            StatusBar1->showMessage(QStringLiteral("The problem file %1 was not found.")
                                        .arg(QDir::toNativeSeparators(p.LastFile)));
            return;
        }
        try {
            OpenProblemFile(p.LastFile);
        } catch (...) {
            ShowCurrentException();
            return;
        }
    }
    const QString last = QFileInfo(p.LastFile).absoluteFilePath();
    if (Conversion->Running() && Conversion->Source() == last) {
        pendingProblem_ = p.LastProblem; // selected once the collection is listed
        return;
    }
    if (openFile_ != last || p.LastProblem.isEmpty()) return;
    const int row = ListBox1->FindEntry(p.LastProblem);
    if (row < 0) return;
    ListBox1->setCurrentRow(row);
    ListBox1->scrollTo(ListBox1->model()->index(row, 0));
    ListBox1Click();
}

TrainerPreferences TForm1::CurrentPreferences() const {
    TrainerPreferences p;
    p.WhiteOnTop = preferredWhiteOnTop_;
    p.BoardLines = ChessBrd1->BoardLines();
    p.Coordinates = CoordsShown;
    p.LightSquares = ChessBrd1->SquareColorLight();
    p.DarkSquares = ChessBrd1->SquareColorDark();
    const int set =
        ComboBox1->findText(ComboBox1->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (set >= 0) p.PieceSet = ComboBox1->itemText(set);
    p.Sound = CheckBox1->isChecked();
    p.Training = TrainingChoice();
    p.Geometry = saveGeometry();
    p.LastFile = openFile_;
    if (!openFile_.isEmpty() && g_.ProblemFileOpen)
        p.LastProblem = QString::fromStdString(g_.ProblemTitle);
    p.RecentFiles = recentFiles_;
    if (form3_) p.EngineProgram = form3_->EngineProgram();
    return p;
}

void TForm1::RememberSettings() {
    if (!settings_) return;
    QString error;
    if (settings_->Save(CurrentPreferences(), &error)) {
        settingsFailed_ = false;
    } else if (!settingsFailed_) {
        // Training goes on; the status bar says it once.
        settingsFailed_ = true;
        StatusBar1->showMessage(error);
    }
}

void TForm1::OpenProblemFile(const QString& name) {
    if (PuzzleConversion::IsPuzzleFile(name)) {
        OpenPuzzleFile(name);
        return;
    }
    // Another file chosen while a collection is being converted: that conversion stops.
    pendingProblem_.clear();
    if (Conversion->Running()) {
        Conversion->Cancel();
        ShowConversion(false);
    }
    ListProblemFile(name, QFileInfo(name).absoluteFilePath());
    recentFiles_ = WithRecentFile(recentFiles_, openFile_);
    UpdateRecentMenu();
    RememberSettings();
}

// Lists the problems of the file readFrom under the name standsFor (the file itself, or
// the puzzle collection a cached conversion came from), after the open problem has been
// left and recorded.
void TForm1::ListProblemFile(const QString& readFrom, const QString& standsFor) {
    AbandonProblem(); // recorded against the file it belongs to
    ListBox1->clear();
    FilterEdit1->clear();
    StatusBar1->clearMessage();
    openFile_.clear();
    digests_.clear();
    digestsRead_ = false;
    UpdateProgress();
    const std::vector<std::string> entries = flow_.ReadProblems(readFrom.toStdString());
    openFile_ = standsFor;
    ListProblems(entries, standsFor);
    UpdateProgress();
}

void TForm1::OpenRecentFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        // A file that has gone is taken off the list; a word in the status bar says so.
        recentFiles_.removeAll(path);
        UpdateRecentMenu();
        RememberSettings();
        StatusBar1->showMessage(
            QStringLiteral("%1 no longer exists; it has been removed from the recent files.")
                .arg(QDir::toNativeSeparators(path)));
        return;
    }
    StatusBar1->clearMessage();
    OpenProblemFile(path);
}

void TForm1::UpdateRecentMenu() {
    RecentFiles1->clear();
    for (int i = 0; i < recentFiles_.size(); ++i) {
        const QString path = recentFiles_.at(i);
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = RecentFiles1->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        a->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        connect(a, &QAction::triggered, this, Guarded([this, path] { OpenRecentFile(path); }));
    }
    RecentFiles1->setEnabled(!recentFiles_.isEmpty());
}

} // namespace qv
