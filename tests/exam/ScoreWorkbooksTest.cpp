#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ScoreSheetCheck.h"
#include "ScriptedWindow.h"
#include "TestFolder.h"
#include "XlsReadBack.h"
#include "exam/TeacherWorkbooks.h"
#include "ops/AppContext.h"

namespace korvex::test {
namespace {

using Icon = MainWindowInterface::Icon;

const QString Prompt =
    QStringLiteral("請輸入欲產生Excel檔案的教師編號, All表示全部教師, C%表示C開頭的所有教師!");
const QString NoData = QStringLiteral("沒有可供產生教師登錄成績Excel檔的資料!");

// A small school: five teachers with courses (one of them with a code
// holding a slash, one with two courses whose sheets would have the same
// name), a teacher without courses, a course without a teacher, and the
// students of term 94-1 with a few odd seat numbers.
class ScoreWorkbooksTest : public ::testing::Test {
protected:
    void SetUp() override {
        school = folder.createSchool();
        TestFolder::run(
            school,
            {
                // One statement over three lines, not three statements.
                // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
                "INSERT INTO z_class (班級碼, 班級簡稱, 簡碼) VALUES "
                "('101001','一甲','101'), ('101002','一乙','102'), ('102001','二甲','201'), "
                "('102002','一乙','202'), ('103001','一甲/夜','301')",
                "INSERT INTO z_course (科目碼, 科目簡稱) VALUES ('0001','國文'), ('0002','英文'), "
                "('0003','數學')",
                "INSERT INTO z_teach (教師碼, 姓名) VALUES ('T012','王小明'), ('C001','陳大文'), "
                "('C002',' 林美麗 '), ('A/1','李四'), ('T099','無課老師'), ('  ','空白')",
                // T012 teaches Chinese in three classes, listed out of order.
                "INSERT INTO sbcourse VALUES ('102001','0001','T012',20,20,20,30,10,5)",
                "INSERT INTO sbcourse VALUES ('101001','0001','T012',15,15,15,35,20,NULL)",
                "INSERT INTO sbcourse VALUES ('101002','0001','T012',NULL,25,25,25,25,0)",
                "INSERT INTO sbcourse VALUES ('101001','0002','C001',10,10,10,40,30,0)",
                "INSERT INTO sbcourse VALUES ('101002','0003','C002',10,10,10,40,30,0)",
                "INSERT INTO sbcourse VALUES ('102002','0003','C002',10,10,10,40,30,0)",
                "INSERT INTO sbcourse VALUES ('103001','0002','A/1',10,10,10,40,30,0)",
                "INSERT INTO sbcourse VALUES ('101001','0003','  ',10,10,10,40,30,0)",
                "INSERT INTO sastuden (身份證號, 姓名, 在學座號) VALUES "
                "('A1','張一  ','01'), ('A2','李二','2'), ('A3','王五十六','56'), "
                "('A4','無座號',''), "
                "('A5','別學期','03'), ('B1','趙一','01'), ('B2','錢二','10')",
                "INSERT INTO sbscore (學年度, 學期別, 身份證號, 班級碼, 科目碼) VALUES "
                "('94','1','A1','101001','0001'), ('94','1','A2','101001','0001'), "
                "('94','1','A3','101001','0001'), ('94','1','A4','101001','0001'), "
                "('93','2','A5','101001','0001'), "
                "('94','1','B1','101002','0001'), ('94','1','B2','101002','0001'), "
                "('94','1','A1','101001','0002')",
            });
        context.appPath = folder.path();
        ASSERT_TRUE(context.school.openSqlite(school));
        context.schoolConnected = true;
        context.window = &window;
    }

    void run(const QString& answer) {
        window.inputs.push_back(answer);
        MakeScoreWorkbooks(context);
    }

    QStringList xlsFiles() const {
        QStringList files = QDir(folder.path()).entryList({"*.xls"}, QDir::Files, QDir::Name);
        return files;
    }

