// Sending the graded scores of the configured exam from the roster
// (periodicalN in exam.mdb) to the exam's score column of sbscore.
#include <QHash>
#include <algorithm>
#include <memory>
#include <vector>

#include "core/ExamSlot.h"
#include "core/ValueRules.h"
#include "db/BatchedUpdate.h"
#include "db/Recordset.h"
#include "exam/ExamOperations.h"
#include "exam/ExamStatements.h"
#include "exam/ExamTexts.h"
#include "exam/ExportedScore.h"
#include "ops/AppContext.h"
#include "ops/OperationFrame.h"
#include "ops/RowLoop.h"

namespace korvex {
namespace {

using Icon = MainWindowInterface::Icon;

// Rows flagged per transaction on exam.mdb: Jet holds a lock for every row
// a shared transaction changes, and past its limit (9,500 by default) the
// transaction fails. A chunk lost to a crash is sent again by the next
// export and writes the same values.
constexpr int kFlagsPerTransaction = 5000;

// A roster row whose score goes out: its key and the values it was
// exported from, as read.
struct SentRow {
    QVariant sid, sub, score2, abs;
};

// A student and subject as the school database compares them: trailing
// blanks do not count; NULL matches nothing.
QString schoolKey(const QVariant& sid, const QVariant& sub) {
    if (sid.isNull() || sub.isNull()) return QString();
    return rtrimBlanks(sid.toString()) + u'|' + rtrimBlanks(sub.toString());
}

class ScoreExport {
public:
    ScoreExport(OperationFrame& frame, int slot)
        : m_frame(frame),
          m_context(frame.context()),
          m_window(frame.window()),
          m_settings(m_context.settings),
          m_slot(slot),
          m_table(rosterTableName(slot)),
          m_scoreColumn(scoreColumnName(slot)),
          m_prefix(termText(m_context.settings)) {}

    void run();

private:
    // How many score rows of the term each student and subject has.
    bool readScoreKeys();
    // Writes every score in the school's open transaction, a batch of rows
    // per statement; false as soon as one statement fails (the rest could
    // not be kept anyway).
    bool writeScores();
    // Takes the rows of the statement just sent, by what the server says it
    // changed.
    bool sentBatch(int changed);
    // Marks the rows whose score went out and whose score and absence are
    // still what was sent; false when a chunk of the marks could not be
    // written (the chunks before it stay). A row re-graded meanwhile keeps
    // upload 1, so that the next export sends its new score.
    bool flagExported();
    bool flagThroughSentTable(std::size_t from, std::size_t to);
    bool flagRowByRow(std::size_t from, std::size_t to);

    OperationFrame& m_frame;
    AppContext& m_context;
    MainWindowInterface& m_window;
    const Settings& m_settings;
    const int m_slot;
    const QString m_table;
    const QString m_scoreColumn;
    const QString m_prefix;

