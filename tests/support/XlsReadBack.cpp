#include "XlsReadBack.h"

#include <QFileInfo>
#include <QJsonDocument>

#include "HostCommand.h"

namespace korvex::test {
namespace {

// The Debian python3-xlrd module belongs to the system's python3, which may
// not be the first python3 on PATH.
QString pythonWithXlrd() {
    static const QString found = [] {
        for (const QString& candidate :
             {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
            const HostResult r =
                runHostCommand(candidate, {QStringLiteral("-c"), QStringLiteral("import xlrd")});
            if (r.finished && r.exitCode == 0) return candidate;
        }
        return QString();
    }();
    return found;
}

}  // namespace

XlsReadBack XlsReadBack::read(const QString& path) {
    XlsReadBack result;
    const QString python = pythonWithXlrd();
    if (python.isEmpty()) {
        result.error = QStringLiteral("no python3 with xlrd");
        return result;
    }
    const HostResult p = runHostCommand(
        python, {QStringLiteral(KORVEX_SOURCE_DIR "/tests/support/xls_dump.py"), hostPath(path)});
    if (!p.finished || p.exitCode != 0) {
        result.error = QString::fromUtf8(p.errors);
        return result;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(p.output, &parseError);
    if (!doc.isObject()) {
        result.error = parseError.errorString();
        return result;
    }
    result.root = doc.object();
    return result;
}

QStringList XlsReadBack::sheetNames() const {
    QStringList names;
    for (const QJsonValue s : sheets())
        names << s.toObject().value(QStringLiteral("name")).toString();
    return names;
}

QJsonObject XlsReadBack::sheet(const QString& name) const {
    for (const QJsonValue s : sheets())
        if (s.toObject().value(QStringLiteral("name")).toString() == name) return s.toObject();
    return {};
}

QJsonObject XlsReadBack::xf(int index) const {
    return root.value(QStringLiteral("xfs")).toArray().at(index).toObject();
}

QJsonObject XlsReadBack::font(int index) const {
    return root.value(QStringLiteral("fonts")).toArray().at(index).toObject();
}

SheetCells::SheetCells(const QJsonObject& sheet) {
    for (const QJsonValue v : sheet.value(QStringLiteral("cells")).toArray()) {
        const QJsonArray c = v.toArray();
        cells.insert(QStringLiteral("%1,%2").arg(c.at(0).toInt()).arg(c.at(1).toInt()),
                     QJsonArray{c.at(2), c.at(3), c.at(4)});
    }
}

bool SheetCells::has(int row, int col) const {
    return cells.contains(QStringLiteral("%1,%2").arg(row).arg(col));
}
int SheetCells::type(int row, int col) const {
    return cells.value(QStringLiteral("%1,%2").arg(row).arg(col)).at(0).toInt();
}
QString SheetCells::text(int row, int col) const {
    return cells.value(QStringLiteral("%1,%2").arg(row).arg(col)).at(1).toString();
}
double SheetCells::number(int row, int col) const {
    return cells.value(QStringLiteral("%1,%2").arg(row).arg(col)).at(1).toDouble();
}
int SheetCells::xf(int row, int col) const {
    return cells.value(QStringLiteral("%1,%2").arg(row).arg(col)).at(2).toInt(-1);
}

}  // namespace korvex::test