    TestFolder folder;
    QString school;
    AppContext context;
    ScriptedWindow window;
};

TEST_F(ScoreWorkbooksTest, OneTeachersWorkbook) {
    run(QStringLiteral("T012  "));  // trailing blanks do not count

    // The prompt, titled with the caption; then the busy display, the one
    // message, and the window back as it was.
    ASSERT_EQ(window.events.value(0),
              QStringLiteral("input %1|%2").arg(window.windowCaption, Prompt));
    ASSERT_EQ(window.messages.size(), 1);
    const auto& done = window.messages[0];
    EXPECT_EQ(done.text, QStringLiteral("產生教師登錄成績Excel檔完成! 檔案於 ") +
                             QDir::toNativeSeparators(folder.path()) +
                             QStringLiteral(" 資料夾下!"));
    EXPECT_EQ(done.icon, Icon::None);
    EXPECT_EQ(done.title, window.windowCaption);
    EXPECT_EQ(done.labelText, QStringLiteral("000003/000003 T012-王小明"));
    EXPECT_TRUE(done.labelVisible);
    EXPECT_EQ(window.events.mid(1, 3), (QStringList{"disable", "busy", "range 3"}));
    EXPECT_EQ(window.events.mid(window.events.size() - 2), (QStringList{"enable", "end"}));
    EXPECT_TRUE(window.enabled);
    EXPECT_FALSE(window.busyVisible);

    EXPECT_EQ(xlsFiles(), QStringList{QStringLiteral("T012-王小明.xls")});
    const XlsReadBack book = XlsReadBack::read(folder.file(QStringLiteral("T012-王小明.xls")));
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    // Ascending class short code: the first course processed (201) sits on
    // the base workbook's own sheet, last.
    EXPECT_EQ(book.sheetNames(),
              (QStringList{QStringLiteral("一甲-國文"), QStringLiteral("一乙-國文"),
                           QStringLiteral("二甲-國文")}));
    // Only the first tab is active and selected.
    const QJsonArray sheets = book.sheets();
    for (int i = 0; i < sheets.size(); ++i)
        EXPECT_EQ(
            sheets[i].toObject().value("records").toObject().value("window2").toInt() & 0x0600,
            i == 0 ? 0x0600 : 0);

    // W3 takes ratio4, X3 to Z3 ratio1 to ratio3, AA3 ratio5; a missing
    // weight is 0. Names by seat: seat 56 below the list (B61), no seat in
    // the heading (B5); another term's student is not listed.
    checkScoreSheet(book, QStringLiteral("一甲-國文"),
                    {QStringLiteral("94 學年度  第 1 學期學生成績表 一甲-國文"),
                     {0.35, 0.15, 0.15, 0.15, 0.20},
                     {{5, QStringLiteral("張一")},
                      {6, QStringLiteral("李二")},
                      {60, QStringLiteral("王五十六")},
                      {4, QStringLiteral("無座號")}}});
    checkScoreSheet(book, QStringLiteral("一乙-國文"),
                    {QStringLiteral("94 學年度  第 1 學期學生成績表 一乙-國文"),
                     {0.25, 0, 0.25, 0.25, 0.25},
                     {{5, QStringLiteral("趙一")}, {14, QStringLiteral("錢二")}}});
    checkScoreSheet(book, QStringLiteral("二甲-國文"),
                    {QStringLiteral("94 學年度  第 1 學期學生成績表 二甲-國文"),
                     {0.30, 0.20, 0.20, 0.20, 0.10},
                     {}});
    // The name below the list keeps the default (locked) look of an unused
    // cell; the one in the heading keeps the heading's.
    const SheetCells cells(book.sheet(QStringLiteral("一甲-國文")));
    // A weight is its percent times 0.01, to the last bit (35 is not 35 / 100).
    EXPECT_EQ(cells.number(2, 22), 35 * 0.01);
    EXPECT_TRUE(book.xf(cells.xf(60, 1)).value("locked").toBool());
    EXPECT_EQ(book.xf(cells.xf(4, 1)).value("halign").toInt(), 2);
}

TEST_F(ScoreWorkbooksTest, AnswerKinds) {
    const QString all[] = {QStringLiteral("A／1-李四.xls"), QStringLiteral("C001-陳大文.xls"),
                           QStringLiteral("C002-林美麗.xls"), QStringLiteral("T012-王小明.xls")};
    // Every teacher with a non-blank code, by "All" in any case or by "%".
    for (const QString& answer :
         {QStringLiteral("all"), QStringLiteral("ALL"), QStringLiteral("%")}) {
        SCOPED_TRACE(answer.toStdString());
        for (const QString& f : xlsFiles()) QFile::remove(folder.file(f));
        window.messages.clear();
        run(answer);
        EXPECT_EQ(xlsFiles(), QStringList(std::begin(all), std::end(all)));
        ASSERT_EQ(window.messages.size(), 1);
        EXPECT_EQ(window.messages[0].icon, Icon::None);
        EXPECT_EQ(window.barMaximum, 7);
        EXPECT_EQ(window.labelText, QStringLiteral("000007/000007 T012-王小明"));
    }

    // A pattern: the teachers whose code begins with C.
    for (const QString& f : xlsFiles()) QFile::remove(folder.file(f));
    run(QStringLiteral("C%"));
    EXPECT_EQ(xlsFiles(),
              (QStringList{QStringLiteral("C001-陳大文.xls"), QStringLiteral("C002-林美麗.xls")}));
    const XlsReadBack c001 = XlsReadBack::read(folder.file(QStringLiteral("C001-陳大文.xls")));
    EXPECT_EQ(c001.sheetNames(), QStringList{QStringLiteral("一甲-英文")});
    checkScoreSheet(c001, QStringLiteral("一甲-英文"),
                    {QStringLiteral("94 學年度  第 1 學期學生成績表 一甲-英文"),
                     {0.40, 0.10, 0.10, 0.10, 0.30},
                     {{5, QStringLiteral("張一")}}});

    // Nothing to do: an unknown code, a teacher without courses, a leading
    // blank, "ALL%" (a pattern, tested first), a quote in the answer.
    for (const QString& answer :
         {QStringLiteral("nobody"), QStringLiteral("T099"), QStringLiteral(" T012"),
          QStringLiteral("ALL%"), QStringLiteral("O'Brien")}) {
        SCOPED_TRACE(answer.toStdString());
        for (const QString& f : xlsFiles()) QFile::remove(folder.file(f));
        window.messages.clear();
        window.events.clear();
        run(answer);
        ASSERT_EQ(window.messages.size(), 1);
        EXPECT_EQ(window.messages[0].text, NoData);
        EXPECT_EQ(window.messages[0].icon, Icon::Information);
        EXPECT_TRUE(xlsFiles().isEmpty());
        EXPECT_EQ(window.events.mid(1),
                  (QStringList{"disable", "busy", "message " + NoData, "enable", "end"}));
    }

    // Cancel and an empty answer end at once.
    window.events.clear();
    window.messages.clear();
    const int disabled = window.disableCount;
    MakeScoreWorkbooks(context);  // no input queued: cancelled
    run(QStringLiteral("   "));
    EXPECT_EQ(window.events.size(), 2);  // the two input boxes
    EXPECT_EQ(window.disableCount, disabled);
    EXPECT_TRUE(window.messages.isEmpty());
}

TEST_F(ScoreWorkbooksTest, ExcelsNamingRulesAndFileNames) {
    run(QStringLiteral("C002"));
    // Two courses give "一乙-數學": the second processed keeps "Sheet2".
    const XlsReadBack c002 = XlsReadBack::read(folder.file(QStringLiteral("C002-林美麗.xls")));
    ASSERT_TRUE(c002.error.isEmpty()) << c002.error.toStdString();
    EXPECT_EQ(c002.sheetNames(), (QStringList{"Sheet2", QStringLiteral("一乙-數學")}));
    checkScoreSheet(c002, "Sheet2",
                    {QStringLiteral("94 學年度  第 1 學期學生成績表 一乙-數學"),
                     {0.40, 0.10, 0.10, 0.10, 0.30},
                     {}});

    // A code with a slash still gives a file, the slash in full width; a
    // sheet name Excel refuses leaves the sheet as "Sheet1".
    run(QStringLiteral("A/1"));
    EXPECT_EQ(window.messages.last().icon, Icon::None);
    const XlsReadBack a1 = XlsReadBack::read(folder.file(QStringLiteral("A／1-李四.xls")));
    ASSERT_TRUE(a1.error.isEmpty()) << a1.error.toStdString();
    EXPECT_EQ(a1.sheetNames(), QStringList{"Sheet1"});
    EXPECT_EQ(SheetCells(a1.sheet("Sheet1")).text(0, 0),
              QStringLiteral("94 學年度  第 1 學期學生成績表 一甲/夜-英文"));
    EXPECT_EQ(window.labelText, QStringLiteral("000001/000001 A/1-李四"));
}

TEST_F(ScoreWorkbooksTest, RunningAgainReplacesTheFile) {
    run(QStringLiteral("C001"));
    TestFolder::run(school, {"UPDATE sastuden SET 姓名 = '張一改' WHERE 身份證號 = 'A1'"});
    context.settings.year = QStringLiteral("94");
    run(QStringLiteral("C001"));
    const XlsReadBack book = XlsReadBack::read(folder.file(QStringLiteral("C001-陳大文.xls")));
    EXPECT_EQ(SheetCells(book.sheet(QStringLiteral("一甲-英文"))).text(5, 1),
              QStringLiteral("張一改"));
    EXPECT_EQ(xlsFiles().size(), 1);
}

TEST_F(ScoreWorkbooksTest, FailuresAreReported) {
    // The course query cannot be read: one critical message, no busy display.
    TestFolder::run(school, {"ALTER TABLE sbcourse RENAME TO sbcourse_old"});
    run(QStringLiteral("All"));
    ASSERT_EQ(window.messages.size(), 1);
    // The reason names the database and the driver's own words.
    EXPECT_EQ(window.messages[0].text,
              QStringLiteral("考試科目資料讀取失敗, 請重新執行!\r\n原因: 校務行政資料庫: no such "
                             "table: sbcourse"));
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    EXPECT_FALSE(window.events.contains("busy"));
    EXPECT_TRUE(window.enabled);
    EXPECT_FALSE(context.school.errorPending());
    TestFolder::run(school, {"ALTER TABLE sbcourse_old RENAME TO sbcourse"});

    // One teacher's file cannot be written (a folder has its name), and the
    // student query fails: every other workbook is still written, and the
    // closing message says what is missing instead of claiming success.
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("C001-陳大文.xls/x")));
    TestFolder::run(school, {"ALTER TABLE sastuden RENAME TO sastuden_old"});
    window.messages.clear();
    run(QStringLiteral("C%"));
    ASSERT_EQ(window.messages.size(), 1);
    const QString text = window.messages[0].text;
    EXPECT_EQ(window.messages[0].icon, Icon::Critical);
    EXPECT_TRUE(text.startsWith(QStringLiteral("產生教師登錄成績Excel檔未完成")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("C001-陳大文.xls"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("一乙-數學"))) << text.toStdString();
    EXPECT_FALSE(context.school.errorPending());
    const XlsReadBack c002 = XlsReadBack::read(folder.file(QStringLiteral("C002-林美麗.xls")));
    ASSERT_TRUE(c002.error.isEmpty()) << c002.error.toStdString();
    EXPECT_EQ(c002.sheetNames().size(), 2);
    EXPECT_TRUE(window.enabled);
}

}  // namespace
}  // namespace korvex::test
