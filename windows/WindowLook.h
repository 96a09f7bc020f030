// Fonts, sizes and pictures shared by the secondary windows and the splash screen.
#pragma once

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

class QFrame;
class QRect;
class QWidget;

namespace qv {

// The windows' fonts, sized in pixels as designed at 96 dots per inch. The designed
// faces are replaced by metric-compatible free ones: "Arial" and "MS Sans Serif" by
// Liberation Sans, "Courier New" by Liberation Mono.
QFont ArialFont(int pixelSize, bool bold = false);
QFont SansSerifFont(int pixelSize, bool bold = false);

// Client size of a framed window whose designed outer size is given (the designed
// sizes include a title bar and borders of a classic desktop).
QSize ClientSizeForOuter(int outerWidth, int outerHeight);

// Reads an embedded (or any) JPEG file and decodes it. A picture that cannot be
// read or decoded gives a null image; the windows then show their plain background.
QImage LoadWindowPicture(const QString& path, QString* error = nullptr);

// A raised panel with a one-pixel bevel at the given bounds of its parent.
QFrame* MakePanel(QWidget* parent, const QRect& bounds);

// Moves a top-level window so that it stands in the middle of its screen.
void CentreOnScreen(QWidget* window);

// Call before showing a dialog modally: while another shown window stays above all others
// (the diagram window), the dialog stays on top too, so that it opens above that window
// instead of behind it; otherwise it stacks normally. Only a hidden dialog is changed.
void KeepAboveStayOnTopWindows(QWidget* dialog);

} // namespace qv
