#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "batch/BatchCommandLine.h"
#include "core/AppInfo.h"
#include "core/QtTranslation.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The command-line parser's own messages (an unknown option, a missing
    // value) in Chinese, like every other text.
    korvex::installQtTranslation(app);

    korvex::BatchEnvironment environment;
    environment.defaultFolder = QCoreApplication::applicationDirPath();
    if (qEnvironmentVariableIsSet("KORVEX_PASSWORD"))
        environment.passwordVariable = qEnvironmentVariable("KORVEX_PASSWORD");
    environment.readStandardInput = [] {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) return QByteArray();
        return in.readLine();
    };

    const korvex::BatchCommand command =
        korvex::parseBatchCommand(app.arguments().mid(1), environment);
    switch (command.kind) {
        case korvex::BatchCommand::Kind::Help:
            std::fputs(qUtf8Printable(korvex::batchHelp()), stdout);
            return korvex::BatchDone;
        case korvex::BatchCommand::Kind::Version:
            std::printf("korvex-batch %s\n", qUtf8Printable(korvex::versionText()));
            return korvex::BatchDone;
        case korvex::BatchCommand::Kind::BadUsage:
            std::fprintf(stderr, "korvex-batch: %s\n%s", qUtf8Printable(command.error),
                         qUtf8Printable(korvex::batchUsage()));
            return korvex::BatchBadUsage;
        case korvex::BatchCommand::Kind::Run:
            break;
    }
    return korvex::runBatch(command.options);
}
