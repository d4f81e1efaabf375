#include "StatementTable.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace korvex::test {
namespace {

// The cells of one Markdown table row; "\|" is a '|' inside a cell.
QStringList cells(const QString& line) {
    QStringList result;
    QString current;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'\\' && i + 1 < line.size() && line.at(i + 1) == u'|') {
            current += u'|';
            ++i;
        } else if (c == u'|') {
            result << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    return result;
}

QString code(const QString& cell) {
    QStringList parts;
    for (const QString& part : cell.split(QStringLiteral("<br>"))) {
        QString text = part.trimmed();
        if (text.startsWith(u'`') && text.endsWith(u'`')) text = text.mid(1, text.size() - 2);
        parts << text;
    }
    return parts.join(QStringLiteral("<br>"));
}

}  // namespace

QList<ListedStatement> readStatementTable(const QString& document, QString* error) {
    QList<ListedStatement> rows;
    QFile file(QStringLiteral(KORVEX_SOURCE_DIR "/docs/") + document);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return rows;
    }
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.startsWith(QLatin1String("| "))) continue;
        const QStringList row = cells(line);
        // | where | written | sent |
        if (row.size() < 3 || !row.at(1).startsWith(u'`')) continue;
        rows << ListedStatement{code(row.at(1)), code(row.at(2))};
    }
    return rows;
}

QString tableForm(const QString& statement) {
    static const QRegularExpression roster(QStringLiteral("\\bperiodical[1-6]\\b"));
    static const QRegularExpression slotColumn(QStringLiteral("(考試成績|考試比例)[1-6]"));
    static const QRegularExpression valueRows(
        QStringLiteral("\\(VALUES (\\((?:\\?,)*\\?\\))(?:,\\1)*\\)"));
    // An insert of many rows: VALUES (?,?),(?,?),…
    static const QRegularExpression insertedRows(
        QStringLiteral("\\b(VALUES|values) (\\([^()]*\\))(?:,\\2)+$"));
    return statement.simplified()
        .replace(roster, QStringLiteral("periodicalN"))
        .replace(slotColumn, QStringLiteral("\\1N"))
        .replace(valueRows, QStringLiteral("(VALUES \\1 …)"))
        .replace(insertedRows, QStringLiteral("\\1 \\2, …"));
}

}  // namespace korvex::test
