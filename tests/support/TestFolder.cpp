#include "TestFolder.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include "sample/Schemas.h"

namespace korvex::test {
namespace {

template <typename F>
void withDb(const QString& file, F&& body) {
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
        // Test files need no durability; syncing every statement only makes
        // the tests slow.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=OFF"));
        body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

}  // namespace

TestFolder::TestFolder() { EXPECT_TRUE(m_dir.isValid()); }

QString TestFolder::file(const QString& name) const { return QDir(path()).filePath(name); }

QString TestFolder::createSchool(bool withShortCodes, const QString& name) {
    QString dbFile = file(name);
    QString error;
    EXPECT_TRUE(createSqliteDatabase(dbFile, schoolSchema(), &error)) << error.toStdString();
    if (withShortCodes)
        run(dbFile,
            {QStringLiteral(
                 "ALTER TABLE z_dept ADD COLUMN 科別簡碼 TEXT CHECK (length(科別簡碼) <= 2)"),
             QStringLiteral("ALTER TABLE z_class ADD COLUMN 簡碼 TEXT CHECK (length(簡碼) <= 3)")});
    return dbFile;
}

QString TestFolder::createExam(bool withContactColumns, const QString& name) {
    QString dbFile = file(name);
    QString error;
    EXPECT_TRUE(createSqliteDatabase(dbFile, examSchema(), &error)) << error.toStdString();
    if (withContactColumns)
        run(dbFile, {QStringLiteral("ALTER TABLE name ADD COLUMN address TEXT"),
                     QStringLiteral("ALTER TABLE name ADD COLUMN father TEXT"),
                     QStringLiteral("ALTER TABLE name ADD COLUMN zipcode TEXT"),
                     QStringLiteral("ALTER TABLE name ADD COLUMN addzone TEXT")});
    return dbFile;
}

void TestFolder::run(const QString& dbFile, const QStringList& statements) {
    withDb(dbFile, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        for (const QString& statement : statements)
            EXPECT_TRUE(query.exec(statement))
                << statement.toStdString() << ": " << query.lastError().text().toStdString();
    });
}

void TestFolder::run(const QString& dbFile, const QString& statement, const QVariantList& params) {
    withDb(dbFile, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        EXPECT_TRUE(query.prepare(statement)) << statement.toStdString();
        for (int i = 0; i < params.size(); ++i) query.bindValue(i, params.at(i));
        EXPECT_TRUE(query.exec()) << statement.toStdString() << ": "
                                  << query.lastError().text().toStdString();
    });
}

QStringList TestFolder::rows(const QString& dbFile, const QString& statement) {
    QStringList result;
    withDb(dbFile, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(statement))
            << statement.toStdString() << ": " << query.lastError().text().toStdString();
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << (query.value(i).isNull() ? QStringLiteral("<null>")
                                                   : query.value(i).toString());
            result << values.join(u'|');
        }
    });
    return result;
}

}  // namespace korvex::test
