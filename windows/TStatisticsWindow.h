// The Statistics window: the player's progress as charts and a table, and the export
// of every attempt as CSV.
#pragma once

#include "progress/core/Calendar.h"
#include "progress/core/ProgressStore.h"

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

class QBarSet;
class QChartView;
class QLineSeries;

namespace qv {

// A window of its own (not modal) over the progress store: problems attempted and
// solved on each of the last DaysShown days, accuracy and mean thinking time in each
// of the last WeeksShown weeks, and one table row per problem file. The store and the
// clock are not owned and outlive the window.
class TStatisticsWindow : public QDialog {
    Q_OBJECT
public:
    TStatisticsWindow(ProgressStore& store, const Clock& clock, QWidget* parent = nullptr);

    static constexpr int DaysShown = 28;
    static constexpr int WeeksShown = 8;

    // Reads the store again and redraws everything.
    void Refresh();
    // Writes every attempt to `path` as CSV (all or nothing); "" on success, else why not.
    QString ExportTo(const QString& path);
    // Export...: asks for a file name and writes it; the line under the table says how it went.
    void ExportButtonClick();

    // The save dialog: given the window and a suggested name, the chosen name or ""
    // on Cancel. A plain file dialog unless the owner sets another.
    std::function<QString(QWidget*, const QString&)> AskExportName;

    QLabel* Summary = nullptr; // totals: attempts, solved, today
    QChartView* DayChart = nullptr;
    QChartView* WeekChart = nullptr;
    QBarSet* AttemptedSet = nullptr; // per day, oldest first
    QBarSet* SolvedSet = nullptr;
    // Per week with attempts (x = the week's place, 0 the oldest): percent solved, and
    // the mean thinking time in seconds.
    QLineSeries* AccuracySeries = nullptr;
    QLineSeries* ThinkingSeries = nullptr;
    QTableWidget* FileTable = nullptr; // file, problems attempted, solved
    QLabel* ExportStatus = nullptr;
    QPushButton* ExportButton = nullptr;
    QPushButton* CloseButton = nullptr;

private:
    void FillDays(const std::vector<DayRecord>& days, int today);
    void FillWeeks(const std::vector<DayRecord>& days, int today);
    void FillFiles();

    ProgressStore& store_;
    const Clock& clock_;
};

} // namespace qv
