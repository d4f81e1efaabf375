#pragma once

#include <QString>
#include <QStringList>

#include "settings/Settings.h"

namespace korvex {

// What the controls of the settings dialog hold, independent of widgets.
struct SettingsFormState {
    QString adminPassword;             // Text1
    QString year;                      // Text2
    int semesterItem = -1;             // Combo1, -1 when none is selected
    QString server;                    // Text3
    QString databaseName;              // Text4
    QString user;                      // Text5
    QString password;                  // Text6
    int examItem = -1;                 // Combo2, -1 when none is selected
    bool dedicatedOperator = false;    // Check1
    bool highSchoolClassCodes = true;  // Option1; false selects Option2 (vocational)
};

// The rules of the settings dialog: what each control shows of the settings
// held in memory, and what saving takes from the controls and writes.
class SettingsForm {
public:
    // `examNames` holds the exam names at indexes 1 to 6 (index 0 unused);
    // names not known yet are empty.
    explicit SettingsForm(const QStringList& examNames);

    static QStringList semesterItems();  // "1.第一學期", "2.第二學期"
    // "0.不啟用", then "1." to "6." each followed by that exam's name.
    const QStringList& examItems() const { return m_examItems; }

    // The controls as they show `settings`.
    SettingsFormState show(const Settings& settings) const;

    // A message for the user when some value could not be stored in the
    // settings file (a character outside the file's code page, a password
    // without a scrambled form); empty when all can.
    QString storageProblem(const SettingsFormState& state, const Settings& current) const;

    // Takes the controls into the settings held in memory, as saving does.
    void take(const SettingsFormState& state, Settings& settings) const;

    // Writes every key to the settings file; false when it could not be written.
    static bool save(const QString& iniPath, Settings& settings);

private:
    QStringList m_examItems;
};

}  // namespace korvex
