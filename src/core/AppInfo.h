#pragma once

#include <QString>

namespace korvex {

// The program's own title, the main window's caption before the term is
// known, and the title the About dialog shows.
inline QString appTitle() { return QStringLiteral("KORVEX小幫手Zamo高中版"); }

// Major, minor and revision joined by ".", e.g. "1.0.0".
inline QString versionText() {
    return QStringLiteral("%1.%2.%3")
        .arg(KORVEX_VERSION_MAJOR)
        .arg(KORVEX_VERSION_MINOR)
        .arg(KORVEX_VERSION_PATCH);
}

// The settings file and the start-up log, both in the program folder.
inline QString settingsFileName() { return QStringLiteral("ASSISTANT.INI"); }
inline QString startupLogName() { return QStringLiteral("ASSISTANT.LOG"); }

}  // namespace korvex
