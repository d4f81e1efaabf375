// Placeholders until the roster import and score export are built; this file goes when they land.
#include "app/AppContext.h"
#include "exam/ExamOperations.h"

namespace korvex {
void ImportExamRoster(AppContext& context) {
    context.window->message(QStringLiteral("此功能尚未提供"), MainWindowInterface::Icon::Information);
}
void ExportScores(AppContext& context) {
    context.window->message(QStringLiteral("此功能尚未提供"), MainWindowInterface::Icon::Information);
}
}  // namespace korvex
