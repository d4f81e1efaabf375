#pragma once

#include <QStringList>

class QApplication;

namespace korvex {

// What the desktop program sets up once its QApplication exists: Qt's own
// texts in Traditional Chinese, a font that has the characters in their
// Traditional Chinese forms, and the program's icon for every window.
void prepareApplication(QApplication& app);

// The fonts tried, in order, for characters the default font lacks: the
// system's Traditional Chinese UI font first.
QStringList chineseFallbackFamilies();

}  // namespace korvex
