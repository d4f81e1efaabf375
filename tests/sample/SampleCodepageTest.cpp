#include <gtest/gtest.h>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include "TestFolder.h"
#include "sample/SamplePeople.h"
#include "sample/SampleSchool.h"
#include "settings/Codepage950.h"

using namespace korvex;
using korvex::test::TestFolder;

namespace {

// Every text value of every table of an SQLite file that has no code in
// code page 950, as "table.column: value" (at most a few).
QStringList textsOutsideCodepage950(const QString& file) {
    QStringList found;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open()) << file.toStdString();
        QStringList tables;
        QSqlQuery list(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), db);
        while (list.next()) tables << list.value(0).toString();
        EXPECT_FALSE(tables.isEmpty()) << file.toStdString();
        for (const QString& table : tables) {
            QSqlQuery rows(QStringLiteral("SELECT * FROM \"%1\"").arg(table), db);
            while (rows.next() && found.size() < 10) {
                const QSqlRecord record = rows.record();
                for (int i = 0; i < record.count(); ++i) {
                    const QString text = rows.value(i).toString();
                    if (!toCodepage950(text))
                        found << QStringLiteral("%1.%2: %3").arg(table, record.fieldName(i), text);
                }
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return found;
}

}  // namespace

// A Taiwanese school's data lives in code page 950 (the settings file, the
// old program's texts, workbook names): the sample school uses no character
// outside it, in names, addresses, classes, subjects or anything else.
TEST(SampleCodepage, EveryTextOfTheSampleSchoolHasACodeInCodepage950) {
    sample::SamplePeople people(sample::SampleRandom(7));
    QStringList outside;
    for (int i = 0; i < 20000 && outside.size() < 10; ++i) {
        const QString names[] = {people.surname(), people.personName(i % 2 == 0),
                                 people.address().area + people.address().street};
        for (const QString& text : names)
            if (!toCodepage950(text)) outside << text;
    }
    EXPECT_TRUE(outside.isEmpty()) << outside.join(' ').toStdString();

    for (const bool vocational : {false, true}) {
        TestFolder folder;
        SampleSchool::Options options;
        options.students = 300;
        options.vocational = vocational;
        QString error;
        ASSERT_TRUE(SampleSchool::create(folder.path(), options, nullptr, &error))
            << error.toStdString();
        for (const char* file : {"school.sqlite", "exam.mdb"}) {
            const QStringList found = textsOutsideCodepage950(folder.file(QLatin1String(file)));
            EXPECT_TRUE(found.isEmpty()) << file << ": " << found.join('\n').toStdString();
        }
    }
}
