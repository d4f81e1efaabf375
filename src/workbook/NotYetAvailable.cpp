// Placeholders until the workbook writer is built; this file goes when it lands.
#include "app/AppContext.h"
#include "workbook/ScoreWorkbooks.h"

namespace korvex {
void MakeScoreWorkbooks(AppContext& context) {
    context.window->message(QStringLiteral("此功能尚未提供"), MainWindowInterface::Icon::Information);
}
bool WriteWorkbookTemplates(const QString&, QString*) { return true; }
}  // namespace korvex
