#pragma once

// The ODBC API's headers where the system has them; KORVEX_HAVE_ODBC_HEADERS
// says whether it does.
#if __has_include(<sqlext.h>)
#ifdef _WIN32
// The ODBC headers use Windows' types without including their header.
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>
#define KORVEX_HAVE_ODBC_HEADERS 1
#endif
