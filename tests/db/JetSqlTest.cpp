#include <gtest/gtest.h>

#include "StatementTable.h"
#include "db/JetSql.h"
#include "db/OdbcDrivers.h"
#include "db/SqlDialect.h"
#include "db/SqlText.h"

using namespace korvex;

namespace {

QString jet(const QString& sql) { return jetStatements(sql).join(QStringLiteral("<br>")); }

}  // namespace

TEST(JetSql, TableChangesBecomeOneJetColumnPerStatement) {
    EXPECT_EQ(jetStatements(QStringLiteral("ALTER TABLE name add address nvarchar(150), "
                                           "father nvarchar(20) ")),
              (QStringList{QStringLiteral("ALTER TABLE name ADD COLUMN address TEXT(150)"),
                           QStringLiteral("ALTER TABLE name ADD COLUMN father TEXT(20)")}));
    // Types: text past 255 characters is a memo; numbers and dates take Jet's
    // names; a bare NULL goes, NOT NULL stays.
    EXPECT_EQ(jet(QStringLiteral("alter table dbo.t add a varchar(255) NULL, b nchar(2) NOT NULL, "
                                 "c nvarchar(256), d nvarchar(max), e int, f float, g datetime")),
              QStringLiteral("ALTER TABLE t ADD COLUMN a TEXT(255)<br>"
                             "ALTER TABLE t ADD COLUMN b TEXT(2) NOT NULL<br>"
                             "ALTER TABLE t ADD COLUMN c MEMO<br>"
                             "ALTER TABLE t ADD COLUMN d MEMO<br>"
                             "ALTER TABLE t ADD COLUMN e INTEGER<br>"
                             "ALTER TABLE t ADD COLUMN f DOUBLE<br>"
                             "ALTER TABLE t ADD COLUMN g DATETIME"));
    // A statement already in Jet's form stays as it is.
    EXPECT_EQ(jet(QStringLiteral("ALTER TABLE name ADD COLUMN address TEXT(150)")),
              QStringLiteral("ALTER TABLE name ADD COLUMN address TEXT(150)"));
    EXPECT_EQ(jet(QStringLiteral("ALTER TABLE [my table] ADD [a b] nvarchar(5)")),
              QStringLiteral("ALTER TABLE [my table] ADD COLUMN [a b] TEXT(5)"));
}

TEST(JetSql, OtherStatementsKeepWhatJetSharesAndLoseWhatItLacks) {
    // String +, LEN, RTRIM, placeholders and the ODBC LIKE pattern (the
    // driver maps % to *) are Jet's own.
    for (const char* same : {"select sid+'|'+sub as key1 from periodical1",
                             "delete from subject where not (class like '0000%')",
                             "update periodical1 set upload=2 where sid=? and sub=? and upload*1=1",
                             "select x from t where len(rtrim(a))>0 and b=?"}) {
        EXPECT_EQ(jet(QString::fromUtf8(same)), QString::fromUtf8(same));
    }
    EXPECT_EQ(jet(QStringLiteral("update dbo.t set d=getdate() where n='dbo.getdate()'")),
              QStringLiteral("update t set d=Now() where n='dbo.getdate()'"));
    // The dialect sends Access exactly this.
    EXPECT_EQ(
        translateStatement(QStringLiteral("ALTER TABLE name add a nvarchar(1), b nvarchar(2)"),
                           SqlDialect::Access)
            .size(),
        2);
}

TEST(JetSql, TableOfExamStatementsMatchesWhatTheDriverIsSent) {
    QString error;
    const auto rows =
        korvex::test::readStatementTable(QStringLiteral("access-statements.md"), &error);
    ASSERT_GT(rows.size(), 20) << error.toStdString();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.written.toStdString());
        // Statements only the SQLite stand-in receives.
        if (row.sent == QStringLiteral("—")) continue;
        const QString sent = translateStatement(row.written, SqlDialect::Access).join("<br>");
        EXPECT_EQ(sent, row.sent);
        // Nothing the Access driver refuses.
        for (const char* foreign : {"nvarchar", "varchar", "getdate", "dbo.", "||", " LIMIT "})
            EXPECT_FALSE(sent.contains(QLatin1String(foreign), Qt::CaseInsensitive)) << foreign;
        EXPECT_FALSE(sent.contains(QLatin1String("ADD COLUMN")) &&
                     sent.section(QStringLiteral("<br>"), 0, 0).contains(u','));
    }
}

