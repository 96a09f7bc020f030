// The trainer's only way to show standard dialogs and message boxes, so that tests can
// replace them with scripted answers.
#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace qv {

// Standard dialogs and message boxes of the trainer. The program uses the Qt dialogs
// (QtDialogs); a test installs its own implementation with SetCurrent.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An open dialog; returns the chosen name, or an empty string on Cancel.
    virtual QString GetOpenFileName(QWidget* parent, const QString& directory,
                                    const QString& filter) = 0;
    // A save dialog offering `suggested`; returns the chosen name, or empty on Cancel.
    virtual QString GetSaveFileName(QWidget* parent, const QString& suggested) = 0;
    // A colour dialog starting from `initial`; returns the colour it ends with
    // (the initial one when the user cancels).
    virtual QColor GetColor(QWidget* parent, const QColor& initial) = 0;
    // A modal information box captioned "Information" with one OK button.
    virtual void Information(QWidget* parent, const QString& text) = 0;
    // A modal error box with the given caption.
    virtual void Error(QWidget* parent, const QString& caption, const QString& text) = 0;

    // The implementation in use; QtDialogs unless a test set another one.
    static Dialogs& Current();
    // Installs `dialogs` (not owned); nullptr goes back to the Qt dialogs.
    static void SetCurrent(Dialogs* dialogs);
};

} // namespace qv
