#include "sample/SchoolWriter.h"

#include <sqlite3.h>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>

namespace korvex::sample {
namespace {

// One prepared INSERT for a table, reused for every row. It talks to SQLite
// directly through the handle Qt's driver holds: the school's score rows
// are most of the work, and the C interface binds them several times faster
// than QSqlQuery does.
class Inserter {
public:
    Inserter(const QSqlDatabase& db, const QString& table, const QStringList& columns, int& rows,
             QString* error)
        : m_db(handleOf(db)), m_rows(rows), m_error(error) {
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
        m_sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(table, columns.join(u','), marks.join(u','));
        if (!m_db) {
            fail(QStringLiteral("not an SQLite connection"));
            return;
        }
        const QByteArray sql = m_sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &m_statement, nullptr) !=
            SQLITE_OK)
            fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    }
    ~Inserter() { sqlite3_finalize(m_statement); }
    Inserter(const Inserter&) = delete;
    Inserter& operator=(const Inserter&) = delete;

    bool add(std::initializer_list<QVariant> values) {
        if (!m_statement) return false;
        int i = 0;
        for (const QVariant& v : values) bind(++i, v);
        const int rc = sqlite3_step(m_statement);
        sqlite3_reset(m_statement);
        if (rc != SQLITE_DONE) {
            fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
            sqlite3_finalize(m_statement);
            m_statement = nullptr;
            return false;
        }
        ++m_rows;
        return true;
    }

    bool ok() const { return m_statement != nullptr; }

private:
    static sqlite3* handleOf(const QSqlDatabase& db) {
        const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
        if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
        return *static_cast<sqlite3* const*>(handle.constData());
    }

    // An invalid variant is NULL, numbers are numbers, anything else text;
    // an empty text stays '' (never NULL).
    void bind(int index, const QVariant& v) {
        switch (v.typeId()) {
            case QMetaType::UnknownType:
                sqlite3_bind_null(m_statement, index);
                break;
            case QMetaType::Double:
                sqlite3_bind_double(m_statement, index, v.toDouble());
                break;
            case QMetaType::Int:
            case QMetaType::LongLong:
                sqlite3_bind_int64(m_statement, index, v.toLongLong());
                break;
            default: {
                const QByteArray text = v.toString().toUtf8();
                sqlite3_bind_text(m_statement, index, text.isNull() ? "" : text.constData(),
                                  int(text.size()), SQLITE_TRANSIENT);
            }
        }
    }

    void fail(const QString& message) {
        if (m_error && m_error->isEmpty())
            *m_error = QStringLiteral("寫入範例學校資料庫失敗: %1 (%2)").arg(message, m_sql);
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    QString m_sql;
    int& m_rows;
    QString* m_error;
};

QStringList columns(const char16_t* list) { return QString::fromUtf16(list).split(u','); }

class Writer {
public:
    Writer(const QSqlDatabase& db, const SchoolPlan& plan, SampleCounts& counts, QString* error)
        : m_db(db),
          m_plan(plan),
          m_counts(counts),
          m_error(error),
          m_random(plan.options.seed * 0x9E3779B97F4A7C15ULL + 0xC0FFEEULL) {}

    bool write() {
        return departments() && classes() && groups() && subjects() && teachers() && courses() &&
               students() && scores() && system();
    }

private:
    bool departments() {
        Inserter insert(m_db, QStringLiteral("z_dept"), columns(u"科別碼,科別中文名"),
                        m_counts.totalRows, m_error);
        for (const Department& d : m_plan.departments) {
            if (!d.inZDept) continue;
            if (!insert.add({d.code, d.name})) return false;
            ++m_counts.departments;
        }
        return insert.ok();
    }

    bool classes() {
        Inserter insert(m_db, QStringLiteral("z_class"),
                        columns(u"班級碼,班級簡稱,班級名稱,班級類組"), m_counts.totalRows, m_error);
        for (const SchoolClass& c : m_plan.classes) {
            if (!insert.add({c.code, c.shortName, c.name, c.group})) return false;
            ++m_counts.classes;
        }
        return insert.ok();
    }

