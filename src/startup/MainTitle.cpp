#include "ops/AppContext.h"
#include "startup/StartupSteps.h"

namespace korvex {

void BuildMainTitle(AppContext& context) {
    if (!context.window) return;
    const Settings& s = context.settings;
    const QString term = termText(s);
    context.window->setCaption(
        QStringLiteral("KORVEX小幫手Zamo高中版(") + term + QStringLiteral(")") +
        (s.vocational != 0 ? QStringLiteral("[高職版]") : QStringLiteral("[高中版]")));
    // An exam is chosen when the exam number sorts after "0", compared as
    // text by character codes ("0", the empty text and anything sorting
    // before "0" mean none). Whether the number is a usable 1 to 6 is
    // checked by the operations themselves.
    if (QString::compare(s.examNo, QStringLiteral("0"), Qt::CaseSensitive) > 0) {
        context.window->setExamMenu(QStringLiteral("匯入") + term + QStringLiteral("考試資料"),
                                    QStringLiteral("匯出") + term + QStringLiteral("考試資料"),
                                    true);
    } else {
        context.window->setExamMenu(QStringLiteral("匯入"), QStringLiteral("匯出"), false);
    }
}

}  // namespace korvex
