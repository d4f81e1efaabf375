#include <gtest/gtest.h>
#include <tuple>
#include <utility>

#include "ExamFixture.h"
#include "exam/ExamOperations.h"

using namespace korvex;
using namespace korvex::test;
using Answer = MainWindowInterface::Answer;
using Icon = MainWindowInterface::Icon;
using Buttons = MainWindowInterface::Buttons;

namespace {

const QString kQuestion =
    QStringLiteral("選擇[是]清除所有資料重新轉入, 選擇[否]更新資料, 選擇[取消]離開");

// The completion message names the student of the school's rows whom
// exam.mdb does not hold, so that a shrunken roster is not a plain success.
const QString kMissingStudent = QStringLiteral(
    "\r\n下列 1 位學生不在考試資料庫的學生資料中, 他們的 1 筆考試科目資料未匯入, "
    "請先執行學生資料匯入, 並檢查他們的班級與座號:\r\nZ999999999");

class RosterImport : public ExamFixture {
protected:
    // Three students of exam.mdb and the school's score rows of term 94/1:
    // seven source rows, of which four become roster rows (a 5- and a
    // 7-character subject code and an unknown student are skipped; PE has no
    // weight in exam 1 and the row of term 93/2 is another term).
    void SetUp() override {
        ExamFixture::SetUp();
        addStudent(QStringLiteral("A100000001"), QStringLiteral("10101"), QStringLiteral("王小明"),
                   QStringLiteral("11"));
        addStudent(QStringLiteral("A100000002"), QStringLiteral("10102"), QStringLiteral("李小華"),
                   QStringLiteral("11"));
        addStudent(QStringLiteral("B200000003"), QStringLiteral("10201"),
                   QStringLiteral("O'Neil 陳"), QStringLiteral("12"));
        addCourse(QStringLiteral("301101"), QStringLiteral("CHI001"), QStringLiteral("T001  "), 40);
        addCourse(QStringLiteral("301101"), QStringLiteral("MAT001"), QStringLiteral("   "), 40);
        addCourse(QStringLiteral("301101"), QStringLiteral("PE0001"), QStringLiteral("T003"), 0);
        addCourse(QStringLiteral("301101"), QStringLiteral("ENG01"), QStringLiteral("T004"), 40);
        addCourse(QStringLiteral("301101"), QStringLiteral("PHY0001"), QStringLiteral("T005"), 40);
        addCourse(QStringLiteral("301102"), QStringLiteral("CHI001"), QVariant(), 40);
        for (const char* subject : {"CHI001", "MAT001", "PE0001", "ENG01", "PHY0001"})
            addScoreRow(QStringLiteral("A100000001 "), QStringLiteral("301101"),
                        QString::fromLatin1(subject));
        addScoreRow(QStringLiteral("A100000001"), QStringLiteral("301101"),
                    QStringLiteral("CHI001"), QStringLiteral("93"), QStringLiteral("2"));
        addScoreRow(QStringLiteral("A100000002"), QStringLiteral("301101"),
                    QStringLiteral("CHI001"));
        addScoreRow(QStringLiteral("B200000003"), QStringLiteral("301102"),
                    QStringLiteral("CHI001"));
        addScoreRow(QStringLiteral("Z999999999"), QStringLiteral("301101"),
                    QStringLiteral("CHI001"));
    }

    void expectWindowRestored() {
        EXPECT_TRUE(window.enabled);
        EXPECT_FALSE(window.busyVisible);
        EXPECT_FALSE(window.hourglass);
    }
};

TEST_F(RosterImport, CancelAsksOnceChangesNothingAndNeverDisablesTheWindow) {
    addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 88);
    const QStringList before = roster(QStringLiteral("*"));
    window.answers = {Answer::Cancel};

    ImportExamRoster(context);

    ASSERT_EQ(window.messages.size(), 1);
    const auto& question = window.messages.first();
    EXPECT_EQ(question.text, kQuestion);
    EXPECT_EQ(question.icon, Icon::None);
    EXPECT_EQ(question.buttons, Buttons::YesNoCancel);
    EXPECT_EQ(question.defaultAnswer, Answer::Yes);
    EXPECT_EQ(question.title, window.windowCaption);
    EXPECT_EQ(window.disableCount, 0);
    EXPECT_FALSE(window.events.contains(QStringLiteral("busy")));
    EXPECT_EQ(roster(QStringLiteral("*")), before);
}

