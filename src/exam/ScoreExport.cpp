// Sending the graded scores of the configured exam from the roster
// (periodicalN in exam.mdb) to the exam's score column of sbscore.
#include <memory>
#include <utility>
#include <vector>

#include "app/AppContext.h"
#include "db/ExamNumber.h"
#include "db/Recordset.h"
#include "exam/ExamOperations.h"
#include "exam/ExamTexts.h"
#include "exam/ExportedScore.h"

namespace korvex {
namespace {

using Icon = MainWindowInterface::Icon;

class ScoreExport {
public:
    ScoreExport(AppContext& context, int exam)
        : m_context(context),
          m_window(*context.window),
          m_settings(context.settings),
          m_table(rosterTableName(exam)),
          m_scoreColumn(scoreColumnName(exam)),
          m_prefix(examMessagePrefix(context.settings)) {}

    // Returns whether the busy display was shown (the caller ends it).
    bool run();

private:
    // Writes every score in the school's open transaction; false as soon as
    // one update fails (the rest could not be kept anyway).
    bool writeScores();
    // Marks exactly the rows whose score went out; false when the marks
    // could not be written (they are rolled back together).
    bool flagExported();

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

bool ScoreExport::run() {
    Connection& school = m_context.school;
    Connection& exam = m_context.exam;

    m_rows = OpenSnapshot(exam, QStringLiteral("select sid,score2,abs,sub from ") + m_table +
                                    QStringLiteral(" where upload=1"));
    m_window.yield();
    if (!m_rows) {
        exam.clearError();
        m_window.message(m_prefix + QStringLiteral("考試科目成績資料匯出失敗, 無法讀取考試資料庫的") +
                             m_table + QStringLiteral("資料, 沒有任何資料變更, 請重新執行!"),
                         Icon::Critical);
        return false;
    }
    m_window.showBusy();

    if (m_rows->recordCount() < 1) {
        m_window.message(m_prefix + QStringLiteral("沒有可供匯出的成績資料!"), Icon::Information);
        return true;
    }

    m_window.setBusyRange(m_rows->recordCount());
    school.clearError();
    // Every score of the run goes in one school transaction: all or none.
    const bool written = school.beginTransaction() && writeScores() && !school.errorPending() &&
                         school.commitTransaction();
    if (!written) {
        school.rollbackTransaction();
        m_window.message(m_prefix + QStringLiteral("考試科目成績資料匯出錯誤!"), Icon::Information);
        school.clearError();
        return true;
    }

    const bool flagged = flagExported();
    QString done = m_prefix + QStringLiteral("考試科目成績資料匯出完成!");
    if (m_withoutScoreRow > 0)
        done += QStringLiteral("其中 %1 筆在校務行政資料庫中沒有對應的學生成績資料, 未匯出, 仍待匯出!")
                    .arg(m_withoutScoreRow);
    if (!flagged && !m_exported.empty())
        done += QStringLiteral("成績已寫入校務行政資料庫, 但無法註記為已匯出, 下次匯出時將再寫入一次!");
    m_window.message(done, Icon::None);
    return true;
}

bool ScoreExport::writeScores() {
    Connection& school = m_context.school;
    const QString update = QStringLiteral("update sbscore set ") + m_scoreColumn +
                           QStringLiteral("=? where 學年度=? and 學期別=? and 身份證號=? and 科目碼=?");
    m_exported.reserve(size_t(m_rows->recordCount()));
    int counter = 0;
    m_rows->moveFirst();
    while (!m_rows->eof()) {
        const QVariant sid = m_rows->value(QStringLiteral("sid"));
        const QVariant sub = m_rows->value(QStringLiteral("sub"));
        const double score = exportedScore(m_rows->value(QStringLiteral("abs")),
                                           m_rows->value(QStringLiteral("score2")));
        if (!school.execute(update, {exportedScoreValue(score), m_settings.year,
                                     m_settings.semester, sid, sub}))
            return false;
        // A row with no score row to receive it has not been exported: it
        // keeps its flag and is counted for the closing message. A driver
        // that cannot count changed rows is taken at its word.
        if (school.rowsAffected() == 0)
            ++m_withoutScoreRow;
        else
            m_exported.emplace_back(sid, sub);
        ++counter;
        m_window.stepBusy(counter);
        m_rows->moveNext();
        m_window.yield();
    }
    return true;
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
    MainWindowInterface& window = *context.window;
    // The exam number names the roster table and the score column; one that
    // cannot do so stops here, before anything is changed.
    const auto exam = validExamNumber(context.settings.examNo);
    if (!exam) {
        window.message(
            invalidExamNumberMessage(context.settings, QStringLiteral("考試科目成績資料匯出失敗")),
            Icon::Critical);
        return;
    }

    window.setWindowEnabled(false);
    const bool busyShown = ScoreExport(context, *exam).run();
    window.setWindowEnabled(true);
    if (busyShown) window.endBusy();
}

}  // namespace korvex
