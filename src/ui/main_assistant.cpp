#include <QApplication>
#include <QCoreApplication>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
// after windows.h, whose types it uses
#include <shellapi.h>
#endif

#include "core/AppInfo.h"
#include "core/QtTranslation.h"
#include "ui/AppSetup.h"
#include "ui/AssistantCommandLine.h"
#include "ui/RunAssistant.h"

namespace {

// The arguments after the program's name. Windows hands main() its ANSI
// code page's bytes, in which a folder name with other characters is lost;
// the command line is read as Unicode there instead.
QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
#ifdef _WIN32
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) arguments << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
    }
#else
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
#endif
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
