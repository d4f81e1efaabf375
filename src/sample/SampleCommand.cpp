#include "sample/SampleCommand.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLocale>
#include <QMap>
#include <optional>

#include "core/AppInfo.h"
#include "core/ExamSlot.h"
#include "sample/SampleGrading.h"
#include "sample/SampleSchool.h"

namespace korvex {
namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct Parsed {
    QString command;
    QMap<QString, QString> values;  // option -> value ("" for a flag)
    QString problem;
};

// The options of both commands, and which of them each command takes.
Parsed parse(const QStringList& arguments) {
    Parsed p;
    const QStringList valued{QStringLiteral("folder"), QStringLiteral("students"),
                             QStringLiteral("seed"), QStringLiteral("exam")};
    QCommandLineParser parser;
    for (const QString& name : valued)
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    parser.addOption(QCommandLineOption(QStringLiteral("vocational")));
    if (!parser.parse(QStringList{QStringLiteral("korvex-sample")} + arguments)) {
        p.problem = parser.errorText();
        return p;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        p.problem = QStringLiteral("缺少指令 (create 或 grade)");
        return p;
    }
    p.command = positional.first();
    QStringList allowed;
    if (p.command == QLatin1String("create")) {
        allowed = {QStringLiteral("folder"), QStringLiteral("students"), QStringLiteral("seed"),
                   QStringLiteral("vocational")};
    } else if (p.command == QLatin1String("grade")) {
        allowed = {QStringLiteral("folder"), QStringLiteral("exam"), QStringLiteral("seed")};
    } else {
        p.problem = QStringLiteral("不明的指令: %1").arg(p.command);
        return p;
    }
    if (positional.size() > 1) {
        p.problem = QStringLiteral("不明的參數: %1").arg(positional.at(1));
        return p;
    }
    for (const QString& name : parser.optionNames()) {
        if (!allowed.contains(name)) {
            p.problem = QStringLiteral("不明的參數: --%1").arg(name);
            return p;
        }
        const QStringList values = parser.values(name);
        if (values.size() > 1) {
            p.problem = QStringLiteral("--%1 重複指定").arg(name);
            return p;
        }
        p.values.insert(QStringLiteral("--") + name, values.value(0));
    }
    if (p.values.value(QStringLiteral("--folder")).isEmpty())
        p.problem = QStringLiteral("缺少 --folder 資料夾");
    return p;
}

std::optional<qulonglong> number(const QString& text) {
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    if (!ok) return std::nullopt;
    return value;
}

int usageError(QTextStream& err, const QString& problem) {
    err << "korvex-sample: " << problem << "\n" << sampleUsage();
    err.flush();
    return kUsage;
}

int create(const Parsed& p, QTextStream& out, QTextStream& err) {
    SampleSchool::Options options;
    if (p.values.contains(QStringLiteral("--students"))) {
        const auto n = number(p.values[QStringLiteral("--students")]);
        if (!n)
            return usageError(err, QStringLiteral("--students 必須是整數: %1")
                                       .arg(p.values[QStringLiteral("--students")]));
        options.students = int(std::min<qulonglong>(*n, 1u << 30));
    }
    if (p.values.contains(QStringLiteral("--seed"))) {
        const auto s = number(p.values[QStringLiteral("--seed")]);
        if (!s)
            return usageError(err, QStringLiteral("--seed 必須是非負整數: %1")
                                       .arg(p.values[QStringLiteral("--seed")]));
        options.seed = *s;
    }
    options.vocational = p.values.contains(QStringLiteral("--vocational"));
    const QString folder = p.values[QStringLiteral("--folder")];
    SampleSchool::Counts counts;
    QString error;
    if (!SampleSchool::create(folder, options, &counts, &error)) {
        err << "korvex-sample: " << error << "\n";
        err.flush();
        return kFailed;
    }
    out << SampleSchool::summary(folder, options, counts) << "\n";
    out.flush();
    return kDone;
}

int grade(const Parsed& p, QTextStream& out, QTextStream& err) {
    const QString examText = p.values.value(QStringLiteral("--exam"));
    if (examText.isEmpty()) return usageError(err, QStringLiteral("缺少 --exam 考試編號"));
    const auto exam = examSlot(examText);
    if (!exam) return usageError(err, QStringLiteral("考試編號必須是 1 到 6: %1").arg(examText));
    std::uint64_t seed = 1;
    if (p.values.contains(QStringLiteral("--seed"))) {
        const auto s = number(p.values[QStringLiteral("--seed")]);
        if (!s)
            return usageError(err, QStringLiteral("--seed 必須是非負整數: %1")
                                       .arg(p.values[QStringLiteral("--seed")]));
        seed = *s;
    }
    GradeCounts counts;
    QString error;
    if (!gradeSample(p.values[QStringLiteral("--folder")], *exam, seed, &counts, &error)) {
        err << "korvex-sample: " << error << "\n";
        err.flush();
        return kFailed;
    }
    const QLocale locale = QLocale::c();
    out << QStringLiteral("已評分 %1: %2 筆 (缺考 %3 筆), 未評分 %4 筆")
               .arg(rosterTableName(*exam), locale.toString(counts.graded),
                    locale.toString(counts.absent), locale.toString(counts.ungraded))
        << "\n";
    out.flush();
    return kDone;
}

}  // namespace

QString sampleUsage() {
    return QStringLiteral(
               "用法:\n"
               "  korvex-sample create --folder 資料夾 [--students 人數] [--vocational] [--seed "
               "種子]\n"
               "      建立範例學校: exam.mdb, school.sqlite 與 ASSISTANT.INI (登入帳號 admin, 密碼 "
               "admin)。\n"
               "      資料夾中已有這三個檔案之一時不覆蓋。人數 %1 到 %2, 預設 %3; --vocational "
               "建立高職。\n"
               "  korvex-sample grade --folder 資料夾 --exam 考試編號 [--seed 種子]\n"
               "      模擬閱卷: 替 exam.mdb 的 periodical<考試編號> 填入成績與缺考, "
               "並標示為待匯出。\n"
               "同一種子產生相同的資料。\n")
        .arg(sample::kMinimumStudents)
        .arg(sample::kMaximumStudents)
        .arg(SampleSchool::Options().students);
}

int runSampleCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.size() == 1 &&
        (arguments[0] == QLatin1String("--help") || arguments[0] == QLatin1String("-h"))) {
        out << sampleUsage();
        out.flush();
        return kDone;
    }
    if (arguments.size() == 1 &&
        (arguments[0] == QLatin1String("--version") || arguments[0] == QLatin1String("-v"))) {
        out << QStringLiteral("korvex-sample ") << versionText() << QLatin1Char('\n');
        out.flush();
        return kDone;
    }
    const Parsed p = parse(arguments);
    if (!p.problem.isEmpty()) return usageError(err, p.problem);
    return p.command == QLatin1String("create") ? create(p, out, err) : grade(p, out, err);
}

}  // namespace korvex
