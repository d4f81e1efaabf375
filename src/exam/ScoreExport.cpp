// Sending the graded scores of the configured exam from the roster
// (periodicalN in exam.mdb) to the exam's score column of sbscore.
#include <memory>
#include <utility>
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
    // Marks exactly the rows whose score went out; false when the marks
    // could not be written (they are rolled back together).
    bool flagExported();

    OperationFrame& m_frame;
    AppContext& m_context;
    MainWindowInterface& m_window;
    const Settings& m_settings;
    const QString m_table;
    const QString m_scoreColumn;
    const QString m_prefix;

    std::unique_ptr<Recordset> m_rows;
    // Student id and subject, as read, of every row whose score was written.
    std::vector<std::pair<QVariant, QVariant>> m_exported;
    int m_withoutScoreRow = 0;
};

void ScoreExport::run() {
    Connection& school = m_context.school;
    Connection& exam = m_context.exam;

    m_rows = m_frame.open(exam, QStringLiteral("select sid,score2,abs,sub from ") + m_table +
                                    QStringLiteral(" where upload=1"));
    if (!m_rows) {
        exam.clearError();
        m_window.message(m_prefix +
                             QStringLiteral("考試科目成績資料匯出失敗, 無法讀取考試資料庫的") +
                             m_table + QStringLiteral("資料, 沒有任何資料變更, 請重新執行!"),
                         Icon::Critical);
        return;
    }
    m_frame.showBusy();

    if (m_rows->recordCount() < 1) {
        m_window.message(m_prefix + QStringLiteral("沒有可供匯出的成績資料!"), Icon::Information);
        return;
    }

    school.clearError();
    // Every score of the run goes in one school transaction: all or none.
    const bool written =
        m_frame.begin(school) && writeScores() && !school.errorPending() && m_frame.commit(school);
    if (!written) {
        m_frame.rollback(school);
        m_window.message(m_prefix + QStringLiteral("考試科目成績資料匯出錯誤!"), Icon::Information);
        school.clearError();
        return;
    }

    const bool flagged = flagExported();
    QString done = m_prefix + QStringLiteral("考試科目成績資料匯出完成!");
    if (m_withoutScoreRow > 0)
        done +=
            QStringLiteral("其中 %1 筆在校務行政資料庫中沒有對應的學生成績資料, 未匯出, 仍待匯出!")
                .arg(m_withoutScoreRow);
    if (!flagged && !m_exported.empty())
        done +=
            QStringLiteral("成績已寫入校務行政資料庫, 但無法註記為已匯出, 下次匯出時將再寫入一次!");
    m_window.message(done, Icon::None);
}

bool ScoreExport::writeScores() {
    Connection& school = m_context.school;
    const QString update =
        QStringLiteral("update sbscore set ") + m_scoreColumn +
        QStringLiteral("=? where 學年度=? and 學期別=? and 身份證號=? and 科目碼=?");
    m_exported.reserve(size_t(m_rows->recordCount()));
    bool failed = false;
    forEachRow(*m_rows, m_window, [&](Recordset& row) {
        const QVariant sid = row.value(QStringLiteral("sid"));
        const QVariant sub = row.value(QStringLiteral("sub"));
        const double score =
            exportedScore(row.value(QStringLiteral("abs")), row.value(QStringLiteral("score2")));
        if (!school.execute(update, {exportedScoreValue(score), m_settings.year,
                                     m_settings.semester, sid, sub})) {
            failed = true;
            return false;
        }
        // A row with no score row to receive it has not been exported: it
        // keeps its flag and is counted for the closing message. A driver
        // that cannot count changed rows is taken at its word.
        if (school.rowsAffected() == 0)
            ++m_withoutScoreRow;
        else
            m_exported.emplace_back(sid, sub);
        return true;
    });
    return !failed;
}

bool ScoreExport::flagExported() {
    if (m_exported.empty()) return true;
    Connection& exam = m_context.exam;
    exam.clearError();
    // Only a row still waiting is flagged. The flag is tested as an
    // expression so that the row is looked up by student and subject, not
    // by walking every waiting row once per exported row.
    const QString flag = QStringLiteral("update ") + m_table +
                         QStringLiteral(" set upload=2 where sid=? and sub=? and upload*1=1");
    return exam.guardedBatch([&] {
        // Without the transaction the marks could not be taken back together.
        if (!exam.inTransaction()) return;
        for (const auto& [sid, sub] : m_exported)
            if (!exam.execute(flag, {sid, sub})) break;
    });
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
