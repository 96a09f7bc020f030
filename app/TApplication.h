// The trainer's application object: title, font mapping and the last-resort error box.
#pragma once

#include <QApplication>

namespace qv {

// QApplication that shows any exception escaping an event handler in the "QRVNE"
// error box and carries on, and maps the window fonts to the installed free fonts.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Maps "Arial", "Courier New" and "MS Sans Serif" to metric-compatible free fonts.
    // Called by the constructor; tests that use a plain QApplication call it too.
    static void InstallFontSubstitutions();
};

} // namespace qv
