#pragma once

#include <QString>

namespace korvex::test {

// A message box's text in its parts: what happened, the reason line of a
// failure ("原因: …"), and the line a completion carries about the copy of
// exam.mdb taken before the change ("(原有的考試資料庫已先備份為 …)").
struct MessageText {
    QString body;    // the text without either line
    QString reason;  // after "原因: ", empty when none
    QString backup;  // the copy's path, empty when none
};

MessageText parseMessage(const QString& text);

}  // namespace korvex::test
