#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace korvex {

// One program per program folder: korvex-assistant and korvex-batch hold the
// lock file ASSISTANT.LCK in the folder for as long as they run, so that two
// copies never change exam.mdb or the workbooks at the same time. A lock left
// by a program that no longer runs on this computer (killed, or before a
// restart) is taken over.
class FolderLock {
public:
    enum class Outcome {
        Locked,       // this program holds the folder now
        InUse,        // another running program holds it
        NotWritable,  // the lock file cannot be created: read-only or full folder
    };

    explicit FolderLock(const QString& folder);
    ~FolderLock();

    Outcome lock();
    bool isLocked() const;

    // What the user is told when the folder could not be locked: which
    // program holds it, on which computer, or why the folder cannot be written.
    QString message() const;

    static QString lockFileName() { return QStringLiteral("ASSISTANT.LCK"); }

private:
    QString m_folder;
    std::unique_ptr<QLockFile> m_file;
    Outcome m_outcome = Outcome::NotWritable;
    QString m_why;
};

}  // namespace korvex
