#pragma once

#include <QString>

namespace korvex {

struct AppContext;

// Puts a copy of exam.mdb (one of backup/, or any file the user names) back
// in place of the exam database's whole content. The current content is
// copied to backup/ first, so that a restore can itself be undone.
void restoreExamDatabase(AppContext& context, const QString& copyPath);

}  // namespace korvex
