#pragma once

#include <QString>

#include "settings/Settings.h"

namespace korvex {

// ASSISTANT.INI, section SCHOOL, kept with the Windows private-profile rules
// in code page 950.

// Creates the file with the defaults of a new file and sets `settings` to
// them (passwords in plain text in memory, scrambled in the file).
void createSettingsFile(const QString& path, Settings& settings);
// Reads the file; a missing key gives its default.
Settings readSettingsFile(const QString& path);
// Writes every key, as the settings dialog saves them (ADMSYSTYPE becomes 1).
// False when the file could not be written; memory is unchanged either way.
bool saveSettingsFile(const QString& path, Settings& settings);

}  // namespace korvex
