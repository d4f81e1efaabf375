#pragma once

#include <QString>

namespace korvex {

// One failure of a database call, as the connection records it.
struct DbError {
    QString text;        // the engine's or driver's message
    QString nativeCode;  // SQLite result code, ODBC native error number
    // A lock or busy conflict that goes away by itself: the open of a result
    // set is tried again on such a failure.
    bool retryable = false;
};

}  // namespace korvex
