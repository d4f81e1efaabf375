#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "batch/BatchRun.h"

namespace korvex {

// What the command line may take from outside the arguments.
struct BatchEnvironment {
    QString defaultFolder;                          // used when --folder is not given
    std::optional<QString> passwordVariable;        // KORVEX_PASSWORD, when set
    std::function<QByteArray()> readStandardInput;  // for --password-file -
};

// The command line read: run the operation, print the help or the version,
// or refuse it (`error` says why).
struct BatchCommand {
    enum class Kind { Run, Help, Version, BadUsage };
    Kind kind = Kind::BadUsage;
    BatchOptions options;
    QString error;
};

// Reads the arguments (without the program name).
BatchCommand parseBatchCommand(const QStringList& arguments, const BatchEnvironment& environment);

// The short usage printed after a usage error, and the full help.
QString batchUsage();
QString batchHelp();

}  // namespace korvex
