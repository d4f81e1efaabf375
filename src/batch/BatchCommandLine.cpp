#include "batch/BatchCommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>

#include "core/FileErrors.h"
#include "menu/OperationTable.h"

namespace korvex {

namespace {

// Every operation korvex-batch knows, in the order of the menus.
QStringList operationNames() {
    QStringList names;
    for (const OperationEntry& entry : operationTable()) names << entry.batchName;
    return names;
}

QString operationDescription(const OperationEntry& entry) {
    QString text = entry.plainName;
    // The roster question and the workbook prompt have no sensible answer of
    // their own, and a copy to put back must be named: a script gives them.
    if (const QString option = requiredOption(entry); !option.isEmpty())
        text += QStringLiteral(" (必須給 --%1)").arg(option);
    return text;
}

// The first line of a password file or of standard input, without its line
// end and without the byte-order mark some editors write.
QString firstLine(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    const qsizetype end = bytes.indexOf('\n');
    if (end >= 0) bytes.truncate(end);
    if (bytes.endsWith('\r')) bytes.chop(1);
    return QString::fromUtf8(bytes);
}

BatchCommand badUsage(const QString& error) {
    BatchCommand command;
    command.kind = BatchCommand::Kind::BadUsage;
    command.error = error;
    return command;
}

}  // namespace

QString batchUsage() {
    return QStringLiteral(
               "用法: korvex-batch [--folder DIR] --user NAME (--password TEXT | --password-file "
               "FILE|-) OPERATION [--answer yes|no|cancel] [--teachers TEXT] [--from FILE]\n"
               "OPERATION: %1\n"
               "詳細說明: korvex-batch --help\n")
        .arg(operationNames().join(QStringLiteral(", ")));
}

QString batchHelp() {
    QString operations;
    for (const OperationEntry& entry : operationTable())
        operations += QStringLiteral("  %1%2\n")
                          .arg(entry.batchName.leftJustified(13, QLatin1Char(' ')),
                               operationDescription(entry));
    return QStringLiteral(
               "用法: korvex-batch [--folder DIR] --user NAME (--password TEXT | --password-file "
               "FILE|-)\n"
               "                   OPERATION [--answer yes|no|cancel] [--teachers TEXT] "
               "[--from FILE]\n"
               "\n"
               "不開視窗執行小幫手的一項作業: 先執行與視窗版相同的開啟程序 "
               "(無法連結校務行政資料庫時\n"
               "回答「否」, 程式結束), 再以登入對話框的規則檢查帳號與密碼, 然後執行 OPERATION。\n"
               "\n"
               "OPERATION:\n"
               "%1"
               "\n"
               "選項:\n"
               "  --folder DIR          程式資料夾 (有 exam.mdb 的資料夾), 預設為 korvex-batch "
               "所在的資料夾\n"
               "  --user NAME           校務行政資料庫的使用者帳號, 權限須含 A\n"
               "  --password TEXT       密碼; 會出現在 ps 與命令歷史中, 建議改用 --password-file "
               "或\n"
               "                        環境變數 KORVEX_PASSWORD\n"
               "  --password-file FILE  密碼為檔案 FILE 的第一行; FILE 為 - "
               "時讀取標準輸入的第一行\n"
               "  --answer yes|no|cancel\n"
               "                        回答考試資料匯入的問題「選擇[是]清除所有資料重新轉入, "
               "選擇[否]更新資料,\n"
               "                        選擇[取消]離開」: yes 清除所有資料重新轉入, no 更新資料,\n"
               "                        cancel 離開 (不變更任何資料)\n"
               "  --teachers TEXT       回答產生教師登錄成績Excel檔時詢問的教師編號: All "
               "表示全部教師\n"
               "                        (不分大小寫); 以 % 結尾的是比對樣式, 如 C% 表示 C "
               "開頭的所有教師\n"
               "                        (_ 代表任一字元); 其他的是一位教師的編號\n"
               "  --from FILE           restore 要放回的考試資料庫備份, 如\n"
               "                        backup/exam-20261208-101500-roster.mdb\n"
               "  -h, --help            顯示這份說明\n"
               "  -v, --version         顯示版本\n"
               "\n"
               "環境變數:\n"
               "  KORVEX_PASSWORD       沒有 --password 與 --password-file 時使用的密碼\n"
               "\n"
               "輸出:\n"
               "  每個訊息框、問題與輸入框在標準輸出印成一行 JSON 物件 (UTF-8), 欄位依序為:\n"
               "    kind    \"message\" (訊息框), \"question\" (問題), \"input\" (輸入框)\n"
               "    icon    \"critical\" (錯誤), \"exclamation\" (警告), \"information\" (資訊),\n"
               "            \"question\", \"none\"\n"
               "    title   訊息框的標題 (主視窗的標題, 含學年學期與考試名稱)\n"
               "    text    訊息內容, 與視窗版的文字相同\n"
               "    answer  只有 question 與 input: 代為回答的 \"yes\"、\"no\"、\"cancel\" "
               "或輸入的文字\n"
               "  用法錯誤的說明印在標準錯誤輸出。\n"
               "\n"
               "結束代碼:\n"
               "  0  作業執行完畢, 沒有錯誤 (critical) 或警告 (exclamation) 訊息\n"
               "  3  作業執行完畢, 但出現過錯誤或警告訊息 (例如重複資料的報告、匯入失敗)\n"
               "  1  開啟程序或登入結束了程式 (找不到 exam.mdb、無法連結校務行政資料庫、登入失敗)\n"
               "  2  用法錯誤 (未知的選項或作業、缺少必要的選項或密碼); 不執行任何作業\n")
        .arg(operations);
}

namespace {

// The options the parser knows.
struct BatchParser {
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")}};
    QCommandLineOption folder{QStringLiteral("folder"), QString(), QStringLiteral("DIR")};
    QCommandLineOption user{QStringLiteral("user"), QString(), QStringLiteral("NAME")};
    QCommandLineOption password{QStringLiteral("password"), QString(), QStringLiteral("TEXT")};
    QCommandLineOption passwordFile{QStringLiteral("password-file"), QString(),
                                    QStringLiteral("FILE")};
    QCommandLineOption answer{QStringLiteral("answer"), QString(), QStringLiteral("yes|no|cancel")};
    QCommandLineOption teachers{QStringLiteral("teachers"), QString(), QStringLiteral("TEXT")};
    QCommandLineOption from{QStringLiteral("from"), QString(), QStringLiteral("FILE")};
    QCommandLineParser parser;

