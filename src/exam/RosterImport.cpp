// Building or refreshing the roster of the configured exam (periodicalN in
// exam.mdb) from the school's score rows and the students of exam.mdb.
#include <QSet>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "core/ExamSlot.h"
#include "core/ListedItems.h"
#include "core/SchoolCodes.h"
#include "core/ValueRules.h"
#include "db/Recordset.h"
#include "db/SqlDialect.h"
#include "db/TextParam.h"
#include "exam/ExamOperations.h"
#include "exam/ExamStatements.h"
#include "exam/ExamTexts.h"
#include "ops/AppContext.h"
#include "ops/OperationFrame.h"
#include "ops/RowLoop.h"

namespace korvex {
namespace {

using Icon = MainWindowInterface::Icon;
using Buttons = MainWindowInterface::Buttons;
using Answer = MainWindowInterface::Answer;

// Rebuild: the roster is emptied and every source row is new. Update: every
// row is marked stale, the rows the source still yields are confirmed, and
// the rest go at the end.
enum class RosterMode { Rebuild, Update };

// Roster rows are keyed by student id and subject: the insert-or-update test
// and the update itself must agree on the row, or a student whose exam
// number changed would get a second row and lose the scores of the first.
// The separator keeps "A1"+"23456" apart from "A12"+"3456"; a NULL part,
// which no source row can match, is kept apart from the empty text.
QString keyPart(const QVariant& value) {
    return value.isNull() ? QStringLiteral("\u0001") : rtrimBlanks(value.toString());
}
QString rosterKey(const QVariant& sid, const QVariant& sub) {
    return keyPart(sid) + u'|' + keyPart(sub);
}

// The roster of one exam, rebuilt or updated all or nothing: the school's
// rows and exam.mdb's students are read first, exam.mdb is backed up, and
// the clearing (or marking) and every row are written in one transaction. A
// crash at any point leaves the old roster or the complete new one; a row
// the exam database refuses is left out alone and counted.
class RosterImport {
public:
    RosterImport(OperationFrame& frame, int slot, RosterMode mode)
        : m_frame(frame),
          m_context(frame.context()),
          m_window(frame.window()),
          m_settings(m_context.settings),
          m_table(rosterTableName(slot)),
          m_weightColumn(weightColumnName(slot)),
          m_mode(mode),
          m_prefix(termText(m_context.settings)),
          m_unchanged(m_prefix +
                      QStringLiteral("考試科目資料匯入失敗, 考試資料未變更, 請重新執行!")),
          m_slot(slot),
          m_insert(rosterInsert(slot)),
          m_update(rosterUpdate(slot)) {}

    // Runs everything after the question.
    void run() {
        if (!read()) return;
        if (!m_frame.holdExamAlone(m_unchanged)) return;
        if (!m_frame.beginWrite(m_context.exam, DatabaseRole::Exam, m_unchanged)) return;
        if (!prepareTable() || !write() || !deleteStale()) return;
        if (!m_frame.commitWrite(m_context.exam, DatabaseRole::Exam, m_unchanged)) return;
        report();
    }

private:
    // One roster row to write: an update of the row found by student id and
    // subject, or an insert. Every value is written as text: a student's
    // missing exam number, name or group becomes the empty text, never NULL.
    struct RowWrite {
        bool update = false;
        QString sid, classCode, seat, examno, name, sub, teacher, gro;
    };

    // Reads the school's rows and both lookups; false (the user told why)
    // when there is nothing to write or something cannot be read. Nothing
    // has been changed either way.
    bool read();
    // Empties the roster (rebuild) or marks every row stale (update).
    bool prepareTable();
    // Writes a row for every source row of a known student.
    bool write();
    // Update: removes the rows the source no longer yields.
    bool deleteStale();
    void report();

    // The write for the current source row; nothing when the row is skipped.
    std::optional<RowWrite> rowWrite();
    Connection::Contained writeRow(const RowWrite& row);

    OperationFrame& m_frame;
    AppContext& m_context;
    MainWindowInterface& m_window;
    const Settings& m_settings;
    const QString m_table;
    const QString m_weightColumn;
    const RosterMode m_mode;
    const QString m_prefix;
    const QString m_unchanged;
    const int m_slot;
    const QString m_insert;
    const QString m_update;

