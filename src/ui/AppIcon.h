#pragma once

#include <QIcon>

namespace korvex {

// The program's own icon (an answer sheet with marked bubbles, checked),
// drawn from the SVG kept with the sources, at the sizes windows, title bars
// and the About box use.
QIcon appIcon();

}  // namespace korvex
