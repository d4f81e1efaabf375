// Sending the graded scores of the configured exam from the roster
// (periodicalN in exam.mdb) to the exam's score column of sbscore.
#include <memory>
#include <vector>

#include "core/ExamSlot.h"
#include "db/Recordset.h"
#include "exam/ExamOperations.h"
#include "exam/ExamTexts.h"
#include "exam/ExportedScore.h"
#include "ops/AppContext.h"
#include "ops/OperationFrame.h"
#include "ops/RowLoop.h"

namespace korvex {
namespace {

using Icon = MainWindowInterface::Icon;

// A roster row whose score went out: its key and the values it was
// exported from, as read.
struct SentRow {
    QVariant sid, sub, score2, abs;
};

class ScoreExport {
public:
    ScoreExport(OperationFrame& frame, int slot)
        : m_frame(frame),
          m_context(frame.context()),
          m_window(frame.window()),
          m_settings(m_context.settings),
          m_table(rosterTableName(slot)),
          m_scoreColumn(scoreColumnName(slot)),
          m_prefix(termText(m_context.settings)) {}

    void run();

private:
    // Writes every score in the school's open transaction; false as soon as
    // one update fails (the rest could not be kept anyway).
    bool writeScores();
    // Marks the rows whose score went out and whose score and absence are
    // still what was sent; false when the marks could not be written (they
    // are rolled back together). A row re-graded meanwhile keeps upload 1,
    // so that the next export sends its new score.
    bool flagExported();
    bool flagThroughSentTable();
    bool flagRowByRow();

    OperationFrame& m_frame;
    AppContext& m_context;
    MainWindowInterface& m_window;
    const Settings& m_settings;
    const QString m_table;
    const QString m_scoreColumn;
    const QString m_prefix;

