#include <gtest/gtest.h>

#include "SchoolFixture.h"
#include "startup/StartupSteps.h"

using namespace korvex;
using korvex::test::ScriptedWindow;

namespace {

// Builds the title for term 94/1 into a fresh scripted window.
void title(ScriptedWindow& window, const QString& examNo, const QString& examName,
           std::uint8_t vocational = 0) {
    AppContext context;
    context.window = &window;
    context.settings.examNo = examNo;
    context.settings.examName = examName;
    context.settings.vocational = vocational;
    BuildMainTitle(context);
}

}  // namespace

TEST(MainTitle, TitleAndExamMenuFollowTheSettings) {
    ScriptedWindow w;
    title(w, QStringLiteral("0"), QString());
    EXPECT_EQ(w.windowCaption, QStringLiteral("KORVEX小幫手Zamo高中版(94學年第1學期)[高中版]"));

    title(w, QStringLiteral("3"), QStringLiteral("期中考"));
    EXPECT_EQ(w.windowCaption,
              QStringLiteral("KORVEX小幫手Zamo高中版(94學年第1學期期中考)[高中版]"));
    EXPECT_EQ(w.examImportCaption, QStringLiteral("匯入94學年第1學期期中考考試資料"));
    EXPECT_EQ(w.examExportCaption, QStringLiteral("匯出94學年第1學期期中考考試資料"));
    EXPECT_TRUE(w.examMenuEnabled);

    // Any non-zero mode is the vocational edition; the fixed part stays.
    title(w, QStringLiteral("3"), QStringLiteral("期中考"), 255);
    EXPECT_EQ(w.windowCaption,
              QStringLiteral("KORVEX小幫手Zamo高中版(94學年第1學期期中考)[高職版]"));

    // "0", the empty text and anything sorting before "0" mean no exam; the
    // items are reset and disabled, also after having been enabled.
    for (const QString& none :
         {QStringLiteral("0"), QString(), QStringLiteral(" 3"), QStringLiteral("-1")}) {
        SCOPED_TRACE(none.toStdString());
        title(w, QStringLiteral("2"), QStringLiteral("第二次段考"));
        title(w, none, QStringLiteral("期中考"));
        EXPECT_EQ(w.examImportCaption, QStringLiteral("匯入"));
        EXPECT_EQ(w.examExportCaption, QStringLiteral("匯出"));
        EXPECT_FALSE(w.examMenuEnabled);
    }
    // Text sorting after "0" enables them even when it is no exam 1 to 6;
    // the operations refuse such a number themselves.
    for (const QString& after : {QStringLiteral("00"), QStringLiteral("9"), QStringLiteral("A")}) {
        SCOPED_TRACE(after.toStdString());
        title(w, QStringLiteral("0"), QString());
        title(w, after, QString());
        EXPECT_TRUE(w.examMenuEnabled);
    }
}
