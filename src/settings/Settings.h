#pragma once

#include <QString>
#include <cstdint>

namespace korvex {

// The settings held in memory for the program's life: one field per key of
// section SCHOOL of ASSISTANT.INI. Passwords are held in plain text; only the
// file holds their scrambled form.
struct Settings {
    QString server = QStringLiteral("localhost");     // SERVER
    QString databaseName = QStringLiteral("school");  // DATABASENAME
    QString user = QStringLiteral("sa");              // USER
    QString password;                                 // PASSWD (plain)
    QString year = QStringLiteral("94");              // SYEAR
    QString semester = QStringLiteral("1");           // SSEMESTER
    QString examNo = QStringLiteral("0");             // SEXAMNO
    QString examName;                                 // SEXAMNAME
    std::uint8_t vocational = 0;                      // SVOCATION: 0 high school, else vocational
    std::int16_t dedicatedOperator = 0;  // SINGLE: above 0, one operator grades every paper
    std::uint8_t admSysType = 1;         // ADMSYSTYPE
    QString adminPassword = QStringLiteral("5820");  // ADMPASSWD (plain)
};

// The term and exam as the window title and every exam message name them:
// school year, "學年第", semester, "學期" and the exam name, with no
// separator before the name ("94學年第1學期期中考").
inline QString termText(const Settings& settings) {
    return settings.year + QStringLiteral("學年第") + settings.semester + QStringLiteral("學期") +
           settings.examName;
}

}  // namespace korvex