TEST_F(RosterImport, RebuildWritesEveryQualifyingRowAndCountsSkippedOnes) {
    addRosterRow(QStringLiteral("OLD0000001"), QStringLiteral("19999"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 55);
    window.answers = {Answer::Yes};

    ImportExamRoster(context);

    // Trimmed student id, class and seat from the exam number, the name as
    // stored (a quote included), the teacher trimmed or ZZZZ when blank or
    // missing, '0' marks and zero scores; the old row is gone.
    EXPECT_EQ(roster(QStringLiteral("sid,class,seat,examno,namec,sub,tchno,gro,examsnot,score,"
                                    "score1,score2,spec")),
              (QStringList{
                  QStringLiteral("A100000001|101|01|10101|王小明|CHI001|T001|11|0|0|0|0|0"),
                  QStringLiteral("A100000001|101|01|10101|王小明|MAT001|ZZZZ|11|0|0|0|0|0"),
                  QStringLiteral("A100000002|101|02|10102|李小華|CHI001|T001|11|0|0|0|0|0"),
                  QStringLiteral("B200000003|102|01|10201|O'Neil 陳|CHI001|ZZZZ|12|0|0|0|0|0"),
              }));

    // Every source row counts toward the progress, skipped ones too.
    EXPECT_EQ(window.barMaximum, 7);
    EXPECT_EQ(window.barValue, 7);
    EXPECT_EQ(window.labelText, QStringLiteral("000007/000007"));
    ASSERT_EQ(window.messages.size(), 2);
    const auto& done = window.messages.at(1);
    EXPECT_EQ(lastText(), prefix() + QStringLiteral("考試科目資料匯入完成!") + kMissingStudent);
    // The copy of exam.mdb taken before holds the old roster.
    ASSERT_FALSE(backupNamed().isEmpty());
    EXPECT_EQ(TestFolder::rows(backupNamed(), QStringLiteral("select sid from periodical1")),
              QStringList{QStringLiteral("OLD0000001")});
    EXPECT_EQ(done.icon, Icon::None);
    EXPECT_EQ(done.buttons, Buttons::Ok);
    EXPECT_EQ(done.title, window.windowCaption);
    EXPECT_TRUE(done.labelVisible);
    EXPECT_EQ(window.events,
              (QStringList{QStringLiteral("message ") + kQuestion, QStringLiteral("disable"),
                           QStringLiteral("busy"), QStringLiteral("range 7"),
                           QStringLiteral("message ") + done.text, QStringLiteral("enable"),
                           QStringLiteral("end")}));
    EXPECT_GE(window.yields, 7);
    expectWindowRestored();

    // A student whose exam number, name and group are missing (NULL) gets
    // empty texts, as every written value is text.
    addStudent(QStringLiteral("C300000009"), QString(), QString(), QString());
    addScoreRow(QStringLiteral("C300000009"), QStringLiteral("301101"), QStringLiteral("CHI001"));
    window.answers = {Answer::Yes};
    ImportExamRoster(context);
    EXPECT_EQ(examRows(QStringLiteral("select quote(class),quote(seat),quote(examno),quote(namec),"
                                      "quote(gro) from periodical1 where sid='C300000009'")),
              QStringList{QStringLiteral("''|''|''|''|''")});

    // With a dedicated operator every row gets the placeholder teacher; a
    // second rebuild replaces the rows rather than adding to them.
    context.settings.dedicatedOperator = 1;
    window.answers = {Answer::Yes};
    ImportExamRoster(context);
    EXPECT_EQ(
        roster(QStringLiteral("sid,sub,tchno")),
        (QStringList{
            QStringLiteral("A100000001|CHI001|ZZZZ"), QStringLiteral("A100000001|MAT001|ZZZZ"),
            QStringLiteral("A100000002|CHI001|ZZZZ"), QStringLiteral("B200000003|CHI001|ZZZZ"),
            QStringLiteral("C300000009|CHI001|ZZZZ")}));
}

TEST_F(RosterImport, UpdateKeepsScoresFollowsChangedExamNumbersAndDeletesStaleRows) {
    // A student whose row is current; a student whose exam number changed
    // since the last run; a row of a student who left, whose exam number
    // 10201 now belongs to B200000003; a subject no longer examined; and a
    // row of a student whom exam.mdb does not hold.
    addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 88, QVariant(), 2);
    addRosterRow(QStringLiteral("A100000002"), QStringLiteral("10105"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 77, QVariant(), 1);
    addRosterRow(QStringLiteral("C400000004"), QStringLiteral("10201"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 66);
    addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"), QStringLiteral("GEO001"),
                 QStringLiteral("0"), 55);
    addRosterRow(QStringLiteral("Z999999999"), QStringLiteral("10109"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 44);
    // A row whose stored subject carries a trailing blank: the key matches,
    // the update does not, and the student still gets a row.
    addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"), QStringLiteral("MAT001 "),
                 QStringLiteral("0"), 33);
    window.answers = {Answer::No};

    ImportExamRoster(context);

    EXPECT_EQ(
        roster(QStringLiteral("sid,examno,class,seat,namec,sub,tchno,examsnot,score2,upload")),
        (QStringList{
            QStringLiteral("A100000001|10101|101|01|王小明|CHI001|T001|0|88|2"),
            QStringLiteral("A100000001|10101|101|01|王小明|MAT001|ZZZZ|0|0|0"),
            QStringLiteral("A100000002|10102|101|02|李小華|CHI001|T001|0|77|1"),
            QStringLiteral("B200000003|10201|102|01|O'Neil 陳|CHI001|ZZZZ|0|0|0"),
        }));
    EXPECT_EQ(window.labelText, QStringLiteral("000007/000007"));
    EXPECT_EQ(lastText(), prefix() + QStringLiteral("考試科目資料匯入完成!") + kMissingStudent);
    expectWindowRestored();
}

TEST_F(RosterImport, UpdateWithAFailedRowKeepsTheUnconfirmedRowsAndSaysSo) {
    // ABORT undoes the one statement: the row is left out alone.
    for (const char* how : {"ABORT"}) {
        runExam({QStringLiteral("DELETE FROM periodical1")});
        addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"),
                     QStringLiteral("CHI001"), QStringLiteral("0"), 88);
        addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"),
                     QStringLiteral("GEO001"), QStringLiteral("0"), 55);
        runExam(
            {QStringLiteral(
                 "CREATE TRIGGER refuse BEFORE INSERT ON periodical1 WHEN NEW.sid = 'B200000003' "
                 "BEGIN SELECT RAISE(%1, 'refused'); END")
                 .arg(QString::fromLatin1(how))});
        window.messages.clear();
        window.answers = {Answer::No};

        ImportExamRoster(context);

        // The refused insert cancels the closing delete: the stale row keeps
        // its mark and waits for the next run; the other rows are written.
        EXPECT_EQ(
            roster(QStringLiteral("sid,sub,examsnot,score2")),
            (QStringList{
                QStringLiteral("A100000001|CHI001|0|88"), QStringLiteral("A100000001|GEO001|1|55"),
                QStringLiteral("A100000001|MAT001|0|0"), QStringLiteral("A100000002|CHI001|0|0")}))
            << how;
        EXPECT_EQ(
            lastText(),
            prefix() +
                QStringLiteral("考試科目資料匯入完成!但有 1 筆考試科目資料無法寫入考試資料庫, "
                               "請重新執行!") +
                kMissingStudent);
        EXPECT_EQ(window.labelText, QStringLiteral("000007/000007"));
        EXPECT_FALSE(context.exam.inTransaction());
        expectWindowRestored();
        runExam({QStringLiteral("DROP TRIGGER refuse")});
    }

    // ROLLBACK ends the whole transaction: nothing of the run is kept, not
    // even the rows written before the refused one.
    const QStringList before = roster(QStringLiteral("*"));
    runExam({QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON periodical1 WHEN NEW.sid = 'B200000003' "
        "BEGIN SELECT RAISE(ROLLBACK, 'refused'); END")});
    window.answers = {Answer::No};
    ImportExamRoster(context);
    EXPECT_EQ(roster(QStringLiteral("*")), before);
    EXPECT_EQ(lastText(),
              prefix() + QStringLiteral("考試科目資料匯入失敗, 考試資料未變更, 請重新執行!"));
    EXPECT_EQ(lastReason(), QStringLiteral("考試資料庫 exam.mdb: refused"));
    EXPECT_EQ(window.messages.last().icon, Icon::Critical);
    EXPECT_FALSE(context.exam.inTransaction());
    expectWindowRestored();
    runExam({QStringLiteral("DROP TRIGGER refuse")});

    // Once the row can be written, the next update completes and deletes it.
    window.answers = {Answer::No};
    ImportExamRoster(context);
    EXPECT_EQ(roster(QStringLiteral("sid,sub,examsnot")),
              (QStringList{
                  QStringLiteral("A100000001|CHI001|0"), QStringLiteral("A100000001|MAT001|0"),
                  QStringLiteral("A100000002|CHI001|0"), QStringLiteral("B200000003|CHI001|0")}));
    EXPECT_EQ(lastText(), prefix() + QStringLiteral("考試科目資料匯入完成!") + kMissingStudent);
}

