#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QDialog;
class QWidget;

namespace korvex {

// Makes a dialog behave like a Windows dialog: its size is the one its
// layout asks for and cannot be changed, its title bar has only the close
// button, and each time it opens it is centred on the window it belongs to
// (on the screen when that window is not shown yet).
void makeFixedDialog(QDialog* dialog);

// Centres `window` on its parent's window, or on the screen when there is
// none or it is not shown; used for dialogs and for the main window itself.
void centreWindow(QWidget* window);

// The top-left corner of a frame of `size` centred on `anchor`, moved so
// that it stays inside `available` (the screen's free area) where it fits.
QPoint centredPosition(QSize size, const QRect& anchor, const QRect& available);

}  // namespace korvex
