#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <memory>

#include "db/Connection.h"
#include "ops/FolderLock.h"
#include "ops/MainWindowInterface.h"
#include "settings/Settings.h"

namespace korvex {

// What start-up creates and every operation shares until the window closes:
// the program folder, the settings, the exam names, the two connections and
// the main window the operations talk to.
struct AppContext {
    QString appPath;  // the program folder, without a trailing separator
    Settings settings;
    // Names of exams 1 to 10 (index 0 unused); 1 to 6 are read at start-up.
    QStringList examNames = QStringList(11);
    Connection school;
    bool schoolConnected = false;
    // Why the last school connection attempt failed (empty after success),
    // for the log: the attempt itself clears the connection's errors.
    QString schoolFailure;
    // The last attempt failed because another program holds the database.
    bool schoolBusy = false;
    Connection exam;
    // The program folder, held for the program's life (one program per folder).
    std::unique_ptr<FolderLock> folderLock;
    MainWindowInterface* window = nullptr;
    // The korvex-batch name of the operation running now ("roster"), set by
    // whoever starts it; it names the copies of exam.mdb taken before it.
    QString operationName;

    // A file of the program folder.
    QString filePath(const QString& name) const { return QDir(appPath).filePath(name); }
};

}  // namespace korvex