TEST_F(RosterImport, OldRowsThatCannotBeClearedStayAndTheCompletionSaysSo) {
    // The grading program holds the old rows: the rebuild's delete or the
    // update's marks are refused, and nothing is written beside the old rows.
    const QStringList refusals{
        QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON periodical1 "
                       "BEGIN SELECT RAISE(ABORT, 'locked'); END"),
        QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE OF examsnot ON periodical1 "
                       "WHEN NEW.examsnot = '1' BEGIN SELECT RAISE(ABORT, 'locked'); END")};
    for (const auto& [refusal, answer, verb] :
         {std::tuple{refusals[0], Answer::Yes, QStringLiteral("清除")},
          std::tuple{refusals[1], Answer::No, QStringLiteral("更新")}}) {
        runExam({QStringLiteral("DELETE FROM periodical1")});
        addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"),
                     QStringLiteral("CHI001"), QStringLiteral("0"), 88);
        addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"),
                     QStringLiteral("GEO001"), QStringLiteral("0"), 55);
        const QStringList before = roster(QStringLiteral("*"));
        runExam({refusal});
        window.answers = {answer};

        ImportExamRoster(context);

        EXPECT_EQ(roster(QStringLiteral("*")), before) << refusal.toStdString();
        EXPECT_EQ(lastText(),
                  prefix() + QStringLiteral("考試科目資料匯入失敗, 無法") + verb +
                      QStringLiteral("考試資料庫中原有的考試科目資料, 沒有寫入任何資料, "
                                     "請重新執行!"));
        EXPECT_EQ(lastReason(), QStringLiteral("考試資料庫 exam.mdb: locked"));
        expectWindowRestored();
        runExam({QStringLiteral("DROP TRIGGER refuse")});
    }

    // The update's closing delete is refused: the rows are written, the row
    // no longer examined is still there, and the completion says so.
    runExam(
        {QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON periodical1 "
                        "BEGIN SELECT RAISE(ABORT, 'locked'); END")});
    window.answers = {Answer::No};
    ImportExamRoster(context);
    EXPECT_EQ(
        roster(QStringLiteral("sid,sub,score2")),
        (QStringList{QStringLiteral("A100000001|CHI001|88"), QStringLiteral("A100000001|GEO001|55"),
                     QStringLiteral("A100000001|MAT001|0"), QStringLiteral("A100000002|CHI001|0"),
                     QStringLiteral("B200000003|CHI001|0")}));
    EXPECT_EQ(lastText(), prefix() +
                              QStringLiteral("考試科目資料匯入完成!但原有的考試科目資料無法清除, "
                                             "已不需要的資料仍留在考試資料庫中, 請重新執行!") +
                              kMissingStudent);
    runExam({QStringLiteral("DROP TRIGGER refuse")});

    window.answers = {Answer::No};
    ImportExamRoster(context);
    EXPECT_EQ(roster(QStringLiteral("sid,sub,examsnot")),
              (QStringList{
                  QStringLiteral("A100000001|CHI001|0"), QStringLiteral("A100000001|MAT001|0"),
                  QStringLiteral("A100000002|CHI001|0"), QStringLiteral("B200000003|CHI001|0")}));
    EXPECT_EQ(lastText(), prefix() + QStringLiteral("考試科目資料匯入完成!") + kMissingStudent);
}

