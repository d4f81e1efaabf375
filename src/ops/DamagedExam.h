#pragma once

#include <QList>
#include <QString>

#include "ops/ExamBackups.h"

namespace korvex {

// exam.mdb cannot be used: damaged, or not the grading program's database.
struct DamagedExam {
    QString file;                     // exam.mdb
    QString reason;                   // why, in the program's words
    QList<examBackups::Copy> copies;  // the copies in backup/, newest first
    QString keptAs;                   // where the damaged file goes if a copy is put back
};

}  // namespace korvex
