#include "db/SqlDialect.h"

#include <QRegularExpression>

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
                const auto match = len.match(plain);
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
    const QString rewritten = sqliteExpressions(sql);

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

}  // namespace korvex
