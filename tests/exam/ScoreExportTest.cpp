#include <gtest/gtest.h>
#include <functional>

#include "ExamFixture.h"
#include "HostCommand.h"
#include "db/SqlDialect.h"
#include "db/SqliteHandle.h"
#include "exam/ExamOperations.h"
#include "exam/ExportedScore.h"

using namespace korvex;
using namespace korvex::test;
using korvex::test::hostPath;
using Icon = MainWindowInterface::Icon;

namespace {

TEST(ExportedScore, AbsenceRoundingAndEmptyValues) {
    // Absent (abs above 0, read by its leading number): -9 whatever the score.
    EXPECT_EQ(exportedScore(1, 73), -9);
    EXPECT_EQ(exportedScore(QStringLiteral("2x"), 73), -9);
    EXPECT_EQ(exportedScore(QStringLiteral(" 0.5"), 73), -9);
    // Present: halves go to the even neighbour.
    EXPECT_EQ(exportedScore(QVariant(), 72.5), 72);
    EXPECT_EQ(exportedScore(0, 73.5), 74);
    EXPECT_EQ(exportedScore(QString(), QStringLiteral("84.5")), 84);
    EXPECT_EQ(exportedScore(QStringLiteral("abc"), 85.5), 86);
    EXPECT_EQ(exportedScore(-1, 84.4), 84);
    EXPECT_EQ(exportedScore(0, 84.6), 85);
    // A score summed from half and tenth points carries noise in its last
    // digits; it rounds as the half point it shows.
    EXPECT_EQ(exportedScore(0, 72.50000000000001), 72);
    EXPECT_EQ(exportedScore(0, 73.49999999999999), 74);
    EXPECT_EQ(exportedScore(0, 1e20), 1e20);
    // Numbers have no exponent: a score kept as text stops at the letter, a
    // tiny stored number is a tiny number, not the 3 of "3e-05".
    EXPECT_EQ(exportedScore(0, QStringLiteral("8e1")), 8);
    EXPECT_EQ(exportedScore(0, 3e-5), 0);
    EXPECT_EQ(exportedScore(0, QVariant(3e-5f)), 0);
    EXPECT_EQ(exportedScore(QStringLiteral("0e1"), 73), 73);
    // Empty, NULL or non-numeric scores are 0.
    EXPECT_EQ(exportedScore(0, QVariant()), 0);
    EXPECT_EQ(exportedScore(0, QString()), 0);
    EXPECT_EQ(exportedScore(0, QStringLiteral("缺")), 0);
    // The bound value is a whole number.
    EXPECT_EQ(exportedScoreValue(74).typeId(), QMetaType::LongLong);
    EXPECT_EQ(exportedScoreValue(-9).toLongLong(), -9);
}

// A window that lets the test act as the grading program while the export runs.
class BusyWindow : public ScriptedWindow {
public:
    std::function<void(int)> onYield;
    void yield() override {
        ScriptedWindow::yield();
        if (onYield) onYield(yields);
    }
};

class ScoreExport : public ExamFixture {
protected:
    void SetUp() override {
        ExamFixture::SetUp();
        context.window = &m_busyWindow;
        m_busyWindow.windowCaption = window.windowCaption;
        // Score rows of term 94/1 and one of another term with the same key.
        for (const auto& [sid, subject] :
             {std::pair{"A1", "CHI001"}, std::pair{"A1", "MAT001"}, std::pair{"A2", "CHI001"},
              std::pair{"B3", "CHI001"}, std::pair{"C4", "CHI001"}, std::pair{"D5", "CHI001"}})
            addScoreRow(QString::fromLatin1(sid), QStringLiteral("301101"),
                        QString::fromLatin1(subject));
        addScoreRow(QStringLiteral("A1"), QStringLiteral("301101"), QStringLiteral("CHI001"),
                    QStringLiteral("93"), QStringLiteral("2"));
        runSchool({QStringLiteral("update sbscore set 考試成績1 = 50")});

        // Four rows waiting, one not yet graded, one exported before.
        addRosterRow(QStringLiteral("A1"), QStringLiteral("10101"), QStringLiteral("CHI001"),
                     QStringLiteral("0"), 72.5, QVariant(), 1);
        addRosterRow(QStringLiteral("A1"), QStringLiteral("10101"), QStringLiteral("MAT001"),
                     QStringLiteral("0"), 73.5, QStringLiteral("0"), 1);
        addRosterRow(QStringLiteral("A2"), QStringLiteral("10102"), QStringLiteral("CHI001"),
                     QStringLiteral("0"), 73, 1, 1);
        addRosterRow(QStringLiteral("B3"), QStringLiteral("10201"), QStringLiteral("CHI001"),
                     QStringLiteral("0"), QVariant(), QString(), 1);
        addRosterRow(QStringLiteral("C4"), QStringLiteral("10202"), QStringLiteral("CHI001"),
                     QStringLiteral("0"), 99, QVariant(), 0);
        addRosterRow(QStringLiteral("D5"), QStringLiteral("10203"), QStringLiteral("CHI001"),
                     QStringLiteral("0"), 98, QVariant(), 2);
    }