    std::unique_ptr<Recordset> m_rows;
    QHash<QString, int> m_scoreRows;  // key -> rows of sbscore in the term
    std::vector<SentRow> m_batch;     // the rows of the statement being filled
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
    if (!readScoreKeys() || !writeScores()) {
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

bool ScoreExport::readScoreKeys() {
    // One read of the term's keys tells which rows have a score row to
    // receive them, in place of a count per row from the server. It is read
    // inside the transaction that writes, just before the writes.
    const BoundQuery query = scoreKeysQuery(m_settings);
    std::unique_ptr<Recordset> keys = OpenRecordset(m_context.school, query.sql, query.params);
    if (!keys) return false;
    m_scoreRows.reserve(keys->recordCount());
    for (Recordset& row : *keys)
        ++m_scoreRows[schoolKey(row.value(QStringLiteral("sid")),
                                row.value(QStringLiteral("sub")))];
    m_scoreRows.remove(QString());
    return true;
}

bool ScoreExport::writeScores() {
    const std::unique_ptr<BatchedUpdate> batched =
        scoreUpdate(m_context.school, m_slot, m_settings);
    BatchedUpdate& update = *batched;
    // The rows of the statement being filled, with what they were read as.
    update.afterStatement = [this](const std::vector<BatchedUpdate::Row>&, int changed) {
        return sentBatch(changed);
    };
    m_exported.reserve(size_t(m_rows->recordCount()));
    bool failed = false;
    forEachRow(*m_rows, m_window, [&](Recordset& row) {
        SentRow sent{row.value(QStringLiteral("sid")), row.value(QStringLiteral("sub")),
                     row.value(QStringLiteral("score2")), row.value(QStringLiteral("abs"))};
        if (!update.add(exportedScoreValue(exportedScore(sent.abs, sent.score2)),
                        {sent.sid, sent.sub})) {
            failed = true;
            return false;
        }
        m_batch.push_back(std::move(sent));
        return true;
    });
    return !failed && update.finish();
}

bool ScoreExport::sentBatch(int changed) {
    int expected = 0;
    for (const SentRow& row : m_batch) expected += m_scoreRows.value(schoolKey(row.sid, row.sub));
    if (changed == expected) {
        for (SentRow& row : m_batch) {
            // A row with no score row to receive it has not been exported:
            // it keeps its flag and is counted for the closing message.
            if (m_scoreRows.contains(schoolKey(row.sid, row.sub)))
                m_exported.push_back(std::move(row));
            else
                ++m_withoutScoreRow;
        }
        m_batch.clear();
        return true;
    }
    // The server matched other rows than the keys said (a collation that
    // ignores letter case, a driver that counts differently): each row of
    // the statement is sent again on its own, writing the same values, and
    // its own count decides. A driver that cannot count is taken at its word.
    Connection& school = m_context.school;
    const QString single =
        QStringLiteral("update sbscore set ") + m_scoreColumn +
        QStringLiteral("=? where 學年度=? and 學期別=? and 身份證號=? and 科目碼=?");
    for (SentRow& row : m_batch) {
        if (!school.execute(single, {exportedScoreValue(exportedScore(row.abs, row.score2)),
                                     m_settings.year, m_settings.semester, row.sid, row.sub}))
            return false;
        if (school.rowsAffected() == 0)
            ++m_withoutScoreRow;
        else
            m_exported.push_back(std::move(row));
    }
    m_batch.clear();
    return true;
}

bool ScoreExport::flagExported() {
    Connection& exam = m_context.exam;
    for (std::size_t from = 0; from < m_exported.size(); from += kFlagsPerTransaction) {
        const std::size_t to = std::min(m_exported.size(), from + kFlagsPerTransaction);
        exam.clearError();
        const bool flagged = m_frame.begin(exam) &&
                             (exam.dialect() == SqlDialect::Sqlite ? flagThroughSentTable(from, to)
                                                                   : flagRowByRow(from, to)) &&
                             !exam.errorPending() && m_frame.commit(exam);
        if (!flagged) {
            m_flagFailure = failureReason(exam, DatabaseRole::Exam);
            m_frame.rollback(exam);
            exam.clearError();
            return false;
        }
    }
    return true;
}

// SQLite: the rows sent go into a temporary table with a key, and one
// statement flags the roster rows that match one of them in key, score and
// absence. The roster is read once per chunk, whatever indexes the grading
// program gave it (a statement per row would scan it once per row without an
// index on the student and subject).
bool ScoreExport::flagThroughSentTable(std::size_t from, std::size_t to) {
    Connection& exam = m_context.exam;
    if (!exam.execute(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS korvex_sent "
                                     "(sid, sub, score2, abs)")) ||
        !exam.execute(QStringLiteral("DELETE FROM temp.korvex_sent")))
        return false;
    // The rows go in a few hundred per statement: a statement costs more
    // than its rows (several times more under Wine), and the table is the
    // program's own, so no row of it can be refused alone.
    constexpr std::size_t kRowsPerInsert = 500;
    for (std::size_t i = from; i < to; i += kRowsPerInsert) {
        const std::size_t end = std::min(to, i + kRowsPerInsert);
        QString sql = QStringLiteral("INSERT INTO temp.korvex_sent VALUES (?,?,?,?)");
        QVariantList params{m_exported[i].sid, m_exported[i].sub, m_exported[i].score2,
                            m_exported[i].abs};
        for (std::size_t j = i + 1; j < end; ++j) {
            const SentRow& row = m_exported[j];
            sql += QStringLiteral(",(?,?,?,?)");
            params << row.sid << row.sub << row.score2 << row.abs;
        }
        if (!exam.execute(sql, params)) return false;
    }
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
bool ScoreExport::flagRowByRow(std::size_t from, std::size_t to) {
    Connection& exam = m_context.exam;
    for (std::size_t i = from; i < to; ++i) {
        const SentRow& row = m_exported[i];
        QVariantList params{row.sid, row.sub};
        for (const QVariant& value : {row.score2, row.abs})
            if (!value.isNull()) params << value;
        if (!exam.execute(exportedRowFlag(m_slot, row.score2.isNull(), row.abs.isNull()), params))
            return false;
    }
    return true;
}

}  // namespace

void ExportScores(AppContext& context) {
    // The exam slot names the roster table and the score column; one that
    // cannot do so stops here, before anything is changed.
    const auto slot = examSlot(context.settings.examNo);
    if (!slot) {
        context.window->reportFailure(
            invalidExamSlotMessage(context.settings, QStringLiteral("考試科目成績資料匯出失敗")));
        return;
    }
    OperationFrame frame(context);
    ScoreExport(frame, *slot).run();
}

}  // namespace korvex
