#pragma once

#include <QString>

#include "TestFolder.h"

namespace korvex::test {

// A program folder that start-up can run through: exam.mdb, a school
// database with a current term, one account and exam names, and
// ASSISTANT.INI pointing at the school (SERVER=sqlite).
struct ShellFolderOptions {
    bool withExam = true;
    bool withSchool = true;
    bool withSettings = true;
    QString databaseName = QStringLiteral("school.sqlite");  // what the settings name
    QString examNo = QStringLiteral("3");
    QString examName = QStringLiteral("期中考");
    int vocational = 0;
};

void makeShellFolder(TestFolder& folder, const ShellFolderOptions& options = {});

// Writes ASSISTANT.INI as the settings dialog saves it.
void writeSettings(TestFolder& folder, const QString& databaseName, const QString& examNo,
                   const QString& examName, int vocational = 0);

}  // namespace korvex::test
