#include "db/SqlText.h"

#include <QRegularExpression>

namespace korvex {

QStringList splitTopLevel(const QString& text) {
    QStringList parts;
    int depth = 0;
    QChar quote;
    QString current;
    for (const QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
        } else if (c == u'\'' || c == u'"' || c == u'[') {
            quote = c == u'[' ? QChar(u']') : c;
        } else if (c == u'(') {
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
