#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

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
enum BatchExit { BatchDone = 0, BatchEnded = 1, BatchBadUsage = 2 };

// Reads the arguments (without the program name). `defaultFolder` is used
// when --folder is not given. Nothing, with `error` set, for bad usage.
std::optional<BatchOptions> parseBatchArguments(const QStringList& arguments,
                                                const QString& defaultFolder, QString* error);

QString batchUsage();

// Runs start-up without a window (a failed connection is answered No), the
// login check, then the operation; every box goes to `out` as a JSON line.
BatchExit runBatch(const BatchOptions& options, std::FILE* out = stdout);

}  // namespace korvex
