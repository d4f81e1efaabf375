#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace korvex::test {

// Runs a program of the machine the tests run on and gives back what it
// printed. The programs are Linux ones (python3 with xlrd reads back the
// workbooks we write); when the test executables are Windows programs under
// Wine, they are still started on the Linux side, on the Linux paths of the
// files given with hostPath().
struct HostResult {
    bool finished = false;  // ran to its end within the time allowed
    int exitCode = -1;
    QByteArray output;  // standard output
    QByteArray errors;  // standard error, or why the program could not be run
};
HostResult runHostCommand(const QString& program, const QStringList& arguments,
                          int timeoutMs = 60000);

// Whether the tests run as Windows programs under Wine.
bool underWine();

// The path of a file as the machine's own programs and drivers see it: under
// Wine the Linux path of a Windows one; elsewhere the path itself.
QString hostPath(const QString& path);

}  // namespace korvex::test