TEST_F(RosterImport, NothingChangesWhenTheSourceIsEmptyOrCannotBeRead) {
    addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 88);
    const QStringList before = roster(QStringLiteral("*"));

    // Another term: no source rows, whichever answer.
    context.settings.year = QStringLiteral("95");
    for (Answer answer : {Answer::Yes, Answer::No}) {
        window.messages.clear();
        window.answers = {answer};
        ImportExamRoster(context);
        ASSERT_EQ(window.messages.size(), 2);
        EXPECT_EQ(window.messages.at(1).text,
                  QStringLiteral("95學年第1學期期中考沒有可供匯入的考試科目資料!"));
        EXPECT_EQ(window.messages.at(1).icon, Icon::Information);
        EXPECT_EQ(roster(QStringLiteral("*")), before);
        expectWindowRestored();
    }

    // The source statement fails: stop message, the busy display never shows.
    context.settings.year = QStringLiteral("94");
    runSchool({QStringLiteral("DROP TABLE sbcourse")});
    window.messages.clear();
    window.events.clear();
    window.answers = {Answer::Yes};
    ImportExamRoster(context);
    ASSERT_EQ(window.messages.size(), 2);
    EXPECT_EQ(lastText(), prefix() + QStringLiteral("考試科目資料匯入失敗, 請重新執行!"));
    EXPECT_EQ(lastReason(), QStringLiteral("校務行政資料庫: no such table: sbcourse"));
    EXPECT_EQ(window.messages.at(1).icon, Icon::Critical);
    EXPECT_FALSE(window.events.contains(QStringLiteral("busy")));
    EXPECT_EQ(roster(QStringLiteral("*")), before);
    EXPECT_FALSE(context.school.errorPending());
    expectWindowRestored();
}

