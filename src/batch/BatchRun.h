#pragma once

#include <QString>
#include <cstdio>

#include "ops/MainWindowInterface.h"

namespace korvex {

// What korvex-batch was asked to do.
struct BatchOptions {
    QString folder;  // the program folder
    QString user;
    QString password;
    QString operation;  // "startup", "departments", ...
    MainWindowInterface::Answer answer = MainWindowInterface::Answer::Cancel;
    QString teachers;
    QString from;  // restore: the copy of exam.mdb to put back
};

// Exit statuses of korvex-batch.
enum BatchExit {
    BatchDone = 0,      // the operation ran to its end without an error or a warning
    BatchEnded = 1,     // start-up or the login ended the program
    BatchBadUsage = 2,  // the command line was wrong; nothing ran
    BatchWarned = 3,    // the operation ran to its end after an error or a warning
};

// Runs start-up without a window (a failed connection is answered No), the
// login check, then the operation; every box goes to `out` as a JSON line.
// Done or Warned when the operation ran, Ended when start-up or the login
// ended the program.
BatchExit runBatch(const BatchOptions& options, std::FILE* out = stdout);

}  // namespace korvex
