#include "ui/AssistantCommandLine.h"

#include <QCommandLineParser>

#include "core/AppInfo.h"

namespace korvex {

namespace {

// The options QGuiApplication and QApplication take for themselves. They
// are known here only so that they are not refused; Qt acts on them.
void addQtOptions(QCommandLineParser& parser) {
    const char* withValue[] = {"platform",
                               "platformpluginpath",
                               "platformtheme",
                               "plugin",
                               "qwindowgeometry",
                               "geometry",
                               "qwindowicon",
                               "icon",
                               "qwindowtitle",
                               "title",
                               "session",
                               "display",
                               "name",
                               "style",
                               "stylesheet",
                               "qmljsdebugger"};
    const char* flags[] = {"reverse", "widgetcount", "nograb", "dograb", "testability"};
    for (const char* name : withValue) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option{QString::fromLatin1(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

}  // namespace

QString assistantUsage() {
    return QStringLiteral(
        "用法: korvex-assistant [--folder DIR]\n"
        "詳細說明: korvex-assistant --help\n");
}

QString assistantHelp() {
    return QStringLiteral(
               "用法: korvex-assistant [--folder DIR]\n"
               "\n"
               "%1: 將校務行政系統的基本資料與考試名冊匯入電腦閱卷系統, 將閱卷成績匯回\n"
               "校務行政系統, 並產生教師登錄成績的 Excel 檔。\n"
               "\n"
               "選項:\n"
               "  --folder DIR   程式資料夾 (有 exam.mdb 的資料夾), 預設為程式所在的資料夾\n"
               "  -h, --help     顯示這份說明\n"
               "  -v, --version  顯示版本\n"
               "  另可使用 Qt 的視窗選項, 如 -platform、-style、-display。\n"
               "\n"
               "結束代碼:\n"
               "  0  以「結束離開」或關閉視窗結束\n"
               "  1  開啟程序結束了程式 (找不到 exam.mdb、無法連結校務行政資料庫、取消登入)\n"
               "  2  用法錯誤 (未知的選項); 不開啟視窗\n")
        .arg(appTitle());
}

AssistantCommand parseAssistantCommand(const QStringList& arguments) {
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption folder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
    QCommandLineParser parser;
    // Qt's options are words after one dash (-platform, -style).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({help, version, folder});
    addQtOptions(parser);

    AssistantCommand command;
    const bool parsed = parser.parse(QStringList{QStringLiteral("korvex-assistant")} + arguments);
    if (parser.isSet(help)) {
        command.kind = AssistantCommand::Kind::Help;
        return command;
    }
    if (!parsed) {
        command.kind = AssistantCommand::Kind::BadUsage;
        command.error = parser.errorText();
        return command;
    }
    if (parser.isSet(version)) {
        command.kind = AssistantCommand::Kind::Version;
        return command;
    }
    if (!parser.positionalArguments().isEmpty()) {
        command.kind = AssistantCommand::Kind::BadUsage;
        command.error =
            QStringLiteral("多餘的參數: ") + parser.positionalArguments().join(QLatin1Char(' '));
        return command;
    }
    if (parser.isSet(folder) && parser.value(folder).isEmpty()) {
        command.kind = AssistantCommand::Kind::BadUsage;
        command.error = QStringLiteral("--folder 必須指定資料夾");
        return command;
    }
    command.folder = parser.value(folder);
    return command;
}

}  // namespace korvex
