#pragma once

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>

class QProcess;

namespace korvex::test {

// One run of an executable of the build (korvex-batch, korvex-sample).
struct ToolRun {
    int exitCode = -1;  // -1 when it crashed or was killed
    QString out;
    QString err;
    QList<QJsonObject> boxes;  // korvex-batch's JSON lines
    qint64 milliseconds = 0;

    // The texts of the boxes, in order.
    QStringList texts() const;
    QString lastText() const { return texts().value(texts().size() - 1); }
};

// How the build's console programs end a printed line: "\r\n" on Windows,
// whose C runtime writes standard output and error in text mode, as the
// system's own console programs do; "\n" elsewhere.
QString consoleLineEnd();

// What a run gets besides its arguments.
struct ToolOptions {
    QList<QPair<QString, QString>> environment;  // added to the test's own
    QStringList withoutEnvironment;              // taken from it
    QByteArray input;                            // standard input, then closed
    int timeoutMs = 180000;                      // killed (and a failure) after it
};

// Runs `tool` of the build folder to its end.
ToolRun runTool(const QString& tool, const QStringList& arguments, const ToolOptions& options = {});

// korvex-batch's login options on `folder`.
QStringList loginArguments(const QString& folder, const QString& user, const QString& password);

// korvex-batch on `folder` as the sample school's administrator.
QStringList batchArguments(const QString& folder, const QString& operation,
                           const QStringList& extra = {});

// Starts `tool` without waiting for it.
std::unique_ptr<QProcess> startTool(const QString& tool, const QStringList& arguments);

// Kills the process as a power cut would (SIGKILL: nothing of it runs on).
void killHard(QProcess& process);

// Copies the files of folder `from` (not its subfolders) into `to`.
void copyFolder(const QString& from, const QString& to);

}  // namespace korvex::test
