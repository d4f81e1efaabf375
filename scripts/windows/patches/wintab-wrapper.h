/* Wrapper: Debian's dfsg qtbase drops src/3rdparty/wintab; use Wine's wintab.h (libwine-dev). */
#ifndef QT_WINE_WINTAB_WRAPPER_H
#define QT_WINE_WINTAB_WRAPPER_H
#include <windows.h>
#ifndef WINELIB_NAME_AW
#ifdef UNICODE
#define WINELIB_NAME_AW(func) func##W
#else
#define WINELIB_NAME_AW(func) func##A
#endif
#endif
#ifndef DECL_WINELIB_TYPE_AW
#ifdef UNICODE
#define DECL_WINELIB_TYPE_AW(type) typedef type##W type;
#else
#define DECL_WINELIB_TYPE_AW(type) typedef type##A type;
#endif
#endif
#include "wine_wintab.h"
#ifndef API
#define API WINAPI
#endif
#endif
