#include "db/SqlText.h"

#include <QRegularExpression>

namespace korvex {

void forEachSqlPiece(const QString& sql,
                     const std::function<void(QStringView, bool quoted)>& piece) {
    const QStringView text(sql);
    qsizetype start = 0;
    QChar closing;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!closing.isNull()) {
            if (c == closing) {
                piece(text.mid(start, i + 1 - start), true);
                start = i + 1;
                closing = QChar();
            }
        } else if (c == u'\'' || c == u'"' || c == u'[') {
            if (i > start) piece(text.mid(start, i - start), false);
            start = i;
            closing = c == u'[' ? QChar(u']') : c;
        }
    }
    // An unclosed quote runs to the end, as the engines read it.
    if (start < text.size()) piece(text.mid(start), !closing.isNull());
}

QString rewriteOutsideQuotes(const QString& sql, const std::function<QString(QString)>& edit) {
    QString out;
    out.reserve(sql.size() + 16);
    forEachSqlPiece(sql, [&](QStringView piece, bool quoted) {
        out += quoted ? piece.toString() : edit(piece.toString());
    });
    return out;
}

QString withoutServerIdioms(QString plain, const QString& now) {
    static const QRegularExpression dbo(QStringLiteral("\\bdbo\\."),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression getdate(QStringLiteral("\\bgetdate\\s*\\(\\s*\\)"),
                                            QRegularExpression::CaseInsensitiveOption);
    plain.replace(dbo, QString());
    plain.replace(getdate, now);
    return plain;
}

QStringList splitTopLevel(const QString& text) {
    QStringList parts;
    QString current;
    int depth = 0;
    forEachSqlPiece(text, [&](QStringView piece, bool quoted) {
        if (quoted) {
            current += piece;
            return;
        }
        for (const QChar c : piece) {
            if (c == u'(') {
                ++depth;
            } else if (c == u')') {
                --depth;
            } else if (c == u',' && depth == 0) {
                parts << current.trimmed();
                current.clear();
                continue;
            }
            current += c;
        }
    });
    if (!current.trimmed().isEmpty()) parts << current.trimmed();
    return parts;
}

std::optional<QStringList> alterAddPerColumn(const QString& sql,
                                             const std::function<QString(const QString&)>& column) {
    static const QRegularExpression alterAdd(
        QStringLiteral(
            "^\\s*alter\\s+table\\s+(\\[[^\\]]*\\]|\\S+)\\s+add\\s+(?:column\\s+)?(.*?)\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto match = alterAdd.match(sql);
    if (!match.hasMatch()) return std::nullopt;
    QStringList statements;
    for (const QString& definition : splitTopLevel(match.captured(2)))
        statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                          .arg(match.captured(1), column(definition));
    return statements;
}

}  // namespace korvex
