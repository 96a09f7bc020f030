// The Qt implementation of the trainer's dialogs, and the switch between it and a test's.
#include "app/QtDialogs.h"

#include "windows/WindowLook.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>

namespace qv {

namespace {
Dialogs* g_current = nullptr;
} // namespace

Dialogs& Dialogs::Current() {
    static QtDialogs qtDialogs;
    return g_current ? *g_current : qtDialogs;
}

void Dialogs::SetCurrent(Dialogs* dialogs) {
    g_current = dialogs;
}

QString QtDialogs::GetOpenFileName(QWidget* parent, const QString& directory,
                                   const QString& filter) {
    // The filter is written "Name|pattern|Name|pattern"; Qt wants "Name (pattern)" lines.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList qtFilters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        qtFilters << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    QFileDialog dialog(parent, QString(), directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(qtFilters);
    if (!qtFilters.isEmpty()) dialog.selectNameFilter(qtFilters.first());
    KeepAboveStayOnTopWindows(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString QtDialogs::GetSaveFileName(QWidget* parent, const QString& suggested) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Replacing an existing file is confirmed (the dialog's standard question).
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")});
    if (!suggested.isEmpty()) dialog.selectFile(suggested);
    KeepAboveStayOnTopWindows(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QColor QtDialogs::GetColor(QWidget* parent, const QColor& initial) {
    QColorDialog dialog(initial, parent);
    KeepAboveStayOnTopWindows(&dialog);
    if (dialog.exec() != QDialog::Accepted) return initial;
    const QColor chosen = dialog.selectedColor();
    return chosen.isValid() ? chosen : initial;
}

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    // A short text ("Draw") would make the box so narrow that the window manager cuts
    // its caption: keep room for the caption and the title bar's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int wide = box.fontMetrics().horizontalAdvance(caption) + 160;
        grid->addItem(new QSpacerItem(wide, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    KeepAboveStayOnTopWindows(&box);
    box.exec();
}

} // namespace

void QtDialogs::Information(QWidget* parent, const QString& text) {
    ShowBox(parent, QMessageBox::Information, QStringLiteral("Information"), text);
}

void QtDialogs::Error(QWidget* parent, const QString& caption, const QString& text) {
    ShowBox(parent, QMessageBox::Critical, caption, text);
}

} // namespace qv