    BatchParser() {
        parser.addOptions(
            {help, version, folder, user, password, passwordFile, answer, teachers, from});
    }
};

// The password from --password, --password-file or the environment; the
// usage error otherwise.
QString readPassword(const BatchParser& p, const BatchEnvironment& environment,
                     BatchOptions& options) {
    if (p.parser.isSet(p.password) && p.parser.isSet(p.passwordFile))
        return QStringLiteral("--password 與 --password-file 只能擇一");
    if (p.parser.isSet(p.password)) {
        options.password = p.parser.value(p.password);
    } else if (p.parser.isSet(p.passwordFile)) {
        const QString file = p.parser.value(p.passwordFile);
        if (file == QLatin1String("-")) {
            options.password = firstLine(
                environment.readStandardInput ? environment.readStandardInput() : QByteArray());
        } else {
            QFile in(file);
            if (!in.open(QIODevice::ReadOnly))
                return QStringLiteral("無法讀取密碼檔 %1: %2")
                    .arg(QDir::toNativeSeparators(file), fileErrorText(in.errorString()));
            options.password = firstLine(in.readAll());
        }
    } else if (environment.passwordVariable) {
        options.password = *environment.passwordVariable;
    } else {
        return QStringLiteral(
            "缺少密碼: 請用 --password、--password-file 或環境變數 KORVEX_PASSWORD");
    }
    return QString();
}

// What the operation's questions are answered; the usage error otherwise.
QString readAnswers(const BatchParser& p, BatchOptions& options) {
    if (p.parser.isSet(p.answer)) {
        const QString value = p.parser.value(p.answer);
        if (value == QLatin1String("yes"))
            options.answer = MainWindowInterface::Answer::Yes;
        else if (value == QLatin1String("no"))
            options.answer = MainWindowInterface::Answer::No;
        else if (value == QLatin1String("cancel"))
            options.answer = MainWindowInterface::Answer::Cancel;
        else
            return QStringLiteral("--answer 只能是 yes、no 或 cancel");
    }
    if (p.parser.isSet(p.teachers) && p.parser.value(p.teachers).trimmed().isEmpty())
        return QStringLiteral("--teachers 必須指定教師編號、All 或比對樣式");
    options.teachers = p.parser.value(p.teachers);
    return QString();
}

// The one operation named, with what it needs; the usage error otherwise.
QString readOperation(const BatchParser& p, BatchOptions& options) {
    const QStringList positional = p.parser.positionalArguments();
    if (positional.isEmpty()) return QStringLiteral("沒有指定作業");
    if (positional.size() > 1)
        return QStringLiteral("只能指定一項作業: ") + positional.join(QLatin1Char(' '));
    const QString& operation = positional.first();
    const OperationEntry* entry = operationNamed(operation);
    if (!entry) return QStringLiteral("沒有這項作業: ") + operation;
    if (const QString option = requiredOption(*entry); !option.isEmpty() && !p.parser.isSet(option))
        return QStringLiteral("作業 %1 必須給 --%2").arg(operation, option);
    if (p.parser.isSet(p.from) && entry->needs != OperationNeeds::Copy)
        return QStringLiteral("--from 只用於 restore");
    if (p.parser.isSet(p.from) && p.parser.value(p.from).isEmpty())
        return QStringLiteral("--from 必須指定備份檔");
    options.from = p.parser.value(p.from);
    options.operation = operation;
    return QString();
}

}  // namespace

BatchCommand parseBatchCommand(const QStringList& arguments, const BatchEnvironment& environment) {
    BatchParser p;
    const bool parsed = p.parser.parse(QStringList{QStringLiteral("korvex-batch")} + arguments);
    // Asking for help is never a usage error, whatever else is on the line.
    if (p.parser.isSet(p.help)) return {BatchCommand::Kind::Help, {}, {}};
    if (!parsed) return badUsage(p.parser.errorText());
    if (p.parser.isSet(p.version)) return {BatchCommand::Kind::Version, {}, {}};

    BatchOptions options;
    options.folder = environment.defaultFolder;
    if (p.parser.isSet(p.folder)) {
        if (p.parser.value(p.folder).isEmpty())
            return badUsage(QStringLiteral("--folder 必須指定資料夾"));
        options.folder = QDir(p.parser.value(p.folder)).absolutePath();
    }
    if (!p.parser.isSet(p.user)) return badUsage(QStringLiteral("缺少 --user"));
    options.user = p.parser.value(p.user);

    for (const QString& error : {readPassword(p, environment, options), readAnswers(p, options),
                                 readOperation(p, options)})
        if (!error.isEmpty()) return badUsage(error);
    return {BatchCommand::Kind::Run, options, {}};
}

}  // namespace korvex