    bool groups() {
        Inserter insert(m_db, QStringLiteral("z_ugroup"), columns(u"類組碼,類組名稱"),
                        m_counts.totalRows, m_error);
        return insert.add({QStringLiteral("1"), QStringLiteral("第一類組")}) &&
               insert.add({QStringLiteral("2"), QStringLiteral("第二類組")}) &&
               insert.add({QStringLiteral("3"), QStringLiteral("第三類組 ")}) &&
               insert.add({QStringLiteral("4"), QStringLiteral("不分類組")});
    }

    bool subjects() {
        Inserter insert(m_db, QStringLiteral("z_course"), columns(u"科目碼,科目中文名,科目簡稱"),
                        m_counts.totalRows, m_error);
        for (const auto& [code, s] : m_plan.subjects) {
            if (!insert.add({s.code, s.name, s.shortName})) return false;
            ++m_counts.subjects;
        }
        return insert.ok();
    }

    bool teachers() {
        Inserter insert(m_db, QStringLiteral("z_teach"), columns(u"教師碼,姓名,身份證號,密碼"),
                        m_counts.totalRows, m_error);
        for (const Teacher& t : m_plan.teachers) {
            if (!insert.add({t.code, t.name, t.id, t.password})) return false;
            ++m_counts.teachers;
        }
        return insert.ok();
    }

    bool courses() {
        Inserter insert(m_db, QStringLiteral("sbcourse"),
                        columns(u"班級碼,科目碼,教師碼,考試比例1,考試比例2,考試比例3,考試比例4,"
                                u"考試比例5,考試比例6"),
                        m_counts.totalRows, m_error);
        for (const Course& c : m_plan.courses) {
            const auto& w = c.weights;
            if (!insert.add({m_plan.classes[c.classIndex].code, c.subject, c.teacher, w[0], w[1],
                             w[2], w[3], w[4], w[5]}))
                return false;
            ++m_counts.classSubjects;
        }
        return insert.ok();
    }

    bool students() {
        Inserter insert(
            m_db, QStringLiteral("sastuden"),
            columns(
                u"學號,在學科別,在學年級,在學班次,在學座號,在學狀態,在學學期,姓名,性別,身份證號,"
                u"學期類組別,通縣市區,通郵遞區號,通號碼地址,家長姓名"),
            m_counts.totalRows, m_error);
        for (const Student& s : m_plan.students) {
            if (!insert.add({s.number, s.department, s.grade, s.classNumber, s.seat, s.status,
                             s.semester, s.name, s.sex, s.id, s.groups, s.area, s.zipCode, s.street,
                             s.parent}))
                return false;
            ++m_counts.studentRows;
            const QString status = s.status.toString();
            if (s.regular)
                ++m_counts.enrolled;
            else if (status.startsWith(QStringLiteral("延修")))
                ++m_counts.extended;
            else if (status.startsWith(QStringLiteral("畢業")))
                ++m_counts.graduated;
            else if (!status.isEmpty())
                ++m_counts.left;
        }
        return insert.ok();
    }

