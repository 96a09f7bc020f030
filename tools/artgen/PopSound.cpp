// Synthesis of the pop: a sine whose pitch falls quickly, with a soft attack and a fast decay.
#include "tools/artgen/PopSound.h"

#include <QtEndian>

#include <cmath>
#include <numbers>

namespace qv::artgen {
namespace {

void Put16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void Put32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

QByteArray PopSoundWav() {
    constexpr int rate = 22050;
    constexpr double seconds = 0.060;
    const int n = static_cast<int>(rate * seconds);

    QByteArray samples;
    double phase = 0.0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        // Pitch glides from 1100 Hz down towards 420 Hz: the "drop" of a pop.
        const double freq = 420.0 + 680.0 * std::exp(-t / 0.010);
        phase += 2.0 * std::numbers::pi * freq / rate;
        const double attack = std::min(1.0, t / 0.0015);          // 1.5 ms, no click at the start
        const double decay = std::exp(-t / 0.012);                // fades out within the 60 ms
        const double tail = std::min(1.0, (seconds - t) / 0.005); // silent last sample
        const double v = 0.45 * attack * decay * tail * std::sin(phase);
        Put16(samples, static_cast<quint16>(static_cast<qint16>(std::lround(v * 32767.0))));
    }

    QByteArray wav;
    wav.append("RIFF", 4);
    Put32(wav, static_cast<quint32>(36 + samples.size()));
    wav.append("WAVE", 4);
    wav.append("fmt ", 4);
    Put32(wav, 16);       // size of the format chunk
    Put16(wav, 1);        // PCM
    Put16(wav, 1);        // mono
    Put32(wav, rate);     // samples per second
    Put32(wav, rate * 2); // bytes per second
    Put16(wav, 2);        // bytes per sample frame
    Put16(wav, 16);       // bits per sample
    wav.append("data", 4);
    Put32(wav, static_cast<quint32>(samples.size()));
    wav.append(samples);
    return wav;
}

} // namespace qv::artgen
