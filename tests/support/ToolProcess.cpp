#include "ToolProcess.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>

namespace korvex::test {

QStringList ToolRun::texts() const {
    QStringList result;
    for (const QJsonObject& box : boxes) result << box.value(QStringLiteral("text")).toString();
    return result;
}

QString consoleLineEnd() {
#ifdef Q_OS_WIN
    return QStringLiteral("\r\n");
#else
    return QStringLiteral("\n");
#endif
}

std::unique_ptr<QProcess> startTool(const QString& tool, const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(KORVEX_BUILD_DIR "/") + tool, arguments);
    EXPECT_TRUE(process->waitForStarted(10000)) << tool.toStdString();
    return process;
}

ToolRun runTool(const QString& tool, const QStringList& arguments) {
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QProcess> process = startTool(tool, arguments);
    EXPECT_TRUE(process->waitForFinished(180000)) << tool.toStdString();
    ToolRun run;
    run.milliseconds = timer.elapsed();
    run.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    run.out = QString::fromUtf8(process->readAllStandardOutput());
    run.err = QString::fromUtf8(process->readAllStandardError());
    for (const QString& line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8());
        if (doc.isObject()) run.boxes << doc.object();
    }
    return run;
}

QStringList batchArguments(const QString& folder, const QString& operation,
                           const QStringList& extra) {
    return QStringList{QStringLiteral("--folder"),
                       folder,
                       QStringLiteral("--user"),
                       QStringLiteral("admin"),
                       QStringLiteral("--password"),
                       QStringLiteral("admin"),
                       operation} +
           extra;
}

void killHard(QProcess& process) {
    process.kill();  // SIGKILL on Unix
    process.waitForFinished(10000);
}

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files | QDir::Hidden)) {
        QFile::remove(QDir(to).filePath(name));
        EXPECT_TRUE(QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            << name.toStdString();
    }
}

}  // namespace korvex::test