    QStringList scores() const {
        return school(
            QStringLiteral("select 學年度, 身份證號, 科目碼, 考試成績1, 考試成績2 from sbscore "
                           "order by 學年度, 身份證號, 科目碼"));
    }
    QStringList flags() const { return roster(QStringLiteral("sid,sub,upload")); }
    void expectWindowRestored() const {
        EXPECT_TRUE(m_busyWindow.enabled);
        EXPECT_FALSE(m_busyWindow.busyVisible);
        EXPECT_FALSE(m_busyWindow.hourglass);
    }

    BusyWindow m_busyWindow;
};

TEST_F(ScoreExport, WritesScoresFlagsTheRowsAndFindsNothingTheSecondTime) {
    ExportScores(context);

    EXPECT_EQ(
        scores(),
        (QStringList{
            QStringLiteral("93|A1|CHI001|50|<null>"), QStringLiteral("94|A1|CHI001|72|<null>"),
            QStringLiteral("94|A1|MAT001|74|<null>"), QStringLiteral("94|A2|CHI001|-9|<null>"),
            QStringLiteral("94|B3|CHI001|0|<null>"), QStringLiteral("94|C4|CHI001|50|<null>"),
            QStringLiteral("94|D5|CHI001|50|<null>")}));
    EXPECT_EQ(flags(), (QStringList{QStringLiteral("A1|CHI001|2"), QStringLiteral("A1|MAT001|2"),
                                    QStringLiteral("A2|CHI001|2"), QStringLiteral("B3|CHI001|2"),
                                    QStringLiteral("C4|CHI001|0"), QStringLiteral("D5|CHI001|2")}));
    ASSERT_EQ(m_busyWindow.messages.size(), 1);
    const auto& done = m_busyWindow.messages.first();
    EXPECT_EQ(done.text, prefix() + QStringLiteral("考試科目成績資料匯出完成!"));
    EXPECT_EQ(done.icon, Icon::None);
    EXPECT_EQ(done.title, m_busyWindow.windowCaption);
    EXPECT_EQ(done.labelText, QStringLiteral("000004/000004"));
    EXPECT_EQ(m_busyWindow.events,
              (QStringList{QStringLiteral("disable"), QStringLiteral("busy"),
                           QStringLiteral("range 4"), QStringLiteral("message ") + done.text,
                           QStringLiteral("enable"), QStringLiteral("end")}));
    expectWindowRestored();

    // Nothing new graded: the information message, nothing changes.
    const QStringList scoresBefore = scores();
    m_busyWindow.messages.clear();
    ExportScores(context);
    ASSERT_EQ(m_busyWindow.messages.size(), 1);
    EXPECT_EQ(m_busyWindow.messages.first().text,
              prefix() + QStringLiteral("沒有可供匯出的成績資料!"));
    EXPECT_EQ(m_busyWindow.messages.first().icon, Icon::Information);
    EXPECT_EQ(scores(), scoresBefore);
    expectWindowRestored();
}

TEST_F(ScoreExport, FlagsOnlyWhatWentOutAndCountsRowsWithoutAScoreRow) {
    // A graded row for which the school holds no score row.
    addRosterRow(QStringLiteral("E6"), QStringLiteral("10204"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 60, QVariant(), 1);
    // While the export runs, the grading program marks another row ready.
    m_busyWindow.onYield = [&](int count) {
        if (count == 1) runExam({QStringLiteral("update periodical1 set upload=1 where sid='C4'")});
    };

    ExportScores(context);

    EXPECT_EQ(flags(), (QStringList{QStringLiteral("A1|CHI001|2"), QStringLiteral("A1|MAT001|2"),
                                    QStringLiteral("A2|CHI001|2"), QStringLiteral("B3|CHI001|2"),
                                    QStringLiteral("C4|CHI001|1"), QStringLiteral("D5|CHI001|2"),
                                    QStringLiteral("E6|CHI001|1")}));
    EXPECT_EQ(school(QStringLiteral("select 考試成績1 from sbscore where 身份證號='C4'")),
              QStringList{QStringLiteral("50")});
    ASSERT_EQ(m_busyWindow.messages.size(), 1);
    EXPECT_EQ(
        m_busyWindow.messages.first().text,
        prefix() + QStringLiteral("考試科目成績資料匯出完成!其中 1 筆在校務行政資料庫中沒有對應的"
                                  "學生成績資料, 未匯出, 仍待匯出!"));
    EXPECT_EQ(m_busyWindow.messages.first().labelText, QStringLiteral("000005/000005"));

    // The next run exports the row marked meanwhile; E6 still waits.
    m_busyWindow.onYield = nullptr;
    m_busyWindow.messages.clear();
    runExam({QStringLiteral("update periodical1 set score2=61 where sid='C4'")});
    ExportScores(context);
    EXPECT_EQ(school(QStringLiteral("select 考試成績1 from sbscore where 身份證號='C4'")),
              QStringList{QStringLiteral("61")});
    EXPECT_EQ(examRows(QStringLiteral("select sid, upload from periodical1 where upload=1")),
              QStringList{QStringLiteral("E6|1")});
}

TEST_F(ScoreExport, ARowRegradedDuringTheExportWaitsForTheNextOne) {
    // While the scores go out, the grading program re-grades A1's Chinese
    // (score) and marks A2 absent no more (absence): the values sent are not
    // the ones the rows hold now, so both keep upload 1. A row re-graded to
    // the very value it had is still the value sent.
    m_busyWindow.onYield = [&](int count) {
        if (count == 2)
            runExam(
                {QStringLiteral("update periodical1 set score2=80 where sid='A1' and sub='CHI001'"),
                 QStringLiteral("update periodical1 set abs=0 where sid='A2'"),
                 QStringLiteral("update periodical1 set score2=73.5 where sub='MAT001'")});
    };

    ExportScores(context);

    EXPECT_EQ(flags(), (QStringList{QStringLiteral("A1|CHI001|1"), QStringLiteral("A1|MAT001|2"),
                                    QStringLiteral("A2|CHI001|1"), QStringLiteral("B3|CHI001|2"),
                                    QStringLiteral("C4|CHI001|0"), QStringLiteral("D5|CHI001|2")}));
    // The next export sends the new values and flags them.
    m_busyWindow.onYield = nullptr;
    ExportScores(context);
    EXPECT_EQ(school(QStringLiteral("select 身份證號, 考試成績1 from sbscore where 學年度='94' and "
                                    "科目碼='CHI001' and 身份證號 in ('A1','A2') order by 1")),
              (QStringList{QStringLiteral("A1|80"), QStringLiteral("A2|73")}));
    EXPECT_TRUE(examRows(QStringLiteral("select sid from periodical1 where upload=1")).isEmpty());
}

TEST_F(ScoreExport, OnAccessEachRowIsFlaggedByItsKeyScoreAndAbsence) {
    // The statements an Access exam.mdb receives, run on the SQLite file
    // through ODBC: one update per row, matching a missing value with IS NULL.
    context.exam.close();
    ASSERT_TRUE(context.exam.openOdbc(
        QStringLiteral("Driver=SQLite3;Database=%1;").arg(hostPath(m_examFile)), SqlDialect::Access,
        m_examFile));
    m_busyWindow.onYield = [&](int count) {
        if (count == 2)
            runExam({QStringLiteral(
                "update periodical1 set score2=80 where sid='A1' and sub='CHI001'")});
    };

    ExportScores(context);

    // B3 was sent with no score and no absence; A1's Chinese was re-graded.
    EXPECT_EQ(flags(), (QStringList{QStringLiteral("A1|CHI001|1"), QStringLiteral("A1|MAT001|2"),
                                    QStringLiteral("A2|CHI001|2"), QStringLiteral("B3|CHI001|2"),
                                    QStringLiteral("C4|CHI001|0"), QStringLiteral("D5|CHI001|2")}));
}

TEST_F(ScoreExport, AFailingScoreUpdateRollsBackTheWholeExport) {
    const QStringList scoresBefore = scores();
    const QStringList flagsBefore = flags();
    // ABORT undoes the one statement; ROLLBACK ends the whole transaction,
    // after which nothing more may be written.
    for (const char* how : {"ABORT", "ROLLBACK"}) {
        runSchool({QStringLiteral(
                       "CREATE TRIGGER refuse BEFORE UPDATE ON sbscore WHEN NEW.身份證號 = 'A2' "
                       "BEGIN SELECT RAISE(%1, 'refused'); END")
                       .arg(QString::fromLatin1(how))});
        m_busyWindow.messages.clear();

        ExportScores(context);

        EXPECT_EQ(scores(), scoresBefore) << how;
        EXPECT_EQ(flags(), flagsBefore) << how;
        ASSERT_EQ(m_busyWindow.messages.size(), 1);
        // The message says why: the school database refused the score.
        EXPECT_EQ(m_busyWindow.messages.first().text,
                  prefix() +
                      QStringLiteral("考試科目成績資料匯出錯誤!\r\n原因: 校務行政資料庫: refused"));
        EXPECT_EQ(m_busyWindow.messages.first().icon, Icon::Information);
        EXPECT_FALSE(context.school.errorPending());
        EXPECT_FALSE(context.school.inTransaction());
        expectWindowRestored();
        runSchool({QStringLiteral("DROP TRIGGER refuse")});
    }

    // The same rows go out once the school database accepts them.
    m_busyWindow.messages.clear();
    ExportScores(context);
    EXPECT_EQ(school(QStringLiteral("select 考試成績1 from sbscore where 身份證號='A2'")),
              QStringList{QStringLiteral("-9")});
}

TEST_F(ScoreExport, FlagsThatCannotBeWrittenKeepTheRowsWaitingAndSaySo) {
    runExam(
        {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE OF upload ON periodical1 "
                        "WHEN NEW.sid = 'B3' BEGIN SELECT RAISE(ABORT, 'locked'); END")});
    const QStringList flagsBefore = flags();

    ExportScores(context);

    // The scores are committed; every flag stays as it was.
    EXPECT_EQ(
        school(QStringLiteral("select 考試成績1 from sbscore where 學年度='94' and 身份證號='A1' "
                              "order by 科目碼")),
        (QStringList{QStringLiteral("72"), QStringLiteral("74")}));
    EXPECT_EQ(flags(), flagsBefore);
    ASSERT_EQ(m_busyWindow.messages.size(), 1);
    EXPECT_EQ(
        m_busyWindow.messages.first().text,
        prefix() +
            QStringLiteral("考試科目成績資料匯出完成!成績已寫入校務行政資料庫, 但無法註記為已匯出, "
                           "下次匯出時將再寫入一次!\r\n原因: 考試資料庫 exam.mdb: locked"));
    expectWindowRestored();
}

TEST_F(ScoreExport, NothingChangesWhenTheExamNumberOrTheRowsCannotBeUsed) {
    const QStringList scoresBefore = scores();
    const QStringList flagsBefore = flags();

    context.settings.examNo = QStringLiteral("9");
    ExportScores(context);
    ASSERT_EQ(m_busyWindow.messages.size(), 1);
    EXPECT_EQ(m_busyWindow.messages.first().icon, Icon::Critical);
    EXPECT_TRUE(m_busyWindow.messages.first().text.startsWith(
        prefix() + QStringLiteral("考試科目成績資料匯出失敗")));
    EXPECT_TRUE(m_busyWindow.messages.first().text.contains(QStringLiteral("「9」")));
    EXPECT_EQ(m_busyWindow.disableCount, 0);

    context.settings.examNo = QStringLiteral("1");
    runExam({QStringLiteral("ALTER TABLE periodical1 RENAME TO periodical1_gone")});
    m_busyWindow.messages.clear();
    m_busyWindow.events.clear();
    ExportScores(context);
    ASSERT_EQ(m_busyWindow.messages.size(), 1);
    EXPECT_EQ(m_busyWindow.messages.first().icon, Icon::Critical);
    EXPECT_TRUE(m_busyWindow.messages.first().text.startsWith(
        prefix() +
        QStringLiteral("考試科目成績資料匯出失敗, 無法讀取考試資料庫的periodical1資料")));
    EXPECT_FALSE(m_busyWindow.events.contains(QStringLiteral("busy")));
    EXPECT_FALSE(context.exam.errorPending());
    expectWindowRestored();
    runExam({QStringLiteral("ALTER TABLE periodical1_gone RENAME TO periodical1")});

    EXPECT_EQ(scores(), scoresBefore);
    EXPECT_EQ(flags(), flagsBefore);
}

}  // namespace

