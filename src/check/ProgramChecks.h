#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

class CheckReport;
struct AppContext;

// The program itself: version, build, its folder (writable, free space,
// held by this program alone).
void checkProgram(const AppContext& context, CheckReport& report);

// The ODBC drivers installed, the one each database is opened with and
// whether the Access driver fits this build's bitness.
void checkDrivers(const AppContext& context, CheckReport& report);

// Which build this is, as the user names it: "Windows 32 位元版",
// "Windows 64 位元版", "Linux 版".
QString buildName();

// What the Access driver question comes to for a build of `bits` bits on
// Windows with the drivers `installed`: empty when an Access driver of the
// build's bitness is installed, otherwise what to install instead.
QString accessDriverAdvice(int bits, const QStringList& installed);

}  // namespace korvex
