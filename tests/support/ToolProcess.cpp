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

ToolRun runTool(const QString& tool, const QStringList& arguments, const ToolOptions& options) {
    QElapsedTimer timer;
    timer.start();
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : options.withoutEnvironment) environment.remove(name);
    for (const auto& [name, value] : options.environment) environment.insert(name, value);
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(KORVEX_BUILD_DIR "/") + tool, arguments);
    EXPECT_TRUE(process->waitForStarted(10000)) << tool.toStdString();
    process->write(options.input);
    process->closeWriteChannel();
    if (!process->waitForFinished(options.timeoutMs)) {
        ADD_FAILURE() << tool.toStdString()
                      << " did not end: " << arguments.join(u' ').toStdString();
        killHard(*process);
    }
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

QStringList loginArguments(const QString& folder, const QString& user, const QString& password) {
    return {QStringLiteral("--folder"),   folder,  QStringLiteral("--user"), user,
            QStringLiteral("--password"), password};
}

QStringList batchArguments(const QString& folder, const QString& operation,
                           const QStringList& extra) {
    return loginArguments(folder, QStringLiteral("admin"), QStringLiteral("admin")) +
           QStringList{operation} + extra;
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
