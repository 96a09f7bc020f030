// Scripted stand-ins for the trainer's dialogs: answers are queued by the test, message
// boxes are recorded and close at once.
#pragma once

#include "app/Dialogs.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

namespace qvtest {

// Replaces the trainer's dialogs while it lives.
class FakeDialogs : public qv::Dialogs {
public:
    struct Box {
        QString caption;
        QString text;
    };

    FakeDialogs() { qv::Dialogs::SetCurrent(this); }
    ~FakeDialogs() override { qv::Dialogs::SetCurrent(nullptr); }

    QStringList openAnswers;     // names the open dialog returns, in turn ("" = Cancel)
    QStringList saveAnswers;     // names the save dialog returns, in turn ("" = Cancel)
    QList<QColor> colourAnswers; // colours chosen; an invalid colour means Cancel
    QStringList openDirectories, openFilters, saveSuggestions;
    QList<QColor> colourInitials;
    QList<Box> errors;
    QStringList infos;

    QString GetOpenFileName(QWidget*, const QString& directory, const QString& filter) override {
        openDirectories << directory;
        openFilters << filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString GetSaveFileName(QWidget*, const QString& suggested) override {
        saveSuggestions << suggested;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    QColor GetColor(QWidget*, const QColor& initial) override {
        colourInitials << initial;
        const QColor c = colourAnswers.isEmpty() ? QColor() : colourAnswers.takeFirst();
        return c.isValid() ? c : initial;
    }
    void Information(QWidget*, const QString& text) override { infos << text; }
    void Error(QWidget*, const QString& caption, const QString& text) override {
        errors << Box{caption, text};
    }
};

} // namespace qvtest
