#include "exam/TeacherWorkbooks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <optional>

#include "core/ListedItems.h"
#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "exam/CourseQueries.h"
#include "ops/AppContext.h"
#include "ops/OperationFrame.h"
#include "ops/RowLoop.h"
#include "workbook/ScoreSheetTemplate.h"
#include "workbook/TeacherWorkbook.h"
#include "workbook/XlsWriter.h"

namespace korvex {
namespace {

using Icon = MainWindowInterface::Icon;

// Writes the teachers' workbooks from the rows of the course query, one
// teacher after the other.
class WorkbookRun {
public:
    WorkbookRun(AppContext& context, Recordset& courses)
        : m_context(context),
          m_window(*context.window),
          m_courses(courses),
          m_template(scoresheet::templateWorkbook()) {}

    // Reads the students of every course at once: one statement to the
    // school database however many sheets there are. When it cannot be
    // read the sheets are still written, without names, and the closing
    // message says which (`m_studentsUnread` holds why).
    void readStudents(const QString& answer) {
        const Settings& settings = m_context.settings;
        const BoundQuery q = courseStudentsQuery(answer, settings.year, settings.semester);
        std::unique_ptr<Recordset> students = OpenRecordset(m_context.school, q.sql, q.params);
        m_window.yield();
        if (!students) {
            m_studentsUnread = failureReason(m_context.school, DatabaseRole::School);
            m_context.school.clearError();
            return;
        }
        m_students.reserve(students->recordCount() / 20 + 1);
        for (Recordset& row : *students)
            m_students[courseKey(row.text(QStringLiteral("cno")),
                                 row.text(QStringLiteral("subjno")))]
                .push_back({leadingNumber(row.text(QStringLiteral("seatno"))),
                            row.text(QStringLiteral("cname"))});
    }

    void run() {
        // The rows come by teacher: a teacher's workbook is written when the
        // next teacher's first row comes, or the rows end.
        forEachRow(
            m_courses, m_window,
            [this](Recordset& row) {
                const QString code = rtrimBlanks(row.text(QStringLiteral("tchno")));
                if (!m_teacher || code != m_code) {
                    if (m_teacher) finishTeacher();
                    m_code = code;
                    m_key = teacherKey(row.text(QStringLiteral("tchno")),
                                       row.text(QStringLiteral("tchname")));
                    m_teacher.emplace(m_template);
                }
                courseWork();
            },
            &m_key);
        if (m_teacher) finishTeacher();
        report();
    }

private:
    void courseWork() {
        TeacherWorkbook& t = *m_teacher;
        // The sheet takes the template's column widths inside startCourse,
        // in memory: nothing here waits long enough to need a yield of its
        // own (the row loop yields once per course, each student once).
        t.startCourse();

        const QString sheetName = trimBlanks(m_courses.text(QStringLiteral("clsname"))) +
                                  QLatin1Char('-') +
                                  trimBlanks(m_courses.text(QStringLiteral("subjname")));
        const Settings& settings = m_context.settings;
        t.setTitle(courseTitle(settings.year, settings.semester, sheetName));
        // W3 takes the daily-score weight (ratio4), X3 to Z3 the mid-terms
        // (ratio1 to ratio3), AA3 the final exam (ratio5); ratio6 is unused.
        // The weight in percent times 0.01 is the fraction the cell holds:
        // 30 gives 0.3, 35 gives 0.35000000000000003, shown as 35%.
        auto weight = [&](int n) {
            return leadingNumber(m_courses.text(QStringLiteral("ratio%1").arg(n))) * 0.01;
        };
        t.setWeights({weight(4), weight(1), weight(2), weight(3), weight(5)});

        if (!m_studentsUnread.isEmpty()) {
            m_problems.add(QStringLiteral("學生資料讀取失敗, 未填入姓名: %1 工作表 %2 (原因: %3)")
                               .arg(teacherFileName(m_key), sheetName, m_studentsUnread));
        } else {
            const auto course = m_students.constFind(courseKey(
                m_courses.text(QStringLiteral("cno")), m_courses.text(QStringLiteral("subjno"))));
            if (course != m_students.constEnd())
                for (const Student& student : *course) {
                    t.setStudentName(student.seat, student.name);
                    m_window.yield();
                }
        }
        t.finishCourse(sheetName);
    }

    void finishTeacher() {
        const QString path = freePath(teacherFileName(m_key));
        QString error;
        if (!xls::saveXls(m_teacher->workbook(), path, &error)) m_problems.add(error);
        m_teacher.reset();
    }

    // Two teachers whose keys give the same file name (the same code and
    // name, or names that differ only in letter case or in the replaced
    // characters) would overwrite each other's workbook; the later one gets
    // " (2)", " (3)" ... before ".xls". A file from an earlier run is replaced.
    QString freePath(const QString& fileName) {
        const QDir dir(m_context.appPath);
        QString candidate = fileName;
        const QString stem = fileName.chopped(4);
        for (int n = 2; m_written.contains(candidate.toCaseFolded()); ++n)
            candidate = QStringLiteral("%1 (%2).xls").arg(stem).arg(n);
        m_written.insert(candidate.toCaseFolded());
        return dir.filePath(candidate);
    }

    void report() {
        const QString folder = QDir::toNativeSeparators(m_context.appPath);
        if (m_problems.isEmpty()) {
            m_window.message(QStringLiteral("產生教師登錄成績Excel檔完成! 檔案於 ") + folder +
                                 QStringLiteral(" 資料夾下!"),
                             Icon::None);
            return;
        }
        m_window.reportFailure(
            QStringLiteral("產生教師登錄成績Excel檔未完成, 請處理下列問題後重新執行!\n") +
            m_problems.text(QStringLiteral("\n"), QStringLiteral("項")));
    }

    AppContext& m_context;
    MainWindowInterface& m_window;
    Recordset& m_courses;
    const xls::Workbook m_template;
    std::optional<TeacherWorkbook> m_teacher;
    QString m_code;
    QString m_key;
    QSet<QString> m_written;
    ListedItems m_problems;
    struct Student {
        double seat;
        QString name;
    };
    QHash<QString, std::vector<Student>> m_students;  // by courseKey, in seat order
    QString m_studentsUnread;
};

}  // namespace

void MakeScoreWorkbooks(AppContext& context) {
    MainWindowInterface& window = *context.window;
    const std::optional<QString> reply = window.input(
        QStringLiteral("請輸入欲產生Excel檔案的教師編號, All表示全部教師, C%表示C開頭的所有教師!"),
        window.caption());
    const QString answer = rtrimBlanks(reply.value_or(QString()));
    if (answer.isEmpty()) return;

    OperationFrame frame(context);
    const BoundQuery q = courseQuery(answer);
    std::unique_ptr<Recordset> courses = frame.open(context.school, q.sql, q.params);
    if (!courses) {
        frame.abandon(context.school, DatabaseRole::School,
                      QStringLiteral("考試科目資料讀取失敗, 請重新執行!"));
        return;
    }
    frame.showBusy();
    if (courses->recordCount() == 0)
        window.message(QStringLiteral("沒有可供產生教師登錄成績Excel檔的資料!"), Icon::Information);
    else {
        WorkbookRun run(context, *courses);
        run.readStudents(answer);
        run.run();
    }
}

}  // namespace korvex
