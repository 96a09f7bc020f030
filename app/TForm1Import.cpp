// Puzzle collections in the main window: File > Read problems on a PGN, EPD or puzzle CSV
// file converts it on a worker thread, with a progress bar and a Cancel button in the
// status bar, and lists the converted problems as any problem file.
#include "app/ErrorBox.h"
#include "app/PuzzleConversion.h"
#include "app/TForm1.h"
#include "app/TListBox.h"
#include "app/TrainerSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProgressBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>

#include <utility>

namespace qv {

namespace {

QString Shown(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

void TForm1::CreateImportControls() {
    ImportCacheDir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                     QStringLiteral("/puzzles");
    Conversion = new PuzzleConversion(this);
    connect(Conversion, &PuzzleConversion::Progress, this,
            [this](int permille) { ImportProgress1->setValue(permille); });
    connect(Conversion, &PuzzleConversion::Finished, this,
            Guarded([this](const ConversionResult& r) { ConversionFinished(r); }));

    ImportProgress1 = new QProgressBar(StatusBar1);
    ImportProgress1->setObjectName(QStringLiteral("ImportProgress1"));
    ImportProgress1->setRange(0, 1000);
    ImportProgress1->setTextVisible(false);
    ImportProgress1->setFixedSize(160, 13);
    ImportProgress1->setAccessibleName(QStringLiteral("Conversion progress"));
    // Small enough for the status bar's height.
    ImportCancel1 = new QToolButton(StatusBar1);
    ImportCancel1->setText(QStringLiteral("Cancel"));
    ImportCancel1->setObjectName(QStringLiteral("ImportCancel1"));
    ImportCancel1->setFixedHeight(15);
    ImportCancel1->setToolTip(
        QStringLiteral("Stops converting; the open problems stay as they are"));
    connect(ImportCancel1, &QToolButton::clicked, this, Guarded([this] { ImportCancel1Click(); }));
    StatusBar1->addPermanentWidget(ImportProgress1);
    StatusBar1->addPermanentWidget(ImportCancel1);
    ShowConversion(false);
}

void TForm1::ShowConversion(bool shown) {
    ImportProgress1->setValue(0);
    ImportProgress1->setVisible(shown);
    ImportCancel1->setVisible(shown);
}

void TForm1::OpenPuzzleFile(const QString& name) {
    pendingProblem_.clear();
    ConversionResult r;
    // A collection converted before, and not changed since, opens at once.
    if (!PuzzleConversion::FromCache(name, ImportCacheDir, r) &&
        !Conversion->Start(name, ImportCacheDir, r)) {
        ShowConversion(false);
        ShowErrorBox(r.Message);
        return;
    }
    if (r.Kind == ConversionResult::Converted) {
        if (Conversion->Running()) Conversion->Cancel();
        ShowConversion(false);
        ListConvertedFile(r);
        return;
    }
    // The open problems stay usable while the collection is converted.
    ShowConversion(true);
    StatusBar1->showMessage(QStringLiteral("Converting %1 ...").arg(Shown(name)));
}

void TForm1::ImportCancel1Click() {
    if (!Conversion->Running()) return;
    Conversion->Cancel();
    ShowConversion(false);
    StatusBar1->showMessage(
        QStringLiteral("Converting %1 was cancelled.").arg(Shown(Conversion->Source())));
}

void TForm1::ConversionFinished(const ConversionResult& r) {
    if (Conversion->Running()) return; // a newer conversion has started meanwhile
    ShowConversion(false);
    switch (r.Kind) {
    case ConversionResult::Cancelled:
    case ConversionResult::Failed:
        pendingProblem_.clear();
        if (r.Kind == ConversionResult::Failed) {
            StatusBar1->clearMessage();
            ShowErrorBox(r.Message);
        }
        // A review that waited for this collection goes on without its problem.
        if (std::exchange(reviewAfterConversion_, false) && !reviewQueue_.empty()) {
            reviewQueue_.pop_front();
            ReviewNext();
        }
        break;
    case ConversionResult::Converted:
        ListConvertedFile(r);
        break;
    }
}

void TForm1::ListConvertedFile(const ConversionResult& r) {
    // The collection's own path stands for the problems: the recent files, the settings
    // and the progress records name it, not the cache.
    ListProblemFile(r.CacheFile, r.Source);
    const QLocale locale;
    QString text = QStringLiteral("%1: %2 of %3 records imported")
                       .arg(Shown(r.Source), locale.toString(qlonglong(r.Imported)),
                            locale.toString(qlonglong(r.Records)));
    if (r.Skipped > 0)
        text += QStringLiteral(", %1 skipped").arg(locale.toString(qlonglong(r.Skipped)));
    if (r.Truncated)
        text += QStringLiteral(" (the first part only: the whole file is too large to open; "
                               "qvn import can pick a part)");
    StatusBar1->showMessage(text + QLatin1Char('.'));
    recentFiles_ = WithRecentFile(recentFiles_, openFile_);
    UpdateRecentMenu();
    RememberSettings();

    // A review that waited for this collection goes on with it.
    if (std::exchange(reviewAfterConversion_, false)) {
        pendingProblem_.clear();
        ReviewNext();
        return;
    }
    const QString pending = std::exchange(pendingProblem_, QString());
    const int row = pending.isEmpty() ? -1 : ListBox1->FindEntry(pending);
    if (row < 0) return;
    ListBox1->setCurrentRow(row);
    ListBox1->scrollTo(ListBox1->model()->index(row, 0));
    ListBox1Click();
}

} // namespace qv
