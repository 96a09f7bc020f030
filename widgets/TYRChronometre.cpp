// Accumulation and formatting of the stopwatch's time.
#include "widgets/TYRChronometre.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace qv {

TYRChronometre::TYRChronometre(Clock clock)
    : FClock(clock ? std::move(clock) : Clock(&TYRChronometre::MonotonicMilliseconds)) {}

qint64 TYRChronometre::MonotonicMilliseconds() {
    static const QElapsedTimer origin = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return origin.elapsed();
}

void TYRChronometre::Reset() {
    FAccumulated = 0.0;
    FRunning = false;
}

void TYRChronometre::Start() {
    if (FRunning) return;
    FStartedAt = FClock();
    FRunning = true;
}

void TYRChronometre::Stop() {
    if (!FRunning) return;
    FAccumulated = Elapsed();
    FRunning = false;
}

double TYRChronometre::Elapsed() const {
    if (!FRunning) return FAccumulated;
    // A clock that went backwards adds nothing rather than taking time away.
    const qint64 ran = qMax<qint64>(0, FClock() - FStartedAt);
    return FAccumulated + static_cast<double>(ran) / 1000.0;
}

QString TYRChronometre::FormatTime(double seconds) {
    if (!(seconds > 0.0)) seconds = 0.0; // also catches NaN
    seconds = std::min(seconds, 1e12);   // keeps the conversion below in range
    // Whole hundredths, truncated (a clock shows the time that has fully passed); the
    // small allowance keeps values such as 1.15 from reading as 1.14.
    const auto hundredths = static_cast<qint64>(std::floor(seconds * 100.0 + 1e-6));
    const qint64 totalSeconds = hundredths / 100;
    const auto two = [](qint64 v) {
        return QString::number(v).rightJustified(2, QLatin1Char('0'));
    };
    return two(totalSeconds / 3600) + QLatin1Char(':') + two(totalSeconds / 60 % 60) +
           QLatin1Char(':') + two(totalSeconds % 60) + QLatin1Char('.') + two(hundredths % 100);
}

} // namespace qv
