// Building or refreshing the roster of the configured exam (periodicalN in
// exam.mdb) from the school's score rows and the students of exam.mdb.
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "core/ExamSlot.h"
#include "core/SchoolCodes.h"
#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "db/TextParam.h"
#include "exam/ExamOperations.h"
#include "exam/ExamTexts.h"
#include "ops/AppContext.h"
#include "ops/OperationFrame.h"
#include "ops/RowLoop.h"

namespace korvex {
namespace {

using Icon = MainWindowInterface::Icon;
using Buttons = MainWindowInterface::Buttons;
using Answer = MainWindowInterface::Answer;

// Roster rows are keyed by student id and subject: the insert-or-update test
// and the update itself must agree on the row, or a student whose exam
// number changed would get a second row and lose the scores of the first.
// The separator keeps "A1"+"23456" apart from "A12"+"3456".
QString rosterKey(const QString& sid, const QString& sub) { return sid + u'|' + sub; }

class RosterImport {
public:
    RosterImport(OperationFrame& frame, int slot, bool rebuild)
        : m_frame(frame),
          m_context(frame.context()),
          m_window(frame.window()),
          m_settings(m_context.settings),
          m_slot(slot),
          m_table(rosterTableName(slot)),
          m_rebuild(rebuild),
          m_prefix(termText(m_context.settings)) {}

    // Runs everything after the question.
    void run();

private:
    // One roster row to write: an update of the row found by student id and
    // subject, or an insert. Every value is written as text: a student's
    // missing exam number, name or group becomes the empty text, never NULL.
    struct RowWrite {
        bool update = false;
        QString sid, classCode, seat, examno, name, sub, teacher, gro;
    };

    bool openLookups();
    void prepareTable();
    // The write for the current source row; nothing when the row is skipped.
    std::optional<RowWrite> rowWrite();
    bool execute(const RowWrite& row);
    void write(RowWrite row);
    void commitGroup();
    void writeAlone(const std::vector<RowWrite>& rows);

    OperationFrame& m_frame;
    AppContext& m_context;
    MainWindowInterface& m_window;
    const Settings& m_settings;
    const int m_slot;
    const QString m_table;
    const bool m_rebuild;
    const QString m_prefix;

