#pragma once

#include <QString>

namespace korvex {

struct Settings;

// The message shown instead of running an exam operation when the exam
// number in the settings cannot name a roster table (anything but 1 to 6).
// `failure` is the operation's own failure wording ("考試科目資料匯入失敗").
// Like every message of the exam menu it begins with the term text.
QString invalidExamSlotMessage(const Settings& settings, const QString& failure);

}  // namespace korvex
