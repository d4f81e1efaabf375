#include "x11_origin.h"

#include <X11/Xlib.h>

bool windowOrigin(void* display, unsigned long long window, int* x, int* y) {
    auto* x11 = static_cast<Display*>(display);
    ::Window child = 0;
    return x11 && XTranslateCoordinates(x11, ::Window(window), DefaultRootWindow(x11), 0, 0, x, y,
                                        &child) != 0;
}