    // This term's rows (scores still empty) for every student who takes the
    // class's courses, and last term's graded rows for the enrolled students
    // who were here then.
    bool scores() {
        Inserter insert(
            m_db, QStringLiteral("sbscore"),
            columns(u"學年度,學期別,身份證號,班級碼,科目碼,考試成績1,考試成績2,考試成績3,考試成績4,"
                    u"考試成績5,考試成績6"),
            m_counts.totalRows, m_error);
        const QVariant year = m_plan.options.year;
        const QVariant semester = m_plan.options.semester;
        const QVariant none;
        for (const Student& s : m_plan.students) {
            if (!s.takesCourses || s.classIndex < 0) continue;
            const SchoolClass& c = m_plan.classes[s.classIndex];
            for (int i : c.courses) {
                if (!insert.add({year, semester, s.id, c.code, m_plan.courses[i].subject, none,
                                 none, none, none, none, none}))
                    return false;
                ++m_counts.currentScoreRows;
                ++m_counts.scoreRows;
            }
        }
        const QVariant lastYear = m_plan.previousYear;
        const QVariant lastSemester = m_plan.previousSemester;
        const int previousSemester = m_plan.previousSemester == QLatin1String("2") ? 2 : 1;
        for (const Student& s : m_plan.students) {
            if (!s.regular || s.classIndex < 0) continue;
            const int previous = m_plan.classes[s.classIndex].previousClass;
            if (previous < 0) continue;
            const SchoolClass& p = m_plan.classes[previous];
            for (const SubjectTemplate& t : p.subjects) {
                const auto weights = weightsFor(t.weights);
                QVariant score[6];
                for (int exam = 0; exam < 5; ++exam)
                    if (weights[exam].toDouble() > 0) score[exam] = lastTermScore(s);
                if (!insert.add({lastYear, lastSemester, s.id, p.code,
                                 t.code(p.grade, previousSemester), score[0], score[1], score[2],
                                 score[3], score[4], score[5]}))
                    return false;
                ++m_counts.scoreRows;
            }
        }
        return insert.ok();
    }

    QVariant lastTermScore(const Student& s) {
        if (m_random.chance(0.01)) return -9.0;  // absent
        return double(std::clamp(int(std::lround(s.ability + 9.0 * m_random.normal())), 0, 100));
    }

    bool system() {
        Inserter term(m_db, QStringLiteral("z_system"), columns(u"學年度,學期別"),
                      m_counts.totalRows, m_error);
        if (!term.add({m_plan.options.year, m_plan.options.semester})) return false;
        // Accounts: the exam office's administrator, a dean with more rights,
        // the registrar without A and a guest whose lower-case a is no A.
        Inserter users(m_db, QStringLiteral("z_user"), columns(u"使用者碼,使用者密碼,使用者權限"),
                       m_counts.totalRows, m_error);
        if (!users.add({QStringLiteral("admin"), QStringLiteral("admin"), QStringLiteral("A")}) ||
            !users.add(
                {QStringLiteral("dean"), QStringLiteral("Dean1234"), QStringLiteral("ABC")}) ||
            !users.add(
                {QStringLiteral("register"), QStringLiteral("reg2024"), QStringLiteral("B")}) ||
            !users.add({QStringLiteral("guest"), QStringLiteral(""), QStringLiteral("a")}))
            return false;
        Inserter names(m_db, QStringLiteral("z_name"),
                       columns(u"考試名稱1,考試名稱2,考試名稱3,考試名稱4,考試名稱5,考試名稱6"),
                       m_counts.totalRows, m_error);
        QVariant n[6];
        for (int i = 0; i < 6; ++i)
            if (!m_plan.examNames.value(i).isEmpty()) n[i] = m_plan.examNames.at(i);
        return names.add({n[0], n[1], n[2], n[3], n[4], n[5]});
    }

    QSqlDatabase m_db;
    const SchoolPlan& m_plan;
    SampleCounts& m_counts;
    QString* m_error;
    SampleRandom m_random;
};

}  // namespace

bool writeSchoolDatabase(const QString& connectionName, const SchoolPlan& plan,
                         SampleCounts& counts, QString* error) {
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QString message;
    counts = SampleCounts();
    if (!db.transaction()) {
        if (error) *error = QStringLiteral("寫入範例學校資料庫失敗: %1").arg(db.lastError().text());
        return false;
    }
    const bool ok = Writer(db, plan, counts, &message).write();
    if (!ok || !db.commit()) {
        if (message.isEmpty())
            message = QStringLiteral("寫入範例學校資料庫失敗: %1").arg(db.lastError().text());
        db.rollback();
        if (error) *error = message;
        return false;
    }
    return true;
}

}  // namespace korvex::sample
