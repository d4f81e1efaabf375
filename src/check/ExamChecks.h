#pragma once

#include <QString>

namespace korvex {

class CheckReport;
struct AppContext;
struct CheckTiming;

// Takes exam.mdb for the program alone, as the operations that replace
// whole tables do, for the checks that write; it is shared again when this
// ends. held() says whether it could be taken, why() why not (naming the
// computers that have it open).
class ExamHeldAlone {
public:
    explicit ExamHeldAlone(AppContext& context);
    ~ExamHeldAlone();
    ExamHeldAlone(const ExamHeldAlone&) = delete;
    ExamHeldAlone& operator=(const ExamHeldAlone&) = delete;
    bool held() const { return m_held; }
    const QString& why() const { return m_why; }
    // Shares exam.mdb again now; false with the reason when it could not be
    // reopened.
    bool share(QString* why);

private:
    AppContext& m_context;
    bool m_taken = false;
    bool m_held = false;
    QString m_why;
};

// exam.mdb: engine and size, the grading program's tables and columns the
// program uses, indexes on the roster tables, whether the program can have
// it alone now, integrity and the copies in backup/.
void checkExam(AppContext& context, const ExamHeldAlone& alone, CheckReport& report,
               CheckTiming& timing);

}  // namespace korvex
