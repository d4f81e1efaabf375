#pragma once

// Where the X server shows the top-left corner of `window`'s contents, in
// root-window coordinates; false when it cannot tell. Kept apart from the
// Qt code: Xlib's macros (None, Bool, Status) clash with Qt's names.
bool windowOrigin(void* display, unsigned long long window, int* x, int* y);