TEST_F(RosterImport, AnExamNumberThatCannotNameATableStopsBeforeAnything) {
    addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 88);
    const QStringList before = roster(QStringLiteral("*"));
    for (const QString& examNo :
         {QStringLiteral("7"), QStringLiteral("0"), QString(), QStringLiteral("1 or 1=1")}) {
        context.settings.examNo = examNo;
        window.messages.clear();
        ImportExamRoster(context);
        ASSERT_EQ(window.messages.size(), 1) << examNo.toStdString();
        EXPECT_EQ(window.messages.first().icon, Icon::Critical);
        EXPECT_TRUE(window.messages.first().text.startsWith(
            prefix() + QStringLiteral("考試科目資料匯入失敗")));
        EXPECT_TRUE(window.messages.first().text.contains(QStringLiteral("「%1」").arg(examNo)));
    }
    EXPECT_EQ(window.disableCount, 0);
    EXPECT_EQ(roster(QStringLiteral("*")), before);
}

TEST_F(RosterImport, LookupsThatCannotBeReadLeaveTheRosterAsItWas) {
    addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"), QStringLiteral("CHI001"),
                 QStringLiteral("0"), 88);
    addRosterRow(QStringLiteral("A100000001"), QStringLiteral("10101"), QStringLiteral("GEO001"),
                 QStringLiteral("0"), 55);
    const QStringList before = roster(QStringLiteral("*"));
    runExam({QStringLiteral("ALTER TABLE name RENAME TO name_gone")});

    for (Answer answer : {Answer::No, Answer::Yes}) {
        window.messages.clear();
        window.answers = {answer};
        ImportExamRoster(context);
        ASSERT_EQ(window.messages.size(), 2);
        EXPECT_EQ(window.messages.at(1).icon, Icon::Critical);
        EXPECT_TRUE(window.messages.at(1).text.startsWith(
            prefix() + QStringLiteral("考試科目資料匯入失敗, 無法讀取考試資料庫的學生資料")));
        EXPECT_EQ(roster(QStringLiteral("*")), before);
        expectWindowRestored();
    }
}

}  // namespace
