// The turn sound: a short, soft pop as a wave file.
#pragma once

#include <QByteArray>

namespace qv::artgen {

// A complete RIFF/WAVE file: 16-bit mono PCM at 22050 Hz, about 60 ms long.
QByteArray PopSoundWav();

} // namespace qv::artgen
