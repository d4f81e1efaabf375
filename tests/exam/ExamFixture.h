#pragma once

#include "QtPrinting.h"

#include <gtest/gtest.h>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <ostream>

#include "AppFolder.h"

namespace korvex::test {

// A program folder with a school database and exam.mdb, both connections
// open in an AppContext that talks to a scripted window. Term 94/1, exam 1
// named 期中考.
class ExamFixture : public ::testing::Test, public AppFolder {
protected:
    void SetUp() override;
    void TearDown() override;

    // Rows for the school database.
    void addScoreRow(const QString& sid, const QString& classCode, const QString& subject,
                     const QString& year = QStringLiteral("94"),
                     const QString& semester = QStringLiteral("1"));
    void addCourse(const QString& classCode, const QString& subject, const QVariant& teacher,
                   double weight1);
    // A student of exam.mdb's `name` table.
    void addStudent(const QString& sid, const QString& examno, const QString& name,
                    const QString& gro);
    // A roster row of periodical1 as an earlier run and the grading program left it.
    void addRosterRow(const QString& sid, const QString& examno, const QString& sub,
                      const QString& examsnot, const QVariant& score2 = 0,
                      const QVariant& abs = QVariant(), int upload = 0);

    QStringList roster(
        const QString& columns = QStringLiteral("sid,examno,sub,tchno,examsnot")) const;
    QStringList school(const QString& query) const { return TestFolder::rows(m_schoolFile, query); }
    QStringList examRows(const QString& query) const { return TestFolder::rows(m_examFile, query); }
    void runSchool(const QStringList& statements) const {
        TestFolder::run(m_schoolFile, statements);
    }
    void runExam(const QStringList& statements) const { TestFolder::run(m_examFile, statements); }

    // The last message's text without the line about the copy of exam.mdb
    // taken before the change (backupNamed() has it) and without the reason
    // line of a failure (lastReason() has it).
    QString lastText() const;
    QString lastReason() const;
    // The copy of exam.mdb the last message names; empty when none.
    QString backupNamed() const;

    // The prefix every exam message begins with for the fixture's settings.
    static QString prefix() { return QStringLiteral("94學年第1學期期中考"); }

    // Runs one set-up statement on a database file over a connection the
    // fixture keeps open without syncing to disk, so that building the rows
    // of a test costs no disk flushes.
    void insert(const QString& dbFile, const QString& statement, const QVariantList& params);

    QString m_schoolFile;
    QString m_examFile;

private:
    void closeSetupConnections();

    QHash<QString, QString> m_setupConnections;  // file -> connection name
};

}  // namespace korvex::test
