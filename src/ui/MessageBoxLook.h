#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

#include "ops/MainWindowInterface.h"

namespace korvex {

// What the program's message boxes look like, shared by the plain box and
// the one for long texts.

// The standard icon for a box's icon.
QMessageBox::Icon messageBoxIcon(MainWindowInterface::Icon icon);

// The buttons of a box, in the order they stand.
QList<MainWindowInterface::Answer> answersOf(MainWindowInterface::Buttons buttons);

// A button's text in the program's language whatever translations the
// machine has, as on a Traditional Chinese Windows: 確定, 是(&Y), 否(&N), 取消.
QString buttonText(MainWindowInterface::Answer answer);

}  // namespace korvex
