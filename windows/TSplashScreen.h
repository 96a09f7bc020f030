// TSplashScreen: the borderless window with the program's picture shown at start-up.
#pragma once

#include <QTimer>
#include <QWidget>

class QFrame;
class QLabel;

namespace qv {

// The splash window: 675 by 114 pixels without border, centred on the screen, a white
// panel with the program's picture stretched over it and a publisher's notice. Its
// timer starts when the splash is created and fires once after the minimum showing
// time (6 s); until then the splash refuses to close, so it stays up at least that
// long and, as the entry routine waits for it after creating the windows, at least
// until all windows exist.
class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    static constexpr int DefaultMinimumShowMs = 6000;

    explicit TSplashScreen(int minimumShowMs = DefaultMinimumShowMs, QWidget* parent = nullptr);

    // True exactly when the splash's timer has been disabled, i.e. the splash may close.
    bool FormCloseQuery() const;
    // The timer's handler: disables the timer.
    void Timer1Timer();
    // Shows the splash and paints it at once.
    void ShowNow();
    // Processes events, sleeping while there are none, until the splash may close.
    void WaitUntilMayClose();

    QFrame* Panel1;
    QLabel* Image1;
    QLabel* Label1; // the publisher's notice
    QTimer Timer1;

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace qv
