#include "db/JetSql.h"

#include <QRegularExpression>

#include "db/SqlText.h"

namespace korvex {
namespace {

// One column definition "name type [NULL|NOT NULL]" with Jet's type names.
QString jetColumn(const QString& definition) {
    static const QRegularExpression column(
        QStringLiteral("^(\\[[^\\]]*\\]|\\S+)\\s+(\\w+)\\s*(?:\\(\\s*(\\w+)\\s*\\))?\\s*(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto match = column.match(definition);
    if (!match.hasMatch()) return definition;
    const QString type = match.captured(2).toLower();
    const QString size = match.captured(3);
    QString rest = match.captured(4).trimmed();
    QString jetType;
    if (type == QLatin1String("nvarchar") || type == QLatin1String("varchar") ||
        type == QLatin1String("nchar") || type == QLatin1String("char")) {
        bool numeric = false;
        const int length = size.toInt(&numeric);
        jetType = numeric && length <= 255 ? QStringLiteral("TEXT(%1)").arg(length)
                                           : QStringLiteral("MEMO");
    } else if (type == QLatin1String("text") && !size.isEmpty()) {
        jetType = QStringLiteral("TEXT(%1)").arg(size);  // already Jet's
    } else if (type == QLatin1String("ntext") || type == QLatin1String("text")) {
        jetType = QStringLiteral("MEMO");
    } else if (type == QLatin1String("int") || type == QLatin1String("integer")) {
        jetType = QStringLiteral("INTEGER");
    } else if (type == QLatin1String("smallint")) {
        jetType = QStringLiteral("SMALLINT");
    } else if (type == QLatin1String("float")) {
        jetType = QStringLiteral("DOUBLE");
    } else if (type == QLatin1String("datetime")) {
        jetType = QStringLiteral("DATETIME");
    } else {
        jetType = match.captured(2) + (size.isEmpty() ? QString() : u'(' + size + u')');
    }
    if (rest.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0) rest.clear();
    return match.captured(1) + u' ' + jetType + (rest.isEmpty() ? QString() : u' ' + rest);
}

}  // namespace

QStringList jetStatements(const QString& sql) {
    // `abs` names Jet's built-in function; as a column it is bracketed so
    // that the engine never reads it as the function.
    static const QRegularExpression absColumn(QStringLiteral("\\b(abs)\\b(?!\\s*\\()"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString rewritten = rewriteOutsideQuotes(sql, [](QString plain) {
        plain.replace(absColumn, QStringLiteral("[\\1]"));
        return withoutServerIdioms(std::move(plain), QStringLiteral("Now()"));
    });
    return alterAddPerColumn(rewritten, jetColumn).value_or(QStringList{rewritten});
}

}  // namespace korvex
