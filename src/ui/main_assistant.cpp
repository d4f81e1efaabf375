#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "core/AppInfo.h"
#include "core/ProgramFolder.h"
#include "ui/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(korvex::versionText());

    QCommandLineParser parser;
    parser.setApplicationDescription(korvex::appTitle());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption folderOption(QStringLiteral("folder"),
                                          QStringLiteral("程式資料夾 (預設為程式所在的資料夾)"),
                                          QStringLiteral("DIR"));
    parser.addOption(folderOption);
    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "korvex-assistant: %s\n%s", qUtf8Printable(parser.errorText()),
                     qUtf8Printable(parser.helpText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();

    korvex::MainWindow window;
    const QString folder =
        korvex::programFolder(parser.value(folderOption), QCoreApplication::applicationDirPath());
    if (window.start(folder) == korvex::Startup::Result::Ended) return 0;
    return app.exec();
}
