#pragma once

#include <QString>

namespace korvex {

struct Settings;

// Every message of the exam menu begins with the term and the exam it works
// on: school year, "學年第", semester, "學期", exam name ("94學年第1學期期中考").
QString examMessagePrefix(const Settings& settings);

// The message shown instead of running an exam operation when the exam
// number in the settings cannot name a roster table (anything but 1 to 6).
// `failure` is the operation's own failure wording ("考試科目資料匯入失敗").
QString invalidExamNumberMessage(const Settings& settings, const QString& failure);

}  // namespace korvex
