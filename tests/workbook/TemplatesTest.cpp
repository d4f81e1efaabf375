#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ScoreSheetCheck.h"
#include "TestFolder.h"
#include "XlsReadBack.h"
#include "startup/StartupSteps.h"

namespace korvex::test {
namespace {

TEST(WorkbookTemplates, StartUpReplacesBothTemplates) {
    TestFolder folder;
    // Whatever was there before (an edited copy) is replaced.
    for (const char* name : {"scorep.xls", "scoret.xls"}) {
        QFile old(folder.file(QString::fromLatin1(name)));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("edited by hand");
    }
    QString error;
    ASSERT_TRUE(writeWorkbookTemplates(folder.path(), &error)) << error.toStdString();

    const XlsReadBack base = XlsReadBack::read(folder.file("scorep.xls"));
    ASSERT_TRUE(base.error.isEmpty()) << base.error.toStdString();
    EXPECT_EQ(base.root.value("biff").toInt(), 80);
    EXPECT_EQ(base.sheetNames(), QStringList{"Sheet1"});
    const QJsonObject sheet1 = base.sheet("Sheet1");
    EXPECT_TRUE(sheet1.value("cells").toArray().isEmpty());
    const QJsonObject rec = sheet1.value("records").toObject();
    EXPECT_EQ(rec.value("setup").toObject().value("paper").toInt(), 9);
    EXPECT_EQ(rec.value("setup").toObject().value("fitWidth").toInt(), 1);
    EXPECT_EQ(rec.value("setup").toObject().value("fitHeight").toInt(), 1);
    EXPECT_TRUE(rec.value("wsbool").toInt() & 0x0100);
    EXPECT_EQ(rec.value("hcenter").toInt(), 1);
    EXPECT_EQ(rec.value("vcenter").toInt(), 1);
    EXPECT_FALSE(rec.contains("protect"));

    const XlsReadBack tpl = XlsReadBack::read(folder.file("scoret.xls"));
    ASSERT_TRUE(tpl.error.isEmpty()) << tpl.error.toStdString();
    EXPECT_EQ(tpl.sheetNames(), QStringList{QStringLiteral("學科成績")});
    checkScoreSheet(tpl, QStringLiteral("學科成績"),
                    {QStringLiteral("   94學年度第1學期學生成績表 X年X班 XX科"),
                     {0.2, 0.2, 0.2, 0.2, 0.2},
                     {}});
    // The default font is 新細明體 12 pt; the title is larger.
    EXPECT_EQ(tpl.font(0).value("name").toString(), QStringLiteral("新細明體"));
    EXPECT_EQ(tpl.font(0).value("height").toInt(), 240);
    const SheetCells cells(tpl.sheet(QStringLiteral("學科成績")));
    const int titleFont = tpl.xf(cells.xf(0, 0)).value("font").toInt();
    EXPECT_GT(tpl.font(titleFont).value("height").toInt(), 240);
    EXPECT_TRUE(tpl.font(titleFont).value("bold").toBool());
}

TEST(WorkbookTemplates, ReportsAFileThatCannotBeReplaced) {
    TestFolder folder;
    // A folder in the template's place cannot be deleted as a file.
    ASSERT_TRUE(QDir(folder.path()).mkpath("scoret.xls/inside"));
    QString error;
    EXPECT_FALSE(writeWorkbookTemplates(folder.path(), &error));
    EXPECT_TRUE(error.contains("scoret.xls")) << error.toStdString();

    QString missing;
    EXPECT_FALSE(writeWorkbookTemplates(folder.file("no such folder"), &missing));
    EXPECT_TRUE(missing.contains("scorep.xls")) << missing.toStdString();
}

}  // namespace
}  // namespace korvex::test