TEST(OdbcDrivers, NewestSqlServerDriverIsChosenAndDriver18TrustsTheServer) {
    const QStringList windows{QStringLiteral("SQL Server"),
                              QStringLiteral("Microsoft Access Driver (*.mdb)"),
                              QStringLiteral("ODBC Driver 17 for SQL Server"),
                              QStringLiteral("odbc driver 18 for sql server")};
    EXPECT_EQ(chooseSqlServerDriver(windows), QStringLiteral("ODBC Driver 18 for SQL Server"));
    EXPECT_EQ(chooseSqlServerDriver(windows.mid(0, 3)),
              QStringLiteral("ODBC Driver 17 for SQL Server"));
    EXPECT_EQ(chooseSqlServerDriver(
                  {QStringLiteral("SQL Server Native Client 11.0"), QStringLiteral("SQL Server")}),
              QStringLiteral("SQL Server Native Client 11.0"));
    // The list could not be read: the driver every Windows has.
    EXPECT_EQ(chooseSqlServerDriver({}), QStringLiteral("SQL Server"));

    const SqlServerLogin settings{QStringLiteral("host\\SQL2019"), QStringLiteral("school"),
                                  QStringLiteral("sa"), QStringLiteral("p;w}d")};
    EXPECT_EQ(
        sqlServerConnectionString(settings, QStringLiteral("ODBC Driver 18 for SQL Server")),
        QStringLiteral("Driver={ODBC Driver 18 for SQL Server};Server={host\\SQL2019};"
                       "Database={school};UID={sa};PWD={p;w}}d};TrustServerCertificate=yes;"));
    const QString older = sqlServerConnectionString(settings, QStringLiteral("SQL Server"));
    EXPECT_EQ(older, QStringLiteral("Driver={SQL Server};Server={host\\SQL2019};Database={school};"
                                    "UID={sa};PWD={p;w}}d};"));
    EXPECT_EQ(odbcDriverOf(older), QStringLiteral("SQL Server"));
    EXPECT_EQ(odbcDriverOf(QStringLiteral("DRIVER={a}}b};x=1")), QStringLiteral("a}b"));
    EXPECT_EQ(odbcDriverOf(QStringLiteral("Driver=FreeTDS;Server=x")), QStringLiteral("FreeTDS"));
    EXPECT_EQ(odbcDriverOf(QStringLiteral("DSN=x")), QString());
}

TEST(OdbcDrivers, AccessDriverOfTheEngineFirstThenJet) {
    EXPECT_EQ(chooseAccessDriver({QStringLiteral("Microsoft Access Driver (*.mdb)"),
                                  QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)")}),
              QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)"));
    EXPECT_EQ(chooseAccessDriver({QStringLiteral("SQL Server"),
                                  QStringLiteral("Microsoft Access Driver (*.mdb)")}),
              QStringLiteral("Microsoft Access Driver (*.mdb)"));
    EXPECT_EQ(chooseAccessDriver({QStringLiteral("SQL Server")}), QString());
    const DbError missing = missingAccessDriverError(QStringLiteral("/x/exam.mdb"));
    EXPECT_TRUE(isMissingDriverError(missing));
    EXPECT_FALSE(isMissingDriverError(DbError{QStringLiteral("locked"), QStringLiteral("5")}));
}

#ifndef Q_OS_WIN
TEST(OdbcDrivers, DriverManagerListsTheInstalledDrivers) {
    // The test machine has the SQLite and FreeTDS drivers (scripts/setup).
    const QStringList drivers = installedOdbcDrivers();
    EXPECT_TRUE(drivers.contains(QStringLiteral("SQLite3"))) << drivers.join(',').toStdString();
    EXPECT_TRUE(drivers.contains(QStringLiteral("FreeTDS"))) << drivers.join(',').toStdString();
}
#endif

TEST(SqlDialect, TableOfSchoolStatementsMatchesWhatTheStandInIsSent) {
    QString error;
    const auto rows =
        korvex::test::readStatementTable(QStringLiteral("school-statements.md"), &error);
    ASSERT_GT(rows.size(), 20) << error.toStdString();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.written.toStdString());
        // "—": a statement only SQL Server is sent.
        if (row.sent != QStringLiteral("—")) {
            EXPECT_EQ(translateStatement(row.written, SqlDialect::Sqlite).join("<br>"), row.sent);
        }
        // No text literal outside ASCII: SQL Server would convert it to the
        // database's code page.
        forEachSqlPiece(row.written, [](QStringView piece, bool quoted) {
            if (!quoted || !piece.startsWith(u'\'')) return;
            for (const QChar c : piece)
                EXPECT_LT(c.unicode(), 0x80) << piece.toString().toStdString();
        });
    }
}
