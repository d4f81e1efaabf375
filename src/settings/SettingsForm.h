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

    // Opened by start-up after a failed connection: the exam names are not
    // read yet, and only the database fields can be edited. Saving then keeps
    // the stored name of the exam already chosen (its item reads only "1."
    // to "6."), where from the menu the chosen item's name is stored as it
    // stands, empty when the school gives that exam no name.
    void setStartUpOpening() { m_startUpOpening = true; }

    // A message for the user when a value of a field the user can edit could
    // not be stored in the settings file as it is (a character outside the
    // file's code page, a password without a scrambled form); empty when all
    // can. A value the user cannot change, such as an exam name from the
    // school database, is stored the way the old program stored it instead.
    QString storageProblem(const SettingsFormState& state, const Settings& current) const;

    // Takes the controls into the settings held in memory, as saving does.
    void take(const SettingsFormState& state, Settings& settings) const;

    // Writes every key to the settings file; false when it could not be written.
    static bool save(const QString& iniPath, Settings& settings);

private:
    QStringList m_examItems;
    bool m_startUpOpening = false;
};

}  // namespace korvex
