#pragma once

#include <QString>
#include <QVariantList>
#include <memory>

#include "db/BatchedUpdate.h"
#include "exam/CourseQueries.h"

namespace korvex {

class Connection;
struct Settings;

// The statements of the roster import and the score export, written once:
// the operations send them, and the self-check sends each of them once with
// one row inside a transaction it rolls back.

// The school's score rows of the term for the subjects that count in exam
// `slot`: sid, sub, tchno.
BoundQuery rosterSourceQuery(int slot, const Settings& settings);
// Rebuild empties the roster; update marks every row unconfirmed first,
// confirms each row it writes and deletes the rows left unconfirmed.
QString rosterClearing(int slot);
QString rosterMarkUnconfirmed(int slot);
QString rosterStaleDeletion(int slot);
// Values: sid, class, seat, examno, namec, sub, tchno, gro.
QString rosterInsert(int slot);
// The same insert for `rows` rows in one statement, where the engine takes
// it (insertsManyRows): the values of each row one after the other.
QString rosterInsertRows(int slot, int rows);
// Values: class, seat, examno, namec, tchno, gro, then the key sid, sub.
QString rosterUpdate(int slot);

// Every student and subject that has a score row in the term: sid, sub.
BoundQuery scoreKeysQuery(const Settings& settings);
// The batched update of exam `slot`'s score column of sbscore in the term,
// rows keyed by 身份證號 and 科目碼.
std::unique_ptr<BatchedUpdate> scoreUpdate(Connection& school, int slot, const Settings& settings);
// Marks one exported roster row (upload 1 -> 2) when its score and absence
// are still what was sent; values: sid, sub, then score2 and abs unless the
// one sent was NULL (Jet finds NULL equal to nothing, so it is IS NULL).
QString exportedRowFlag(int slot, bool score2Null, bool absNull);

}  // namespace korvex