namespace {

// Counts the rows each transaction of an SQLite connection changes in its
// main database, as the engine itself reports them.
struct ChangesPerTransaction {
    explicit ChangesPerTransaction(Connection& connection)
        : handle(sqliteHandle(connection.database())) {
        sqlite3_update_hook(handle, &ChangesPerTransaction::changed, this);
        sqlite3_commit_hook(handle, &ChangesPerTransaction::committed, this);
        sqlite3_rollback_hook(handle, &ChangesPerTransaction::rolledBack, this);
    }
    ~ChangesPerTransaction() {
        sqlite3_update_hook(handle, nullptr, nullptr);
        sqlite3_commit_hook(handle, nullptr, nullptr);
        sqlite3_rollback_hook(handle, nullptr, nullptr);
    }
    static void changed(void* self, int, const char* database, const char*, sqlite3_int64) {
        if (qstrcmp(database, "main") == 0) ++static_cast<ChangesPerTransaction*>(self)->current;
    }
    static int committed(void* self) {
        auto* me = static_cast<ChangesPerTransaction*>(self);
        me->commits.push_back(me->current);
        me->current = 0;
        return 0;
    }
    static void rolledBack(void* self) { static_cast<ChangesPerTransaction*>(self)->current = 0; }

    sqlite3* handle;
    int current = 0;
    std::vector<int> commits;
};

// A large export: the school gets at most one statement per 500 rows, and
// no transaction on exam.mdb changes more rows than Jet's lock limit
// allows with room to spare.
TEST_F(ScoreExport, LargeExportSendsBatchesAndFlagsInBoundedTransactions) {
    constexpr int kRows = 12000;
    insert(m_schoolFile, QStringLiteral("BEGIN"), {});
    insert(m_examFile, QStringLiteral("BEGIN"), {});
    for (int i = 0; i < kRows; ++i) {
        const QString sid = QStringLiteral("S%1").arg(i, 6, 10, QLatin1Char('0'));
        addScoreRow(sid, QStringLiteral("301101"), QStringLiteral("ENG001"));
        addRosterRow(sid, QStringLiteral("10101"), QStringLiteral("ENG001"), QStringLiteral("0"),
                     i % 101, QVariant(), 1);
    }
    insert(m_schoolFile, QStringLiteral("COMMIT"), {});
    insert(m_examFile, QStringLiteral("COMMIT"), {});

    int schoolStatements = 0;
    Connection::setStatementObserver([&](const Connection& connection, const QString&) {
        if (&connection == &context.school) ++schoolStatements;
    });
    ChangesPerTransaction changes(context.exam);
    ExportScores(context);
    Connection::setStatementObserver({});

    EXPECT_LE(schoolStatements, kRows / 500 + 3);  // the keys, the batches, a last one
    ASSERT_GE(changes.commits.size(), size_t(3));
    int flagged = 0;
    for (const int n : changes.commits) {
        EXPECT_LE(n, 5000);
        flagged += n;
    }
    // The fixture's four waiting rows of SetUp are flagged too.
    EXPECT_EQ(flagged, kRows + 4);
    EXPECT_TRUE(
        examRows(QStringLiteral("select sid from periodical1 where upload=1 and sub='ENG001'"))
            .isEmpty());
    EXPECT_EQ(school(QStringLiteral("select 考試成績1 from sbscore where 身份證號='S000203'")),
              QStringList{QStringLiteral("1")});
}

// A batch whose changed rows are not what the keys foretold is sent again
// row by row, and each row's own count decides: here SQLite finds no score
// row for a roster key that differs only in a trailing blank, which the
// keys (compared as SQL Server compares them) did match.
TEST_F(ScoreExport, ABatchThatChangesOtherRowsThanForetoldIsSentRowByRow) {
    addScoreRow(QStringLiteral("E7"), QStringLiteral("301101"), QStringLiteral("CHI001"));
    addRosterRow(QStringLiteral("E7 "), QStringLiteral("10301"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 61, QVariant(), 1);

    ExportScores(context);

    ASSERT_FALSE(m_busyWindow.messages.isEmpty());
    const QString done = m_busyWindow.messages.last().text;
    EXPECT_TRUE(done.contains(QStringLiteral("其中 1 筆在校務行政資料庫中沒有對應的學生成績資料")))
        << done.toStdString();
    EXPECT_EQ(examRows(QStringLiteral("select upload from periodical1 where sid='E7 '")),
              QStringList{QStringLiteral("1")});
    // The other rows of the batch were written and flagged all the same.
    EXPECT_EQ(examRows(QStringLiteral("select upload from periodical1 where sid='A2'")),
              QStringList{QStringLiteral("2")});
}

}  // namespace