    std::unique_ptr<Recordset> m_rows;
    std::vector<SentRow> m_exported;
    int m_withoutScoreRow = 0;
    QString m_flagFailure;
};

void ScoreExport::run() {
    Connection& school = m_context.school;
    Connection& exam = m_context.exam;

    m_rows = m_frame.open(exam, QStringLiteral("select sid,score2,abs,sub from ") + m_table +
                                    QStringLiteral(" where upload=1"));
    if (!m_rows) {
        m_frame.abandon(exam, DatabaseRole::Exam,
                        m_prefix +
                            QStringLiteral("考試科目成績資料匯出失敗, 無法讀取考試資料庫的") +
                            m_table + QStringLiteral("資料, 沒有任何資料變更, 請重新執行!"));
        return;
    }
    m_frame.showBusy();

    if (m_rows->recordCount() < 1) {
        m_window.message(m_prefix + QStringLiteral("沒有可供匯出的成績資料!"), Icon::Information);
        return;
    }

    // Every score of the run goes in one school transaction: all or none.
    // The failure carries the information icon the office has always seen
    // on it; it is a failure all the same (korvex-batch ends with status 3).
    const QString failed = m_prefix + QStringLiteral("考試科目成績資料匯出錯誤!");
    if (!m_frame.beginWrite(school, DatabaseRole::School, failed, Icon::Information)) return;
    if (!writeScores()) {
        m_frame.abandon(school, DatabaseRole::School, failed, Icon::Information);
        return;
    }
    if (!m_frame.commitWrite(school, DatabaseRole::School, failed, Icon::Information)) return;

    const bool flagged = flagExported();
    QString done = m_prefix + QStringLiteral("考試科目成績資料匯出完成!");
    if (m_withoutScoreRow > 0)
        done +=
            QStringLiteral("其中 %1 筆在校務行政資料庫中沒有對應的學生成績資料, 未匯出, 仍待匯出!")
                .arg(m_withoutScoreRow);
    if (flagged) {
        m_window.message(done, Icon::None);
        return;
    }
    done += withReason(
        QStringLiteral("成績已寫入校務行政資料庫, 但無法註記為已匯出, 下次匯出時將再寫入一次!"),
        m_flagFailure);
    m_frame.reportFailure(done, Icon::None);
}

bool ScoreExport::writeScores() {
    Connection& school = m_context.school;
    const QString update =
        QStringLiteral("update sbscore set ") + m_scoreColumn +
        QStringLiteral("=? where 學年度=? and 學期別=? and 身份證號=? and 科目碼=?");
    m_exported.reserve(size_t(m_rows->recordCount()));
    bool failed = false;
    forEachRow(*m_rows, m_window, [&](Recordset& row) {
        const SentRow sent{row.value(QStringLiteral("sid")), row.value(QStringLiteral("sub")),
                           row.value(QStringLiteral("score2")), row.value(QStringLiteral("abs"))};
        const double score = exportedScore(sent.abs, sent.score2);
        if (!school.execute(update, {exportedScoreValue(score), m_settings.year,
                                     m_settings.semester, sent.sid, sent.sub})) {
            failed = true;
            return false;
        }
        // A row with no score row to receive it has not been exported: it
        // keeps its flag and is counted for the closing message. A driver
        // that cannot count changed rows is taken at its word.
        if (school.rowsAffected() == 0)
            ++m_withoutScoreRow;
        else
            m_exported.push_back(sent);
        return true;
    });
    return !failed;
}

bool ScoreExport::flagExported() {
    if (m_exported.empty()) return true;
    Connection& exam = m_context.exam;
    exam.clearError();
    if (!m_frame.begin(exam)) {
        m_flagFailure = failureReason(exam, DatabaseRole::Exam);
        exam.clearError();
        return false;
    }
    const bool flagged =
        exam.dialect() == SqlDialect::Sqlite ? flagThroughSentTable() : flagRowByRow();
    if (flagged && !exam.errorPending() && m_frame.commit(exam)) return true;
    m_flagFailure = failureReason(exam, DatabaseRole::Exam);
    m_frame.rollback(exam);
    exam.clearError();
    return false;
}

// SQLite: the rows sent go into a temporary table with a key, and one
// statement flags the roster rows that match one of them in key, score and
// absence. The roster is read once, whatever indexes the grading program
// gave it (a statement per row would scan it once per row without an index
// on the student and subject).
bool ScoreExport::flagThroughSentTable() {
    Connection& exam = m_context.exam;
    if (!exam.execute(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS korvex_sent "
                                     "(sid, sub, score2, abs)")) ||
        !exam.execute(QStringLiteral("DELETE FROM temp.korvex_sent")))
        return false;
    for (const SentRow& row : m_exported)
        if (!exam.execute(QStringLiteral("INSERT INTO temp.korvex_sent VALUES (?,?,?,?)"),
                          {row.sid, row.sub, row.score2, row.abs}))
            return false;
    // IS compares NULL with NULL as equal: an absence left empty is still
    // the absence that was sent.
    const bool flagged =
        exam.execute(QStringLiteral("CREATE INDEX IF NOT EXISTS temp.korvex_sent_key "
                                    "ON korvex_sent (sid, sub)")) &&
        exam.execute(QStringLiteral("update ") + m_table +
                     QStringLiteral(" set upload=2 where upload*1=1 and exists (select 1 from "
                                    "temp.korvex_sent s where s.sid = ") +
                     m_table + QStringLiteral(".sid and s.sub = ") + m_table +
                     QStringLiteral(".sub and s.score2 is ") + m_table +
                     QStringLiteral(".score2 and s.abs is ") + m_table + QStringLiteral(".abs)"));
    exam.execute(QStringLiteral("DROP TABLE IF EXISTS temp.korvex_sent"));
    return flagged;
}

// Access: one statement per row, matching key, score and absence; a missing
// value is matched with IS NULL, as Jet never finds NULL equal to anything.
bool ScoreExport::flagRowByRow() {
    Connection& exam = m_context.exam;
    for (const SentRow& row : m_exported) {
        QString sql = QStringLiteral("update ") + m_table +
                      QStringLiteral(" set upload=2 where sid=? and sub=? and upload*1=1");
        QVariantList params{row.sid, row.sub};
        for (const auto& [column, value] : {std::pair{QStringLiteral("score2"), row.score2},
                                            std::pair{QStringLiteral("abs"), row.abs}}) {
            if (value.isNull()) {
                sql += QStringLiteral(" and ") + column + QStringLiteral(" is null");
            } else {
                sql += QStringLiteral(" and ") + column + QStringLiteral("=?");
                params << value;
            }
        }
        if (!exam.execute(sql, params)) return false;
    }
    return true;
}

}  // namespace

void ExportScores(AppContext& context) {
    // The exam slot names the roster table and the score column; one that
    // cannot do so stops here, before anything is changed.
    const auto slot = examSlot(context.settings.examNo);
    if (!slot) {
        context.window->message(
            invalidExamSlotMessage(context.settings, QStringLiteral("考試科目成績資料匯出失敗")),
            Icon::Critical);
        return;
    }
    OperationFrame frame(context);
    ScoreExport(frame, *slot).run();
}

}  // namespace korvex
