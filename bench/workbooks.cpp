// Teacher score workbooks for every teacher of a 3,000-student sample school:
// the whole operation (course and student queries, building, writing the
// .xls files), then the same sheets written once more from memory by our
// BIFF8 writer and, when the benchmark was built with it, as .xlsx through
// libxlsxwriter, with the ratio of the two.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>
#include <vector>

#include "StatementCounter.h"
#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "exam/CourseQueries.h"
#include "exam/TeacherWorkbooks.h"
#include "ops/AppContext.h"
#include "ops/YieldPacer.h"
#include "sample/SampleSchool.h"
#include "startup/StartupSteps.h"
#include "workbook/ScoreSheetTemplate.h"
#include "workbook/TeacherWorkbook.h"
#include "workbook/XlsWriter.h"

#ifdef KORVEX_HAVE_XLSXWRITER
#include <xlsxwriter.h>
#endif

using namespace korvex;

namespace {

// Answers the prompt with "All" and repaints nothing; the yield lets the
// event loop run as the desktop window does.
class BenchWindow : public MainWindowInterface {
public:
    QStringList messages;
    void setWindowEnabled(bool) override {}
    bool isWindowEnabled() const override { return true; }
    void showBusy() override {}
    void setBusyRange(int) override {}
    void stepBusy(int) override {}
    void endBusy() override {}
    Answer message(const QString& text, Icon, Buttons, Answer) override {
        messages << text;
        return Answer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return QStringLiteral("All");
    }
    QString caption() const override { return QStringLiteral("bench"); }
    void setCaption(const QString&) override {}
    void setExamMenu(const QString&, const QString&, bool) override {}
    // As the desktop window yields: the event loop runs every 10 ms or so.
    void yield() override {
        if (m_pacer.due()) QCoreApplication::processEvents();
    }
    YieldPacer m_pacer;
};

struct Course {
    QString sheetName;  // as formed; the workbook may keep another
    QString title;
    std::array<double, 5> weights{};
    std::vector<std::pair<double, QString>> names;
};
struct Teacher {
    QString key;
    std::vector<Course> courses;
    QStringList finalNames;  // tab order, as the .xls got them
};

// The courses and students, read once, grouped by teacher.
std::vector<Teacher> readSchool(AppContext& context) {
    std::vector<Teacher> teachers;
    const BoundQuery q = courseQuery(QStringLiteral("All"));
    auto rs = OpenRecordset(context.school, q.sql, q.params);
    if (!rs) {
        std::fprintf(stderr, "course query: %s\n",
                     qPrintable(context.school.pendingError() ? context.school.pendingError()->text
                                                              : QString()));
        return teachers;
    }
    // The students of every course, in one read, as the operation reads them.
    QHash<QString, std::vector<std::pair<double, QString>>> names;
    const BoundQuery sq = courseStudentsQuery(QStringLiteral("All"), context.settings.year,
                                              context.settings.semester);
    if (auto students = OpenRecordset(context.school, sq.sql, sq.params))
        for (Recordset& row : *students)
            names[courseKey(row.text("cno"), row.text("subjno"))].emplace_back(
                leadingNumber(row.text("seatno")), row.text("cname"));
    QString current;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
        const QString code = rtrimBlanks(rs->text("tchno"));
        if (teachers.empty() || code != current) {
            teachers.push_back({teacherKey(rs->text("tchno"), rs->text("tchname")), {}, {}});
            current = code;
        }
        Course c;
        c.sheetName = trimBlanks(rs->text("clsname")) + "-" + trimBlanks(rs->text("subjname"));
        c.title = courseTitle(context.settings.year, context.settings.semester, c.sheetName);
        const int order[] = {4, 1, 2, 3, 5};
        for (int i = 0; i < 5; ++i)
            c.weights[size_t(i)] =
                leadingNumber(rs->text(QStringLiteral("ratio%1").arg(order[i]))) * 0.01;
        c.names = names.value(courseKey(rs->text("cno"), rs->text("subjno")));
        teachers.back().courses.push_back(std::move(c));
    }
    return teachers;
}

