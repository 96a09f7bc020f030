// The real dialogs of the trainer, built on QFileDialog, QColorDialog and QMessageBox.
#pragma once

#include "app/Dialogs.h"

namespace qv {

// Shows the platform's standard dialogs through Qt.
class QtDialogs : public Dialogs {
public:
    QString GetOpenFileName(QWidget* parent, const QString& directory,
                            const QString& filter) override;
    QString GetSaveFileName(QWidget* parent, const QString& suggested) override;
    QColor GetColor(QWidget* parent, const QColor& initial) override;
    void Information(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& caption, const QString& text) override;
};

} // namespace qv
