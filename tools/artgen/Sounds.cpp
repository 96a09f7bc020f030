// Synthesis of the sounds: the pop, a sine whose pitch falls quickly, with a soft attack and
// a fast decay; the verdict's chime, two notes with a few partials each, decaying like a bell.
#include "tools/artgen/Sounds.h"

#include <QtEndian>

#include <algorithm>
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

constexpr int kRate = 22050;

void PutSample(QByteArray& samples, double v) {
    Put16(samples, static_cast<quint16>(static_cast<qint16>(std::lround(v * 32767.0))));
}

// The samples in a RIFF/WAVE file: 16-bit mono PCM at kRate.
QByteArray WaveFile(const QByteArray& samples) {
    QByteArray wav;
    wav.append("RIFF", 4);
    Put32(wav, static_cast<quint32>(36 + samples.size()));
    wav.append("WAVE", 4);
    wav.append("fmt ", 4);
    Put32(wav, 16);        // size of the format chunk
    Put16(wav, 1);         // PCM
    Put16(wav, 1);         // mono
    Put32(wav, kRate);     // samples per second
    Put32(wav, kRate * 2); // bytes per second
    Put16(wav, 2);         // bytes per sample frame
    Put16(wav, 16);        // bits per sample
    wav.append("data", 4);
    Put32(wav, static_cast<quint32>(samples.size()));
    wav.append(samples);
    return wav;
}

} // namespace

QByteArray VerdictSoundWav() {
    constexpr double seconds = 0.300;
    constexpr double secondNote = 0.090; // the second note starts here
    const int n = static_cast<int>(kRate * seconds);
    // A struck note: fundamental with two softer partials, a 2 ms attack, decay over ~70 ms.
    const auto note = [](double t, double freq) {
        if (t < 0) return 0.0;
        const double attack = std::min(1.0, t / 0.002);
        const double decay = std::exp(-t / 0.070);
        const double w = 2.0 * std::numbers::pi * freq * t;
        return attack * decay * (std::sin(w) + 0.35 * std::sin(2 * w) + 0.12 * std::sin(3 * w));
    };
    QByteArray samples;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double tail = std::min(1.0, (seconds - t) / 0.010); // silent last sample
        const double v = 0.28 * tail * (note(t, 784.0) + note(t - secondNote, 1175.0));
        PutSample(samples, v);
    }
    return WaveFile(samples);
}

QByteArray PopSoundWav() {
    constexpr double seconds = 0.060;
    const int n = static_cast<int>(kRate * seconds);

    QByteArray samples;
    double phase = 0.0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        // Pitch glides from 1100 Hz down towards 420 Hz: the "drop" of a pop.
        const double freq = 420.0 + 680.0 * std::exp(-t / 0.010);
        phase += 2.0 * std::numbers::pi * freq / kRate;
        const double attack = std::min(1.0, t / 0.0015);          // 1.5 ms, no click at the start
        const double decay = std::exp(-t / 0.012);                // fades out within the 60 ms
        const double tail = std::min(1.0, (seconds - t) / 0.005); // silent last sample
        PutSample(samples, 0.45 * attack * decay * tail * std::sin(phase));
    }
    return WaveFile(samples);
}

} // namespace qv::artgen
