#pragma once

#include <QString>

#include "settings/Settings.h"

namespace korvex {

struct AppContext;

// The ODBC connection string for the school's SQL Server, values brace-quoted
// so that a password with ';' or '}' works (FreeTDS on Linux, the system's
// SQL Server driver on Windows).
QString SchoolConnectionString(const Settings& settings);

// Opens the school connection from the settings: SERVER "sqlite" (any case)
// opens the SQLite file DATABASENAME relative to the program folder, anything
// else SQL Server through ODBC. Command time-out 15 seconds.
bool openSchoolConnection(AppContext& context);

// Opens exam.mdb of the program folder (found whatever the case of its name),
// choosing the engine by the file's first bytes; command time-out 1 second.
bool openExamConnection(AppContext& context);
// exam.mdb in the program folder whatever the case of its name; empty when none.
QString findExamDatabase(const QString& appPath);

// Opens the school connection, probes it, sets context.schoolConnected, and
// on success takes the current term from z_system. Never shows a message.
void LoadTermContext(AppContext& context);

// The window title (term, exam, edition) and the two exam menu items.
void BuildMainTitle(AppContext& context);

// Adds and fills the department and class short-code columns of the school
// database, in the class-code mode of the settings.
void prepareShortCodes(AppContext& context);

// Writes the two workbook templates (scorep.xls, scoret.xls) into the program
// folder, replacing what is there. False (with a reason) when a file cannot
// be deleted or written.
bool writeWorkbookTemplates(const QString& appPath, QString* error = nullptr);

}  // namespace korvex
