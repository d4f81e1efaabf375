#include <gtest/gtest.h>

#include "XlsReadBack.h"
#include "workbook/ScoreSheetTemplate.h"
#include "workbook/Workbook.h"

namespace korvex::test {
namespace {

using namespace korvex::xls;

QStringList names(const Workbook& book) {
    QStringList list;
    for (int i = 0; i < book.sheetCount(); ++i) list << book.sheet(i).name();
    return list;
}

TEST(SheetRules, AddedSheetsGoBeforeTheActiveSheet) {
    Workbook book = scoresheet::baseWorkbook();
    EXPECT_EQ(book.activeSheet(), 0);
    EXPECT_TRUE(book.renameSheet(0, QStringLiteral("301-國文")));
    EXPECT_EQ(book.addSheetBeforeActive(), 0);
    EXPECT_EQ(book.addSheetBeforeActive(), 0);
    EXPECT_EQ(names(book), (QStringList{"Sheet3", "Sheet2", QStringLiteral("301-國文")}));
    EXPECT_EQ(book.activeSheet(), 0);

    // With another sheet active, the new one goes before it; names already
    // taken are skipped, names freed by a rename are not given out again.
    book.setActiveSheet(2);
    EXPECT_TRUE(book.renameSheet(1, QStringLiteral("sheet4")));
    EXPECT_EQ(book.addSheetBeforeActive(), 2);
    EXPECT_EQ(names(book), (QStringList{"Sheet3", "sheet4", "Sheet5", QStringLiteral("301-國文")}));
    EXPECT_EQ(book.findSheet(QStringLiteral("SHEET5")), 2);
}

TEST(SheetRules, RenamesExcelRefuses) {
    Workbook book = scoresheet::baseWorkbook();
    book.addSheetBeforeActive();  // Sheet2 before Sheet1
    const QStringList refused = {
        QString(),
        QString(32, QChar(0x570B)),
        QStringLiteral("a:b"),
        QStringLiteral("a\\b"),
        QStringLiteral("a/b"),
        QStringLiteral("a?b"),
        QStringLiteral("a*b"),
        QStringLiteral("a[b"),
        QStringLiteral("a]b"),
        QStringLiteral("'ab"),
        QStringLiteral("ab'"),
        QStringLiteral("history"),
        QStringLiteral("SHEET1"),  // taken, in any case
    };
    for (const QString& name : refused) {
        EXPECT_FALSE(book.renameSheet(0, name)) << name.toStdString();
        EXPECT_EQ(book.sheet(0).name(), QStringLiteral("Sheet2")) << name.toStdString();
    }
    for (const QString& name : {QString(31, QChar(0x570B)), QStringLiteral("a'b"),
                                QStringLiteral("一年甲班-國文"), QStringLiteral("sheet2")}) {
        EXPECT_TRUE(book.renameSheet(0, name)) << name.toStdString();
        EXPECT_EQ(book.sheet(0).name(), name);
    }
}

}  // namespace
}  // namespace korvex::test
