// The colours the windows share, by their names in the classic 16-colour palette.
#pragma once

#include <QColor>

namespace qv::colours {

inline const QColor Black(0, 0, 0);
inline const QColor Maroon(128, 0, 0);
inline const QColor Navy(0, 0, 128);
inline const QColor Teal(0, 128, 128);
inline const QColor Gray(128, 128, 128);
inline const QColor Silver(192, 192, 192);
inline const QColor Blue(0, 0, 255);
inline const QColor Yellow(255, 255, 0);
inline const QColor White(255, 255, 255);

} // namespace qv::colours
