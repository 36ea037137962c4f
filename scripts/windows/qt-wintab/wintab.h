/* Wine's tablet interface header, with the two Wine macros it relies on. */
#ifndef VT350_WINTAB_WRAPPER_H
#define VT350_WINTAB_WRAPPER_H
#ifndef WINELIB_NAME_AW
#  ifdef UNICODE
#    define WINELIB_NAME_AW(func) func##W
#  else
#    define WINELIB_NAME_AW(func) func##A
#  endif
#endif
#ifndef DECL_WINELIB_TYPE_AW
#  define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;
#endif
#ifndef API
#  define API WINAPI
#endif
#include "wine-wintab.h"
#endif
