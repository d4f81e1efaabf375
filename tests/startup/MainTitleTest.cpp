#include <gtest/gtest.h>

#include "SchoolFixture.h"
#include "db/StartupSteps.h"

using namespace korvex;
using korvex::test::ScriptedWindow;

namespace {

struct Titled {
    QString caption, importItem, exportItem;
    bool enabled;
};

Titled titleFor(const QString& examNo, const QString& examName, std::uint8_t vocational) {
    AppContext context;
    ScriptedWindow window;
    context.window = &window;
    context.settings.year = QStringLiteral("94");
    context.settings.semester = QStringLiteral("1");
    context.settings.examNo = examNo;
    context.settings.examName = examName;
    context.settings.vocational = vocational;
    BuildMainTitle(context);
    return {window.windowCaption, window.examImportCaption, window.examExportCaption,
            window.examMenuEnabled};
}

}  // namespace

TEST(MainTitle, TitleNamesTermExamAndEdition) {
    EXPECT_EQ(titleFor(QStringLiteral("0"), QString(), 0).caption,
              QStringLiteral("KORVEX小幫手Zamo高中版(94學年第1學期)[高中版]"));
    EXPECT_EQ(titleFor(QStringLiteral("3"), QStringLiteral("期中考"), 0).caption,
              QStringLiteral("KORVEX小幫手Zamo高中版(94學年第1學期期中考)[高中版]"));
    // Any non-zero mode is the vocational edition; the fixed part stays.
    EXPECT_EQ(titleFor(QStringLiteral("0"), QString(), 1).caption,
              QStringLiteral("KORVEX小幫手Zamo高中版(94學年第1學期)[高職版]"));
    EXPECT_EQ(titleFor(QStringLiteral("0"), QString(), 255).caption,
              QStringLiteral("KORVEX小幫手Zamo高中版(94學年第1學期)[高職版]"));
}

TEST(MainTitle, ExamMenuFollowsTheTextComparisonWithZero) {
    const Titled chosen = titleFor(QStringLiteral("3"), QStringLiteral("期中考"), 0);
    EXPECT_EQ(chosen.importItem, QStringLiteral("匯入94學年第1學期期中考考試資料"));
    EXPECT_EQ(chosen.exportItem, QStringLiteral("匯出94學年第1學期期中考考試資料"));
    EXPECT_TRUE(chosen.enabled);

    // "0", the empty text and anything sorting before "0" mean no exam.
    for (const QString& none : {QStringLiteral("0"), QString(), QStringLiteral(" 3"),
                                QStringLiteral("-1")}) {
        SCOPED_TRACE(none.toStdString());
        const Titled t = titleFor(none, QStringLiteral("期中考"), 0);
        EXPECT_EQ(t.importItem, QStringLiteral("匯入"));
        EXPECT_EQ(t.exportItem, QStringLiteral("匯出"));
        EXPECT_FALSE(t.enabled);
    }
    // Text sorting after "0" enables the items even when it is no exam 1 to
    // 6; the operations refuse such a number themselves.
    for (const QString& after : {QStringLiteral("00"), QStringLiteral("9"), QStringLiteral("A")}) {
        SCOPED_TRACE(after.toStdString());
        EXPECT_TRUE(titleFor(after, QString(), 0).enabled);
    }
}

TEST(MainTitle, RebuildingAfterASettingsChangeDisablesTheItemsAgain) {
    AppContext context;
    ScriptedWindow window;
    context.window = &window;
    context.settings.examNo = QStringLiteral("2");
    context.settings.examName = QStringLiteral("第二次段考");
    BuildMainTitle(context);
    EXPECT_TRUE(window.examMenuEnabled);
    context.settings.examNo = QStringLiteral("0");
    context.settings.examName.clear();
    BuildMainTitle(context);
    EXPECT_FALSE(window.examMenuEnabled);
    EXPECT_EQ(window.examImportCaption, QStringLiteral("匯入"));
    EXPECT_EQ(window.windowCaption, QStringLiteral("KORVEX小幫手Zamo高中版(94學年第1學期)[高中版]"));

    // Without a window there is nothing to set, and nothing breaks.
    context.window = nullptr;
    BuildMainTitle(context);
}
