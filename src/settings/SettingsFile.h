#pragma once

#include <QString>
#include <QStringList>

#include "settings/Settings.h"

namespace korvex {

class PrivateProfile;

// ASSISTANT.INI, section SCHOOL, kept with the Windows private-profile rules
// in code page 950.

// Creates the file with the defaults of a new file and sets `settings` to
// them (passwords in plain text in memory, scrambled in the file).
void createSettingsFile(const QString& path, Settings& settings);
// Reads the file; a missing key gives its default.
Settings readSettingsFile(const QString& path);
// Writes every key, as the settings dialog saves them; ADMSYSTYPE becomes 1
// in memory and in the file, nothing else in memory changes. A value the file
// cannot hold as it is is stored as the old program's ANSI profile call
// stored it (see ansiProfileText: '?' for a character outside code page 950).
// False, with the file left as it was, when the file could not be read or
// written or a password has no scrambled form.
bool saveSettingsFile(const QString& path, Settings& settings);

// The settings of `settings` that the file cannot hold as they are (a
// character outside code page 950, a line break, a password without a
// scrambled form), named by their keys in the order they are written; empty
// when all can.
QStringList settingsValueProblems(const Settings& settings);

// A value as the old program read it: the private-profile value (at most 254
// bytes) or the default, less its leading blanks.
QString StringFormINI(const QString& sectionName, const QString& keyName,
                      const QString& defaultValue, const QString& fileName);
QString StringFormINI(const PrivateProfile& profile, const QString& sectionName,
                      const QString& keyName, const QString& defaultValue);

// The number fields read leniently: the text's leading number rounded half
// to even; values beyond the field's range are clamped to it.
std::uint8_t settingsByte(const QString& text);
std::int16_t settingsShort(const QString& text);

}  // namespace korvex
