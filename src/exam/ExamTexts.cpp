#include "exam/ExamTexts.h"

#include "settings/Settings.h"

namespace korvex {

QString invalidExamSlotMessage(const Settings& settings, const QString& failure) {
    return termText(settings) + failure +
           QStringLiteral(
               ", 參數設定的校務行政考試別「%1」不是 1 到 6 的考試, 請先在參數設定中選擇考試!")
               .arg(settings.examNo);
}

}  // namespace korvex
