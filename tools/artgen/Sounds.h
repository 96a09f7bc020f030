// The trainer's sounds as wave files: the turn's pop and the verdict's chime.
#pragma once

#include <QByteArray>

namespace qv::artgen {

// A complete RIFF/WAVE file: 16-bit mono PCM at 22050 Hz, about 60 ms long.
QByteArray PopSoundWav();

// The verdict on a move: two bell-like notes rising a fifth, about 300 ms, in the same
// format. Clearly other than the pop, so that a player tells the two apart unseen.
QByteArray VerdictSoundWav();

} // namespace qv::artgen