qint64 writeXlsFiles(std::vector<Teacher>& teachers, const QString& folder) {
    const xls::Workbook templateBook = scoresheet::templateWorkbook();
    qint64 bytes = 0;
    for (Teacher& t : teachers) {
        TeacherWorkbook book(templateBook);
        for (const Course& c : t.courses) {
            book.startCourse();
            book.setTitle(c.title);
            book.setWeights(c.weights);
            for (const auto& [seat, name] : c.names) book.setStudentName(seat, name);
            book.finishCourse(c.sheetName);
        }
        const QString path = QDir(folder).filePath(teacherFileName(t.key));
        QString error;
        if (!xls::saveXls(book.workbook(), path, &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
        bytes += QFileInfo(path).size();
        t.finalNames.clear();
        for (int i = 0; i < book.workbook().sheetCount(); ++i)
            t.finalNames << book.workbook().sheet(i).name();
    }
    return bytes;
}

#ifdef KORVEX_HAVE_XLSXWRITER
// The same sheets through libxlsxwriter: cells, formats, merges, widths,
// page setup and protection.
qint64 writeXlsxFiles(const std::vector<Teacher>& teachers, const QString& folder) {
    qint64 bytes = 0;
    const QByteArray font = QStringLiteral("新細明體").toUtf8();
    for (const Teacher& t : teachers) {
        const QString path = QDir(folder).filePath(teacherFileName(t.key).chopped(4) + ".xlsx");
        lxw_workbook* wb = workbook_new(path.toUtf8().constData());
        auto fmt = [&](bool locked, const char* number, bool border, bool centre) {
            lxw_format* f = workbook_add_format(wb);
            format_set_font_name(f, font.constData());
            format_set_font_size(f, 12);
            if (!locked) format_set_unlocked(f);
            if (number) format_set_num_format(f, number);
            if (border) format_set_border(f, LXW_BORDER_THIN);
            if (centre) {
                format_set_align(f, LXW_ALIGN_CENTER);
                format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
            }
            return f;
        };
        lxw_format* title = fmt(false, nullptr, false, true);
        format_set_bold(title);
        format_set_font_size(title, 16);
        lxw_format* header = fmt(true, nullptr, true, true);
        format_set_text_wrap(header);
        lxw_format* weight = fmt(false, "0%", true, true);
        lxw_format* seat = fmt(true, nullptr, true, true);
        lxw_format* name = fmt(false, nullptr, true, false);
        lxw_format* score = fmt(false, "0_ ", true, false);
        lxw_format* daily = fmt(false, "0_);[Red]\\(0\\)", true, false);
        lxw_format* result = fmt(true, "0_ ", true, false);
        lxw_format* plain = fmt(true, nullptr, false, false);
        // Tabs in the order the .xls has them, which is the reverse of the courses.
        for (int i = 0; i < t.finalNames.size(); ++i) {
            const Course& c = t.courses[t.courses.size() - 1 - size_t(i)];
            lxw_worksheet* ws = workbook_add_worksheet(wb, t.finalNames[i].toUtf8().constData());
            worksheet_merge_range(ws, 0, 0, 0, 27, c.title.toUtf8().constData(), title);
            worksheet_merge_range(ws, 1, 0, 4, 0, "座號", header);
            worksheet_merge_range(ws, 1, 1, 4, 1, "姓名", header);
            worksheet_merge_range(ws, 1, 2, 1, 22, "日        常        考        查", header);
            for (int d = 0; d < 20; ++d) {
                worksheet_merge_range(ws, 2, lxw_col_t(2 + d), 4, lxw_col_t(2 + d), "", header);
                worksheet_write_number(ws, 2, lxw_col_t(2 + d), d + 1, header);
            }
            for (int w = 0; w < 5; ++w)
                worksheet_write_number(ws, 2, lxw_col_t(22 + w), c.weights[size_t(w)], weight);
            worksheet_merge_range(ws, 3, 22, 4, 22, "平時", header);
            worksheet_merge_range(ws, 1, 23, 1, 25, "期中考查", header);
            worksheet_merge_range(ws, 3, 23, 4, 23, "第一", header);
            worksheet_merge_range(ws, 3, 24, 4, 24, "第二", header);
            worksheet_merge_range(ws, 3, 25, 4, 25, "第三", header);
            worksheet_write_string(ws, 1, 26, "期末", header);
            worksheet_merge_range(ws, 3, 26, 4, 26, "期末", header);
            worksheet_merge_range(ws, 1, 27, 4, 27, "學期成績", header);
            for (int r = 5; r < 60; ++r) {
                worksheet_write_number(ws, lxw_row_t(r), 0, r - 4, seat);
                worksheet_write_blank(ws, lxw_row_t(r), 1, name);
                for (int col = 2; col <= 26; ++col)
                    worksheet_write_blank(ws, lxw_row_t(r), lxw_col_t(col),
                                          col == 22 ? daily : score);
                const QByteArray f = QStringLiteral(
                                         "=ROUND(ROUND(W%1,0)*W$3+ROUND(X%1,0)*X$3+ROUND(Y%1,0)*Y$"
                                         "3+ROUND(Z%1,0)*Z$3+ROUND(AA%1,0)*AA$3,0)")
                                         .arg(r + 1)
                                         .toUtf8();
                worksheet_write_formula_num(ws, lxw_row_t(r), 27, f.constData(), result, 0);
            }
            for (const auto& [s, n] : c.names) {
                const double row = roundHalfEven(5.0 + s) - 1;
                if (row >= 0 && row < 1048576)
                    worksheet_write_string(ws, lxw_row_t(row), 1, n.toUtf8().constData(),
                                           row >= 5 && row < 60 ? name : plain);
            }
            worksheet_write_string(
                ws, 61, 0,
                "(1)學期總成績以整數計算, 四捨五入, 60 分以上請用藍、黑筆，60分以下請用紅筆",
                plain);
            worksheet_write_string(ws, 62, 0, "(2)學期結束時，繳交本表至教務處註冊組", plain);
            worksheet_write_string(ws, 63, 20, "擔任教師:", plain);
            const auto& widths = scoresheet::columnWidths();
            for (int col = 0; col < scoresheet::kColumns; ++col)
                worksheet_set_column(ws, lxw_col_t(col), lxw_col_t(col), widths[size_t(col)],
                                     nullptr);
            worksheet_set_margins(ws, 0.8 / 72, 0.8 / 72, 1.0 / 72, 1.0 / 72);
            worksheet_center_horizontally(ws);
            worksheet_center_vertically(ws);
            worksheet_fit_to_pages(ws, 1, 1);
            worksheet_set_paper(ws, 9);
            worksheet_protect(ws, "305172", nullptr);
        }
        if (workbook_close(wb) != LXW_NO_ERROR)
            std::fprintf(stderr, "xlsx: %s failed\n", qPrintable(path));
        bytes += QFileInfo(path).size();
    }
    return bytes;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Arguments: the number of students (3000), and "ours" to leave out
    // libxlsxwriter, for profiling (a build without libxlsxwriter ignores it).
    const int students = argc > 1 ? QByteArray(argv[1]).toInt() : 3000;
    [[maybe_unused]] const bool onlyOurs = argc > 2 && QByteArray(argv[2]) == "ours";
    QTemporaryDir dir;
    SampleSchool::Options options;
    options.students = students;
    SampleSchool::Counts counts;
    QString error;
    if (!SampleSchool::create(dir.path(), options, &counts, &error)) {
        std::fprintf(stderr, "sample school: %s\n", qPrintable(error));
        return 1;
    }
    BenchWindow window;
    AppContext context;
    context.appPath = dir.path();
    context.settings.year = options.year;
    context.settings.semester = options.semester;
    context.window = &window;
    if (!context.school.openSqlite(QDir(dir.path()).filePath(SampleSchool::schoolFileName())))
        return 1;
    context.schoolConnected = true;
    // Start-up adds and fills the class short codes the course query sorts by.
    prepareShortCodes(context);

    QElapsedTimer timer;
    std::optional<bench::StatementCounter> statements(std::in_place, context);
    timer.start();
    MakeScoreWorkbooks(context);
    const double whole = timer.elapsed() / 1000.0;
    const long schoolStatements = statements->school();
    statements.reset();
    const QStringList files = QDir(dir.path()).entryList({"*.xls"}, QDir::Files);
    qint64 total = 0;
    for (const QString& f : files) total += QFileInfo(QDir(dir.path()).filePath(f)).size();
    std::printf("students %d, courses (sheets) %d, teacher workbooks %lld, %.1f MB\n", students,
                counts.classSubjects, static_cast<long long>(files.size()), total / 1048576.0);
    std::printf("MakeScoreWorkbooks (All): %.2f s  [target: under 3 s]  %s\n", whole,
                qPrintable(window.messages.value(0).left(20)));
    std::printf("  statements to the school database: %ld (for %d sheets)\n", schoolStatements,
                counts.classSubjects);

    // The same sheets from memory: our writer, then libxlsxwriter.
    timer.restart();
    std::vector<Teacher> teachers = readSchool(context);
    std::printf("of which reading courses and students alone: %.2f s\n", timer.elapsed() / 1000.0);
    const QString xlsDir = QDir(dir.path()).filePath("xls");
    QDir().mkpath(xlsDir);
    timer.restart();
    const qint64 xlsBytes = writeXlsFiles(teachers, xlsDir);
    const double xlsTime = timer.elapsed() / 1000.0;
    std::printf("BIFF8 writer, from memory: %.2f s, %.1f MB\n", xlsTime, xlsBytes / 1048576.0);
#ifdef KORVEX_HAVE_XLSXWRITER
    if (onlyOurs) return 0;
    const QString xlsxDir = QDir(dir.path()).filePath("xlsx");
    QDir().mkpath(xlsxDir);
    timer.restart();
    const qint64 xlsxBytes = writeXlsxFiles(teachers, xlsxDir);
    const double xlsxTime = timer.elapsed() / 1000.0;
    std::printf("libxlsxwriter .xlsx, from memory: %.2f s, %.1f MB\n", xlsxTime,
                xlsxBytes / 1048576.0);
    std::printf("ratio libxlsxwriter / BIFF8 writer: %.1f\n", xlsxTime / std::max(xlsTime, 1e-6));
#else
    std::printf("libxlsxwriter not found at build time: no comparison\n");
#endif
    return 0;
}
