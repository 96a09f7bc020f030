// The Statistics window: charts by day and by week, a table by file, CSV export.
#include "windows/TStatisticsWindow.h"

#include "progress/core/ProgressReports.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

namespace qv {

namespace {

// "12-09" for a day: the charts' categories.
QString ShortDay(int day) {
    return QString::fromStdString(DayText(day)).mid(5);
}

QChartView* MakeChartView(const QString& title, QWidget* parent) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* view = new QChartView(chart, parent);
    view->setAccessibleName(title);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(300, 220);
    return view;
}

// A value axis from 0 to at least `top`, with whole numbers at its ticks.
QValueAxis* CountAxis(double top, const QString& title) {
    auto* axis = new QValueAxis;
    const int whole = std::max(1, int(std::ceil(top)));
    axis->setRange(0, whole);
    if (whole <= 6)
        axis->setTickCount(whole + 1); // one tick per unit
    else
        axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setTitleText(title);
    return axis;
}

QFont SmallerFont(QFont font) {
    font.setPointSizeF(std::max(6.0, font.pointSizeF() - 1));
    return font;
}

} // namespace

TStatisticsWindow::TStatisticsWindow(ProgressStore& store, const Clock& clock, QWidget* parent)
    : QDialog(parent), store_(store), clock_(clock) {
    setObjectName(QStringLiteral("StatisticsWindow"));
    setWindowTitle(QStringLiteral("Statistics"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(false);

    Summary = new QLabel(this);
    Summary->setObjectName(QStringLiteral("Summary"));
    Summary->setWordWrap(true);

    DayChart = MakeChartView(QStringLiteral("Problems per day"), this);
    DayChart->setObjectName(QStringLiteral("DayChart"));
    WeekChart = MakeChartView(QStringLiteral("Accuracy and thinking time per week"), this);
    WeekChart->setObjectName(QStringLiteral("WeekChart"));

    FileTable = new QTableWidget(0, 3, this);
    FileTable->setObjectName(QStringLiteral("FileTable"));
    FileTable->setHorizontalHeaderLabels(
        {QStringLiteral("Problem file"), QStringLiteral("Attempted"), QStringLiteral("Solved")});
    FileTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FileTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    FileTable->verticalHeader()->hide();
    FileTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    FileTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    FileTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    FileTable->setMinimumHeight(90);

    ExportStatus = new QLabel(this);
    ExportStatus->setObjectName(QStringLiteral("ExportStatus"));
    ExportStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ExportButton = new QPushButton(QStringLiteral("&Export CSV..."), this);
    ExportButton->setObjectName(QStringLiteral("ExportButton"));
    ExportButton->setToolTip(QStringLiteral("Write every recorded attempt to a CSV file"));
    CloseButton = new QPushButton(QStringLiteral("&Close"), this);
    connect(ExportButton, &QPushButton::clicked, this, [this] { ExportButtonClick(); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    auto* charts = new QHBoxLayout;
    charts->addWidget(DayChart, 1);
    charts->addWidget(WeekChart, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ExportStatus, 1);
    buttons->addWidget(ExportButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Summary);
    layout->addLayout(charts, 3);
    layout->addWidget(FileTable, 1);
    layout->addLayout(buttons);
    resize(900, 620);

    AskExportName = [](QWidget* owner, const QString& suggested) {
        return QFileDialog::getSaveFileName(owner, QStringLiteral("Export attempts"), suggested,
                                            QStringLiteral("CSV files (*.csv);;All files (*)"));
    };
    Refresh();
}

void TStatisticsWindow::Refresh() {
    const int today = clock_.Today();
    // One query serves both charts: the weeks reach further back than the days.
    const int first = today - std::max(DaysShown, 7 * WeeksShown) + 1;
    const std::vector<DayRecord> recent = store_.Days(first);
    FillDays(recent, today);
    FillWeeks(recent, today);
    FillFiles();

    int attempts = 0, solved = 0;
    for (const DayRecord& d : store_.Days(0)) {
        attempts += d.Attempts;
        solved += d.Solved;
    }
    int todayAttempts = 0, todaySolved = 0;
    if (!recent.empty() && recent.back().Day == today) {
        todayAttempts = recent.back().Attempts;
        todaySolved = recent.back().Solved;
    }
    Summary->setText(attempts == 0
                         ? QStringLiteral("No attempts recorded yet. Work through a problem and "
                                          "it appears here.")
                         : QStringLiteral("%1 recorded, %2 solved (%3%). Today: %4 "
                                          "attempted, %5 solved.")
                               .arg(attempts == 1 ? QStringLiteral("1 attempt")
                                                  : QStringLiteral("%1 attempts").arg(attempts))
                               .arg(solved)
                               .arg(std::lround(100.0 * solved / attempts))
                               .arg(todayAttempts)
                               .arg(todaySolved));
}

void TStatisticsWindow::FillDays(const std::vector<DayRecord>& days, int today) {
    std::map<int, const DayRecord*> byDay;
    for (const DayRecord& d : days) byDay[d.Day] = &d;

    QChart* chart = DayChart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    AttemptedSet = new QBarSet(QStringLiteral("Attempted"));
    SolvedSet = new QBarSet(QStringLiteral("Solved"));
    AttemptedSet->setColor(QColor(0x4a, 0x78, 0xb0));
    SolvedSet->setColor(QColor(0x3c, 0xa0, 0x50));
    double top = 0;
    const int first = today - DaysShown + 1;
    for (int day = first; day <= today; ++day) {
        const auto it = byDay.find(day);
        const int a = it == byDay.end() ? 0 : it->second->Attempts;
        const int s = it == byDay.end() ? 0 : it->second->Solved;
        *AttemptedSet << a;
        *SolvedSet << s;
        top = std::max(top, double(a));
    }
    auto* series = new QBarSeries;
    series->append(AttemptedSet);
    series->append(SolvedSet);
    chart->addSeries(series);
    // Day i of the chart stands at x = i; one label per week, since a label per day
    // would not fit.
    auto* x = new QCategoryAxis;
    x->setRange(-0.5, DaysShown - 0.5);
    for (int start = 0; start < DaysShown; start += 7)
        x->append(ShortDay(first + start), std::min(start + 7, DaysShown) - 0.5);
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    x->setLabelsFont(SmallerFont(x->labelsFont()));
    x->setTitleText(QStringLiteral("Week from"));
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    QValueAxis* y = CountAxis(top, QStringLiteral("Problems"));
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
}

void TStatisticsWindow::FillWeeks(const std::vector<DayRecord>& days, int today) {
    const std::vector<WeekRecord> weeks = WeeklyRecords(days, today, WeeksShown);
    QChart* chart = WeekChart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    AccuracySeries = new QLineSeries;
    AccuracySeries->setName(QStringLiteral("Accuracy (%)"));
    ThinkingSeries = new QLineSeries;
    ThinkingSeries->setName(QStringLiteral("Mean thinking time (s)"));
    AccuracySeries->setPointsVisible(true);
    ThinkingSeries->setPointsVisible(true);
    double longest = 0;
    for (std::size_t i = 0; i < weeks.size(); ++i) {
        const WeekRecord& w = weeks[i];
        if (w.Attempts == 0) continue; // no point where there is nothing to measure
        AccuracySeries->append(double(i), 100.0 * w.Accuracy());
        ThinkingSeries->append(double(i), w.MeanThinkingSeconds());
        longest = std::max(longest, w.MeanThinkingSeconds());
    }
    chart->addSeries(AccuracySeries);
    chart->addSeries(ThinkingSeries);
    // Week i stands at x = i; every other week is labelled with its first day, under its point.
    auto* x = new QCategoryAxis;
    x->setRange(-0.5, double(weeks.size()) - 0.5);
    x->setStartValue(-0.5);
    for (std::size_t i = weeks.size() % 2 ? 0 : 1; i < weeks.size(); i += 2)
        x->append(ShortDay(weeks[i].FirstDay), double(i));
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    x->setLabelsFont(SmallerFont(x->labelsFont()));
    x->setTitleText(QStringLiteral("Week from"));
    chart->addAxis(x, Qt::AlignBottom);
    AccuracySeries->attachAxis(x);
    ThinkingSeries->attachAxis(x);
    auto* percent = new QValueAxis;
    percent->setRange(0, 100);
    percent->setLabelFormat(QStringLiteral("%d%%"));
    percent->setTitleText(QStringLiteral("Accuracy"));
    chart->addAxis(percent, Qt::AlignLeft);
    AccuracySeries->attachAxis(percent);
    QValueAxis* seconds = CountAxis(longest, QStringLiteral("Seconds"));
    chart->addAxis(seconds, Qt::AlignRight);
    ThinkingSeries->attachAxis(seconds);
}

void TStatisticsWindow::FillFiles() {
    const std::vector<FileRecord> files = store_.Files();
    FileTable->setRowCount(int(files.size()));
    for (int row = 0; row < int(files.size()); ++row) {
        const FileRecord& f = files[std::size_t(row)];
        const QString path = QDir::toNativeSeparators(QString::fromStdString(f.File));
        auto* name = new QTableWidgetItem(path);
        name->setToolTip(path);
        auto* attempted = new QTableWidgetItem(QString::number(f.Attempted));
        auto* solved = new QTableWidgetItem(QString::number(f.Solved));
        attempted->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        solved->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        FileTable->setItem(row, 0, name);
        FileTable->setItem(row, 1, attempted);
        FileTable->setItem(row, 2, solved);
    }
}

QString TStatisticsWindow::ExportTo(const QString& path) {
    std::ostringstream out;
    WriteAttemptsCsv(out, store_.Attempts());
    const std::string text = out.str();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit())
        return QStringLiteral("Could not write %1: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

void TStatisticsWindow::ExportButtonClick() {
    const QString name = AskExportName(this, QStringLiteral("quorvane-attempts.csv"));
    if (name.isEmpty()) return;
    const QString error = ExportTo(name);
    ExportStatus->setText(
        error.isEmpty() ? QStringLiteral("Exported to %1.").arg(QDir::toNativeSeparators(name))
                        : error);
}

} // namespace qv