    std::unique_ptr<Recordset> m_source;
    std::unique_ptr<Recordset> m_students;
    // The keys of the roster's rows before the run; empty once it is emptied.
    QSet<QString> m_existing;
    int m_failedRows = 0;
    // New rows waiting to go in one statement.
    static constexpr std::size_t kRowsPerInsert = 500;
    std::vector<RowWrite> m_pending;
    // Rows of the update that the source no longer yields could not be
    // deleted: they are still there.
    bool m_staleRowsKept = false;
    // Students of the school's rows whom exam.mdb does not know: their rows
    // are not in the roster.
    ListedItems m_missingStudents;
    QSet<QString> m_missingSeen;
    int m_missingRows = 0;
};

bool RosterImport::read() {
    Connection& school = m_context.school;
    Connection& exam = m_context.exam;

    // The school's score rows of the term for subjects that count in this exam.
    const BoundQuery source = rosterSourceQuery(m_slot, m_settings);
    m_source = m_frame.open(school, source.sql, source.params);
    if (!m_source)
        return m_frame.abandon(school, DatabaseRole::School,
                               m_prefix + QStringLiteral("考試科目資料匯入失敗, 請重新執行!"));
    m_frame.showBusy();

    if (m_source->recordCount() < 1) {
        m_window.message(m_prefix + QStringLiteral("沒有可供匯入的考試科目資料!"),
                         Icon::Information);
        return false;
    }

    // Both lookups are read before the roster is touched, so that a lookup
    // that cannot be read leaves the roster exactly as it was.
    m_students = m_frame.open(exam, QStringLiteral("select examno,gro,sid,name from name"));
    if (!m_students)
        return m_frame.abandon(
            exam, DatabaseRole::Exam,
            m_prefix + QStringLiteral("考試科目資料匯入失敗, 無法讀取考試資料庫的學生資料, "
                                      "考試資料未變更, 請重新執行!"));
    // Marking rows '1' leaves student ids and subjects as they are, so the
    // keys read now are the keys the loop sees. Each key is made here from
    // its two columns: a key made in SQL would be NULL for a row with a NULL
    // part, and such a row would drop out of the set.
    std::unique_ptr<Recordset> keys =
        m_frame.open(exam, QStringLiteral("select sid,sub from ") + m_table);
    if (!keys)
        return m_frame.abandon(exam, DatabaseRole::Exam,
                               m_prefix +
                                   QStringLiteral("考試科目資料匯入失敗, 無法讀取考試資料庫的") +
                                   m_table + QStringLiteral("資料, 考試資料未變更, 請重新執行!"));
    m_existing.reserve(keys->recordCount());
    for (Recordset& row : *keys)
        m_existing.insert(
            rosterKey(row.value(QStringLiteral("sid")), row.value(QStringLiteral("sub"))));
    return true;
}

bool RosterImport::prepareTable() {
    Connection& exam = m_context.exam;
    const bool rebuild = m_mode == RosterMode::Rebuild;
    const QString statement = rebuild ? rosterClearing(m_slot) : rosterMarkUnconfirmed(m_slot);
    if (!exam.execute(statement))
        return m_frame.abandon(
            exam, DatabaseRole::Exam,
            m_prefix + QStringLiteral("考試科目資料匯入失敗, 無法") +
                (rebuild ? QStringLiteral("清除") : QStringLiteral("更新")) +
                QStringLiteral("考試資料庫中原有的考試科目資料, 沒有寫入任何資料, 請重新執行!"));
    if (rebuild) m_existing.clear();
    return true;
}

bool RosterImport::write() {
    bool lost = false;
    auto counted = [&](Connection::Contained outcome) {
        switch (outcome) {
            case Connection::Contained::Done:
                return true;
            case Connection::Contained::Refused:
                ++m_failedRows;
                m_context.exam.clearError();
                return true;
            case Connection::Contained::Lost:
                lost = true;
                return false;
        }
        return true;
    };
    // New rows go in a few hundred per statement where the engine takes
    // it: a statement costs more than its row. A statement that is refused
    // is sent again row by row, so that a refused row is still left out
    // alone. Pending rows are written before any update, in source order.
    const bool batched = insertsManyRows(m_context.exam.dialect());
    auto flush = [&] {
        if (m_pending.empty()) return true;
        QVariantList params;
        params.reserve(qsizetype(m_pending.size()) * 8);
        for (const RowWrite& row : m_pending)
            params << textParam(row.sid) << textParam(row.classCode) << textParam(row.seat)
                   << textParam(row.examno) << textParam(row.name) << textParam(row.sub)
                   << textParam(row.teacher) << textParam(row.gro);
        const auto outcome = m_context.exam.executeContained(
            rosterInsertRows(m_slot, int(m_pending.size())), params);
        bool ok = true;
        if (outcome == Connection::Contained::Refused) {
            m_context.exam.clearError();
            for (const RowWrite& row : m_pending)
                if (!counted(writeRow(row))) {
                    ok = false;
                    break;
                }
        } else {
            ok = counted(outcome);
        }
        m_pending.clear();
        return ok;
    };
    forEachRow(*m_source, m_window, [&](Recordset&) {
        const std::optional<RowWrite> row = rowWrite();
        if (!row) return true;
        if (batched && !row->update) {
            m_pending.push_back(*row);
            return m_pending.size() < kRowsPerInsert || flush();
        }
        return flush() && counted(writeRow(*row));
    });
    if (!lost) flush();
    return !lost || m_frame.abandon(m_context.exam, DatabaseRole::Exam, m_unchanged);
}

bool RosterImport::deleteStale() {
    // Rows the source no longer yields still carry '1' and go. After a row
    // that could not be written nothing is deleted: the unconfirmed rows
    // wait for the next run.
    if (m_mode != RosterMode::Update || m_failedRows > 0) return true;
    Connection& exam = m_context.exam;
    const auto deleted = exam.executeContained(rosterStaleDeletion(m_slot));
    if (deleted == Connection::Contained::Lost)
        return m_frame.abandon(exam, DatabaseRole::Exam, m_unchanged);
    if (deleted == Connection::Contained::Refused) {
        m_staleRowsKept = true;
        exam.clearError();
    }
    return true;
}

void RosterImport::report() {
    QString done = m_prefix + QStringLiteral("考試科目資料匯入完成!");
    if (m_failedRows > 0)
        done += QStringLiteral("但有 %1 筆考試科目資料無法寫入考試資料庫, 請重新執行!")
                    .arg(m_failedRows);
    else if (m_staleRowsKept)
        done += QStringLiteral(
            "但原有的考試科目資料無法清除, 已不需要的資料仍留在考試資料庫中, 請重新執行!");
    if (!m_missingStudents.isEmpty()) {
        done += QStringLiteral(
                    "\r\n下列 %1 位學生不在考試資料庫的學生資料中, 他們的 %2 筆考試科目資料未匯入, "
                    "請先執行學生資料匯入, 並檢查他們的班級與座號:\r\n")
                    .arg(m_missingStudents.count())
                    .arg(m_missingRows);
        done += m_missingStudents.text(QStringLiteral(", "), QStringLiteral("位"));
    }
    const QString note = m_frame.backupNote();
    if (!note.isEmpty()) done += QStringLiteral("\r\n") + note;
    // Rows that could not be written make the run a failure, however much
    // of it was done.
    if (m_failedRows > 0 || m_staleRowsKept)
        m_frame.reportFailure(done, Icon::None);
    else
        m_window.message(done, Icon::None);
}

std::optional<RosterImport::RowWrite> RosterImport::rowWrite() {
    // Subject codes are six characters; anything else is not an exam subject.
    const QString sub = m_source->text(QStringLiteral("sub"));
    if (rtrimBlanks(sub).size() != 6) return std::nullopt;

    const QString sid = rtrimBlanks(m_source->text(QStringLiteral("sid")));
    if (!m_students->findFirst(QStringLiteral("sid"), sid)) {
        ++m_missingRows;
        if (!m_missingSeen.contains(sid)) {
            m_missingSeen.insert(sid);
            m_missingStudents.add(sid);
        }
        return std::nullopt;
    }

    const QString gro = m_students->text(QStringLiteral("gro"));
    const QString examno = m_students->text(QStringLiteral("examno"));
    const QString name = m_students->text(QStringLiteral("name"));
    QString teacher = rtrimBlanks(m_source->text(QStringLiteral("tchno")));
    // A dedicated operator grades every paper: no row names a teacher.
    if (m_settings.dedicatedOperator > 0 || teacher.isEmpty()) teacher = kUnassignedTeacher;
    const ExamNumberParts parts = splitExamNumber(examno);
    const bool exists = m_existing.contains(rosterKey(sid, sub));
    return RowWrite{exists, sid, parts.classShortCode, parts.seat, examno, name, sub, teacher, gro};
}

Connection::Contained RosterImport::writeRow(const RowWrite& row) {
    Connection& exam = m_context.exam;
    if (row.update) {
        const auto updated = exam.executeContained(
            m_update, {textParam(row.classCode), textParam(row.seat), textParam(row.examno),
                       textParam(row.name), textParam(row.teacher), textParam(row.gro),
                       textParam(row.sid), textParam(row.sub)});
        // The key matched a row the update does not (the stored subject
        // differs in trailing blanks, say): the student still gets a row.
        if (updated != Connection::Contained::Done || exam.rowsAffected() != 0) return updated;
    }
    return exam.executeContained(
        m_insert,
        {textParam(row.sid), textParam(row.classCode), textParam(row.seat), textParam(row.examno),
         textParam(row.name), textParam(row.sub), textParam(row.teacher), textParam(row.gro)});
}

}  // namespace

void ImportExamRoster(AppContext& context) {
    MainWindowInterface& window = *context.window;
    const Settings& settings = context.settings;
    // The exam slot names the roster table and the weight column; one that
    // cannot do so stops here, before anything is asked or changed.
    const auto slot = examSlot(settings.examNo);
    if (!slot) {
        window.reportFailure(
            invalidExamSlotMessage(settings, QStringLiteral("考試科目資料匯入失敗")));
        return;
    }

    const Answer answer = window.message(
        QStringLiteral("選擇[是]清除所有資料重新轉入, 選擇[否]更新資料, 選擇[取消]離開"),
        Icon::None, Buttons::YesNoCancel, Answer::Yes);
    if (answer != Answer::Yes && answer != Answer::No) return;

    OperationFrame frame(context);
    RosterImport(frame, *slot, answer == Answer::Yes ? RosterMode::Rebuild : RosterMode::Update)
        .run();
}

}  // namespace korvex
