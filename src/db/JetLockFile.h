#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// Who has an Access database open, as Jet's lock file beside it tells: for
// exam.mdb the file exam.ldb (exam.laccdb for an .accdb), one 64-byte slot
// per user who opened it shared, the computer's name in the first 32 bytes
// and the account's in the next 32, both padded with zero bytes. Jet
// deletes the file when the last user closes the database, so a file that
// is left over names users who may have gone; it is read only to name them
// when the database could not be had.

// The lock file of `databaseFile` (found whatever its letter case); empty
// when there is none.
QString jetLockFileOf(const QString& databaseFile);

// The users the lock file names, "COMPUTER (account)" each, in slot order,
// each named once; empty when there is no lock file or it cannot be read.
QStringList jetLockHolders(const QString& databaseFile);

}  // namespace korvex