    std::unique_ptr<Recordset> m_source;
    std::unique_ptr<Recordset> m_students;
    std::unique_ptr<Recordset> m_keys;  // nothing once the table is known to be empty
    QString m_insert;
    QString m_update;
    // Rows written in the open transaction, kept until it commits.
    std::vector<RowWrite> m_group;
    int m_failedRows = 0;
    // The old rows could not be emptied (rebuild) or marked (update), or the
    // rows no longer examined could not be deleted: they are still there.
    bool m_staleRowsKept = false;
};

// Every row is its own statement, and one that fails affects no other row.
// The rows are committed in groups rather than one by one, which is many
// times faster; a group in which a statement fails, or whose commit fails,
// is rolled back and its rows are written again one at a time, outside any
// transaction, so that every row that can be written is.
constexpr size_t kRowsPerTransaction = 500;

void RosterImport::run() {
    Connection& school = m_context.school;
    Connection& exam = m_context.exam;

    // The school's score rows of the term for subjects that count in this exam.
    const QString source =
        QStringLiteral(
            "SELECT sbscore.身份證號 AS sid, sbscore.科目碼 AS sub, sbcourse.教師碼 AS tchno "
            "FROM (sbscore INNER JOIN sbcourse ON sbscore.科目碼 = sbcourse.科目碼 AND "
            "sbscore.班級碼 = sbcourse.班級碼) "
            "WHERE (sbscore.學年度 = ?) AND (sbscore.學期別 = ?) AND (sbcourse.") +
        weightColumnName(m_slot) + QStringLiteral(" > 0) ");
    m_source = m_frame.open(school, source, {m_settings.year, m_settings.semester});
    if (!m_source) {
        m_window.message(m_prefix + QStringLiteral("考試科目資料匯入失敗, 請重新執行!"),
                         Icon::Critical);
        school.clearError();
        return;
    }
    m_frame.showBusy();

    if (m_source->recordCount() < 1) {
        m_window.message(m_prefix + QStringLiteral("沒有可供匯入的考試科目資料!"),
                         Icon::Information);
        return;
    }

    // Both lookups are read before the roster is touched, so that a lookup
    // that cannot be read leaves the roster exactly as it was.
    if (!openLookups()) {
        exam.clearError();
        return;
    }
    prepareTable();

    m_insert = QStringLiteral("insert into ") + m_table +
               QStringLiteral(
                   "(sid,class,seat,examno,namec,sub,tchno,gro,examsnot,score,score1,"
                   "score2,spec) values (?,?,?,?,?,?,?,?,'0',0,0,0,0)");
    m_update = QStringLiteral("update ") + m_table +
               QStringLiteral(
                   " set examsnot='0',class=?,seat=?,examno=?,namec=?,tchno=?,gro=? "
                   "where sid=? and sub=?");
    exam.clearError();
    forEachRow(*m_source, m_window, [this](Recordset&) {
        if (auto row = rowWrite()) write(std::move(*row));
    });
    commitGroup();
    exam.clearError();

    // Rows the source no longer yields still carry '1' and go. After a row
    // that could not be written nothing is deleted: the unconfirmed rows
    // wait for the next run.
    if (!m_rebuild && m_failedRows == 0 &&
        !exam.executeGuarded(QStringLiteral("delete from ") + m_table +
                             QStringLiteral(" where examsnot='1'")))
        m_staleRowsKept = true;

    QString done = m_prefix + QStringLiteral("考試科目資料匯入完成!");
    if (m_failedRows > 0)
        done += QStringLiteral("但有 %1 筆考試科目資料無法寫入考試資料庫, 請重新執行!")
                    .arg(m_failedRows);
    else if (m_staleRowsKept)
        done += QStringLiteral(
            "但原有的考試科目資料無法清除, 已不需要的資料仍留在考試資料庫中, 請重新執行!");
    m_window.message(done, Icon::None);
}

bool RosterImport::openLookups() {
    Connection& exam = m_context.exam;
    m_students = m_frame.open(exam, QStringLiteral("select examno,gro,sid,name from name"));
    if (!m_students) {
        m_window.message(
            m_prefix + QStringLiteral("考試科目資料匯入失敗, 無法讀取考試資料庫的學生資料, "
                                      "考試資料未變更, 請重新執行!"),
            Icon::Critical);
        return false;
    }
    // Marking rows '1' leaves student ids and subjects as they are, so the
    // keys read now are the keys the loop sees.
    m_keys = m_frame.open(exam, QStringLiteral("select sid+'|'+sub as key1 from ") + m_table);
    if (!m_keys) {
        m_window.message(m_prefix + QStringLiteral("考試科目資料匯入失敗, 無法讀取考試資料庫的") +
                             m_table + QStringLiteral("資料, 考試資料未變更, 請重新執行!"),
                         Icon::Critical);
        return false;
    }
    return true;
}

void RosterImport::prepareTable() {
    Connection& exam = m_context.exam;
    if (m_rebuild) {
        // Emptied: every source row is new. If the delete is rolled back the
        // old rows stay, and the keys read before find them.
        if (exam.executeGuarded(QStringLiteral("delete from ") + m_table))
            m_keys.reset();
        else
            m_staleRowsKept = true;
    } else {
        // Every row is marked stale; the loop confirms the rows the source
        // still yields. Unmarked, the rows no longer examined cannot be told
        // apart and stay.
        if (!exam.executeGuarded(QStringLiteral("update ") + m_table +
                                 QStringLiteral(" set examsnot='1'")))
            m_staleRowsKept = true;
    }
    m_window.yield();
}

std::optional<RosterImport::RowWrite> RosterImport::rowWrite() {
    // Subject codes are six characters; anything else is not an exam subject.
    const QString sub = m_source->text(QStringLiteral("sub"));
    if (rtrimBlanks(sub).size() != 6) return std::nullopt;

    const QString sid = rtrimBlanks(m_source->text(QStringLiteral("sid")));
    if (m_students->recordCount() < 1) return std::nullopt;
    m_students->moveFirst();
    if (!m_students->find(QStringLiteral("sid"), sid)) return std::nullopt;

    const QString gro = m_students->text(QStringLiteral("gro"));
    const QString examno = m_students->text(QStringLiteral("examno"));
    const QString name = m_students->text(QStringLiteral("name"));
    QString teacher = rtrimBlanks(m_source->text(QStringLiteral("tchno")));
    if (m_settings.single > 0 || teacher.isEmpty()) teacher = kUnassignedTeacher;
    const ExamNumberParts parts = splitExamNumber(examno);

    bool exists = false;
    if (m_keys && m_keys->recordCount() > 0) {
        m_keys->moveFirst();
        exists = m_keys->find(QStringLiteral("key1"), rosterKey(sid, sub));
    }
    return RowWrite{exists, sid, parts.classShortCode, parts.seat, examno, name, sub, teacher, gro};
}

bool RosterImport::execute(const RowWrite& row) {
    Connection& exam = m_context.exam;
    if (row.update) {
        if (!exam.execute(m_update,
                          {textParam(row.classCode), textParam(row.seat), textParam(row.examno),
                           textParam(row.name), textParam(row.teacher), textParam(row.gro),
                           textParam(row.sid), textParam(row.sub)}))
            return false;
        // The key matched a row the update does not (the stored subject
        // differs in trailing blanks, say): the student still gets a row.
        if (exam.rowsAffected() != 0) return true;
    }
    return exam.execute(m_insert, {textParam(row.sid), textParam(row.classCode),
                                   textParam(row.seat), textParam(row.examno), textParam(row.name),
                                   textParam(row.sub), textParam(row.teacher), textParam(row.gro)});
}

void RosterImport::write(RowWrite row) {
    Connection& exam = m_context.exam;
    if (!exam.inTransaction() && !m_frame.begin(exam)) {
        exam.clearError();
        writeAlone({row});
        return;
    }
    if (!execute(row)) {
        // The engine may have ended the whole transaction with this failure;
        // the group is written again row by row, this row included.
        m_frame.rollback(exam);
        exam.clearError();
        m_group.push_back(std::move(row));
        std::vector<RowWrite> group;
        group.swap(m_group);
        writeAlone(group);
        return;
    }
    m_group.push_back(std::move(row));
    if (m_group.size() >= kRowsPerTransaction) commitGroup();
}

void RosterImport::commitGroup() {
    Connection& exam = m_context.exam;
    if (!exam.inTransaction()) return;
    std::vector<RowWrite> group;
    group.swap(m_group);
    if (m_frame.commit(exam)) return;
    m_frame.rollback(exam);
    exam.clearError();
    writeAlone(group);
}

void RosterImport::writeAlone(const std::vector<RowWrite>& rows) {
    for (const RowWrite& row : rows)
        if (!execute(row)) ++m_failedRows;
    m_context.exam.clearError();
}

}  // namespace

void ImportExamRoster(AppContext& context) {
    MainWindowInterface& window = *context.window;
    const Settings& settings = context.settings;
    // The exam slot names the roster table and the weight column; one that
    // cannot do so stops here, before anything is asked or changed.
    const auto slot = examSlot(settings.examNo);
    if (!slot) {
        window.message(invalidExamSlotMessage(settings, QStringLiteral("考試科目資料匯入失敗")),
                       Icon::Critical);
        return;
    }

    const Answer answer = window.message(
        QStringLiteral("選擇[是]清除所有資料重新轉入, 選擇[否]更新資料, 選擇[取消]離開"),
        Icon::None, Buttons::YesNoCancel, Answer::Yes);
    if (answer != Answer::Yes && answer != Answer::No) return;

    OperationFrame frame(context);
    RosterImport(frame, *slot, answer == Answer::Yes).run();
}

}  // namespace korvex
