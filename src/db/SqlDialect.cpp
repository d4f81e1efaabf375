#include "db/SqlDialect.h"

#include <QRegularExpression>

#include "db/JetSql.h"
#include "db/SqlText.h"

namespace korvex {
namespace {

// Rewrites the parts of `sql` that lie outside quoted text.
QString rewriteOutsideQuotes(const QString& sql) {
    static const QRegularExpression dbo(QStringLiteral("\\bdbo\\."),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression getdate(QStringLiteral("\\bgetdate\\s*\\(\\s*\\)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression len(QStringLiteral("\\bLEN\\s*\\($"),
                                        QRegularExpression::CaseInsensitiveOption);
    QString out;
    out.reserve(sql.size() + 16);
    QChar quote;
    // Parenthesis depths at which a LEN( was opened, to close its rtrim( too.
    QList<int> lenDepths;
    int depth = 0;
    QString plain;  // pending unquoted text, flushed through the regexes
    auto flush = [&] {
        plain.replace(dbo, QString());
        plain.replace(getdate, QStringLiteral("datetime('now')"));
        out += plain;
        plain.clear();
    };
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            out += c;
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'[') {
            flush();
            quote = c == u'[' ? QChar(u']') : c;
            out += c;
            continue;
        }
        if (c == u'+') {
            plain += QStringLiteral("||");
            continue;
        }
        if (c == u'(') {
            ++depth;
            plain += c;
            const auto match = len.match(plain);
            if (match.hasMatch()) {
                plain.replace(match.capturedStart(), match.capturedLength(),
                              QStringLiteral("length(rtrim("));
                lenDepths << depth;
            }
            continue;
        }
        if (c == u')') {
            plain += c;
            if (!lenDepths.isEmpty() && lenDepths.last() == depth) {
                plain += u')';
                lenDepths.removeLast();
            }
            --depth;
            continue;
        }
        plain += c;
    }
    flush();
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
    const QString rewritten = rewriteOutsideQuotes(sql);

    return alterAddPerColumn(rewritten, sqliteColumn).value_or(QStringList{rewritten});
}

}  // namespace korvex
