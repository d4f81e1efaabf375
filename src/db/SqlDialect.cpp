#include "db/SqlDialect.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>

#include "db/JetSql.h"
#include "db/SqlText.h"

namespace korvex {
namespace {

// SQL Server's string `+`, `LEN(x)`, `dbo.` and `getdate()` in SQLite's
// words, outside quoted text.
QString sqliteExpressions(const QString& sql) {
    static const QRegularExpression len(QStringLiteral("\\bLEN\\s*\\($"),
                                        QRegularExpression::CaseInsensitiveOption);
    QString out;
    out.reserve(sql.size() + 16);
    // Parenthesis depths at which a LEN( was opened, to close its rtrim( too;
    // a quoted argument may stand between the two parentheses.
    QList<int> lenDepths;
    int depth = 0;
    forEachSqlPiece(sql, [&](QStringView piece, bool quoted) {
        if (quoted) {
            out += piece;
            return;
        }
        QString plain;
        plain.reserve(piece.size() + 8);
        for (const QChar c : piece) {
            if (c == u'+') {
                plain += QStringLiteral("||");
            } else if (c == u'(') {
                ++depth;
                plain += c;
                // Only the end of the text can hold the LEN( just closed
                // by this parenthesis; a long statement is not read again
                // at every parenthesis.
                const auto match = len.match(plain, std::max<qsizetype>(0, plain.size() - 64));
                if (match.hasMatch()) {
                    plain.replace(match.capturedStart(), match.capturedLength(),
                                  QStringLiteral("length(rtrim("));
                    lenDepths << depth;
                }
            } else if (c == u')') {
                plain += c;
                if (!lenDepths.isEmpty() && lenDepths.last() == depth) {
                    plain += u')';
                    lenDepths.removeLast();
                }
                --depth;
            } else {
                plain += c;
            }
        }
        out += withoutServerIdioms(plain, QStringLiteral("datetime('now')"));
    });
    return out;
}

// SQL Server's `UPDATE t SET … FROM t INNER JOIN (VALUES …) AS v(a, b) ON
// … WHERE …`, the batched update of rows given as values, in SQLite's form:
// the values become a subquery whose columns take the names, and the join
// condition joins the WHERE clause. The placeholders keep their order.
std::optional<QString> sqliteUpdateFromValues(const QString& sql) {
    static const QRegularExpression updateFromValues(
        QStringLiteral(
            "^\\s*UPDATE\\s+(\\S+)\\s+SET\\s+(.*?)\\s+FROM\\s+(\\S+)\\s+INNER\\s+JOIN\\s+"
            "\\(\\s*VALUES\\s+(.*)\\)\\s+AS\\s+(\\w+)\\s*\\(([^)]*)\\)\\s+ON\\s+(.*?)"
            "\\s+WHERE\\s+(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto match = updateFromValues.match(sql);
    if (!match.hasMatch() || match.captured(1) != match.captured(3)) return std::nullopt;
    // The join with the values finds the rows through the table's own
    // index; the other filters are written `+t.c`, so that SQLite does not
    // build an index of the whole table for them at every statement.
    QString filters = match.captured(8);
    filters.replace(
        QRegularExpression(QStringLiteral("(?<![\\w.+])(") +
                           QRegularExpression::escape(match.captured(1)) + QStringLiteral("\\.)")),
        QStringLiteral("+\\1"));
    QStringList columns;
    int n = 0;
    for (const QString& name : match.captured(6).split(u','))
        columns << QStringLiteral("column%1 AS %2").arg(++n).arg(name.trimmed());
    return QStringLiteral(
               "UPDATE %1 SET %2 FROM (SELECT %3 FROM (VALUES %4)) AS %5 WHERE (%6) AND %7")
        .arg(match.captured(1), match.captured(2), columns.join(QStringLiteral(", ")),
             match.captured(4), match.captured(5), match.captured(7), filters);
}

QString sqliteColumn(const QString& definition) {
    static const QRegularExpression sized(
        QStringLiteral("^(\\S+)\\s+n?var(?:char)?\\s*\\(\\s*(\\d+)\\s*\\)(.*)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression charType(
        QStringLiteral("^(\\S+)\\s+n?char\\s*\\(\\s*(\\d+)\\s*\\)(.*)$"),
        QRegularExpression::CaseInsensitiveOption);
    auto match = sized.match(definition);
    if (!match.hasMatch()) match = charType.match(definition);
    if (!match.hasMatch()) return definition;
    const QString column = match.captured(1);
    return QStringLiteral("%1 TEXT CHECK (length(%1) <= %2)%3")
        .arg(column, match.captured(2), match.captured(3));
}

}  // namespace

QStringList translateStatement(const QString& sql, SqlDialect dialect) {
    if (dialect == SqlDialect::Access) return jetStatements(sql);
    if (dialect != SqlDialect::Sqlite) return {sql};
    // The update from values takes its form last: its `+` is SQLite's own.
    const QString expressions = sqliteExpressions(sql);
    const QString rewritten = sqliteUpdateFromValues(expressions).value_or(expressions);

    return alterAddPerColumn(rewritten, sqliteColumn).value_or(QStringList{rewritten});
}

QString beginWriteStatement(SqlDialect dialect) {
    return dialect == SqlDialect::Sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QString();
}

QString busyTimeoutStatement(SqlDialect dialect, int seconds) {
    return dialect == SqlDialect::Sqlite
               ? QStringLiteral("PRAGMA busy_timeout=%1").arg(seconds * 1000)
               : QString();
}

bool reportsSqliteCodes(SqlDialect dialect) { return dialect == SqlDialect::Sqlite; }

bool insertsManyRows(SqlDialect dialect) { return dialect != SqlDialect::Access; }

}  // namespace korvex
