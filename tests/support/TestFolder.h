#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

namespace korvex::test {

// A temporary program folder with helpers to build small SQLite school and
// exam databases in it from a few rows.
class TestFolder {
public:
    TestFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const;

    // Creates school.sqlite / exam.mdb (SQLite) with the full schema and
    // returns their paths. `withShortCodes` adds the two short-code columns
    // to the school database, as start-up would.
    QString createSchool(bool withShortCodes = true, const QString& name = "school.sqlite");
    QString createExam(bool withContactColumns = true, const QString& name = "exam.mdb");

    // Runs statements on a database file directly (not through the
    // program's connection); fails the test on error.
    static void run(const QString& dbFile, const QStringList& statements);
    static void run(const QString& dbFile, const QString& statement, const QVariantList& params);
    // Rows of a query, each row's values joined by "|" (NULL as "<null>").
    static QStringList rows(const QString& dbFile, const QString& query);

private:
    QTemporaryDir m_dir;
};

}  // namespace korvex::test
