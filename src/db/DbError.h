#pragma once

#include <QString>
#include <utility>

namespace korvex {

// One failure of a database call, as the connection records it.
struct DbError {
    // What the failure means for the user, as far as the engine tells it.
    enum class Kind {
        Other,
        Busy,      // another program holds a lock; it goes away by itself
        ReadOnly,  // the database cannot be written (file or folder read-only)
        Damaged,   // the file is not a database, or its content is corrupt
        DiskFull,  // the disk has no room for the change
    };

    DbError(QString message = QString(), QString code = QString(), Kind what = Kind::Other)
        : text(std::move(message)), nativeCode(std::move(code)), kind(what) {}

    QString text;        // the engine's or driver's message
    QString nativeCode;  // SQLite result code, ODBC native error number
    Kind kind = Kind::Other;

    // A lock or busy conflict: the open of a result set is tried again.
    bool retryable() const { return kind == Kind::Busy; }
};

// What an SQLite result code (primary or extended) means for the user.
DbError::Kind sqliteErrorKind(int code);

}  // namespace korvex
