#include <QApplication>
#include <QCoreApplication>
#include <cstdio>

#include "core/AppInfo.h"
#include "core/QtTranslation.h"
#include "ui/AppSetup.h"
#include "ui/AssistantCommandLine.h"
#include "ui/RunAssistant.h"

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
    // The command line is read before the window system is opened, so that
    // help, version and usage errors need no display.
    korvex::AssistantCommand command = korvex::parseAssistantCommand(argumentsOf(argc, argv));
    switch (command.kind) {
        case korvex::AssistantCommand::Kind::Help:
            std::fputs(qUtf8Printable(korvex::assistantHelp()), stdout);
            return 0;
        case korvex::AssistantCommand::Kind::Version:
            std::printf("korvex-assistant %s\n", qUtf8Printable(korvex::versionText()));
            return 0;
        case korvex::AssistantCommand::Kind::BadUsage: {
            // Read again with Qt's texts in Chinese, for the parser's own message.
            QCoreApplication app(argc, argv);
            korvex::installQtTranslation(app);
            command = korvex::parseAssistantCommand(argumentsOf(argc, argv));
            std::fprintf(stderr, "korvex-assistant: %s\n%s", qUtf8Printable(command.error),
                         qUtf8Printable(korvex::assistantUsage()));
            return 2;
        }
        case korvex::AssistantCommand::Kind::Run:
            break;
    }

    QApplication app(argc, argv);
    korvex::prepareApplication(app);
    return korvex::runAssistant(command.folder);
}
