#pragma once

#include <QString>

#include "ops/DamagedExam.h"

namespace korvex {

// What the user is told when exam.mdb is damaged at start-up.

// The desktop program's question when backup/ holds copies: whether to put
// the newest back, named by its date, time and the operation it was taken
// before (the answer No ends the program).
QString damagedExamQuestion(const DamagedExam& damaged);

// The message when there is no copy to put back, or when nobody can be
// asked (korvex-batch: it names `restore --from` with the newest copy).
QString damagedExamMessage(const DamagedExam& damaged, bool forConsole);

}  // namespace korvex
