#pragma once

#include <cstdio>

#include "db/Connection.h"
#include "ops/AppContext.h"

namespace korvex::bench {

// Counts the statements an operation sends to each of the two databases
// (every one a round trip to SQL Server over the school's network), by
// watching every statement a connection is asked to run.
class StatementCounter {
public:
    explicit StatementCounter(const AppContext& context) : m_context(context) {
        Connection::setStatementObserver([this](const Connection& connection, const QString&) {
            if (&connection == &m_context.school)
                ++m_school;
            else if (&connection == &m_context.exam)
                ++m_exam;
        });
    }
    ~StatementCounter() { Connection::setStatementObserver({}); }
    StatementCounter(const StatementCounter&) = delete;
    StatementCounter& operator=(const StatementCounter&) = delete;

    void reset() { m_school = m_exam = 0; }
    long school() const { return m_school; }
    long exam() const { return m_exam; }

    // "statements: school 71, exam.mdb 38,402"
    void print(const char* what) const {
        std::printf("  %-20s statements: school %ld, exam.mdb %ld\n", what, m_school, m_exam);
    }

private:
    const AppContext& m_context;
    long m_school = 0;
    long m_exam = 0;
};

}  // namespace korvex::bench
