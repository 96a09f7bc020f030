// TYRChronometre: a stopwatch that accumulates running time across starts and stops.
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace qv {

// A stopwatch: Reset clears it, Start and Stop run and halt it (each ignored when it
// is already in that state), Elapsed gives the accumulated seconds plus, while running,
// the seconds since the last start. The time source is a millisecond counter that can
// be replaced (tests pass a fake one); by default it is a monotonic clock, so changes
// of the system clock or of daylight-saving time do not disturb a running stopwatch.
class TYRChronometre {
public:
    using Clock = std::function<qint64()>; // milliseconds from any fixed origin

    explicit TYRChronometre(Clock clock = {});

    void Reset();
    void Start();
    void Stop();
    bool Running() const { return FRunning; }

    // Seconds counted so far.
    double Elapsed() const;

    // The elapsed time as hours ":" minutes ":" seconds "." hundredths, each part with
    // at least two digits, the hours with as many as needed ("00:01:05.25").
    QString FormatElapsed() const { return FormatTime(Elapsed()); }
    // The same format for any number of seconds (negative counts as zero).
    static QString FormatTime(double seconds);

    // The default time source.
    static qint64 MonotonicMilliseconds();

private:
    Clock FClock;
    double FAccumulated = 0.0; // seconds of the finished runs
    qint64 FStartedAt = 0;     // clock reading at the last start
    bool FRunning = false;
};

} // namespace qv
