#pragma once

#include <QString>
#include <QStringList>

#include "db/DbError.h"

namespace korvex {

// The ODBC drivers the driver manager lists, by name (empty when the list
// cannot be read).
QStringList installedOdbcDrivers();

// The SQL Server drivers of Windows, best first: the newest of Microsoft's
// own, then the old Native Client, then "SQL Server", which every Windows
// carries.
QStringList sqlServerDriverPreference();
// The first installed of those; "SQL Server" when none is listed.
QString chooseSqlServerDriver(const QStringList& installed);

// The Access drivers: the Access Database Engine's (32 or 64 bits, opens
// .mdb and .accdb), then the Jet driver that 32-bit Windows carries.
QStringList accessDriverPreference();
// The first installed of those; empty when none is.
QString chooseAccessDriver(const QStringList& installed);

// Where and as whom to log in to SQL Server.
struct SqlServerLogin {
    QString server;
    QString database;
    QString user;
    QString password;
};

// The ODBC connection string for SQL Server through one of Microsoft's
// drivers, every value brace-quoted.
QString sqlServerConnectionString(const SqlServerLogin& login, const QString& driver);

// The driver named by a connection string's Driver= part, without braces.
QString odbcDriverOf(const QString& connectionString);

// The failure of an Access file that no installed driver can open; start-up
// shows it, since nothing can be done without the driver.
DbError missingAccessDriverError(const QString& file);
bool isMissingDriverError(const DbError& error);

}  // namespace korvex
