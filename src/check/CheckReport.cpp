#include "check/CheckReport.h"

#include <QDir>
#include <QSaveFile>

#include "core/AppInfo.h"
#include "core/FileErrors.h"

namespace korvex {

void CheckReport::add(Verdict verdict, const QString& text) {
    m_lines.push_back({m_section, verdict, text});
}

int CheckReport::count(Verdict verdict) const {
    int n = 0;
    for (const Line& line : m_lines)
        if (line.verdict == verdict) ++n;
    return n;
}

const CheckReport::Line* CheckReport::find(const QString& section, const QString& start) const {
    for (const Line& line : m_lines)
        if (line.section == section && line.text.startsWith(start)) return &line;
    return nullptr;
}

QString CheckReport::label(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return QStringLiteral("通過");
        case Verdict::Warning:
            return QStringLiteral("警告");
        case Verdict::Failure:
            break;
    }
    return QStringLiteral("失敗");
}

QString CheckReport::text(const QDateTime& when) const {
    QStringList out;
    out << appTitle() + QStringLiteral(" 環境檢查 ") +
               when.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    out << QStringLiteral("結果: 通過 %1 項, 警告 %2 項, 失敗 %3 項")
               .arg(count(Verdict::Pass))
               .arg(count(Verdict::Warning))
               .arg(count(Verdict::Failure));
    QString section;
    for (const Line& line : m_lines) {
        if (line.section != section) {
            section = line.section;
            out << QString() << QStringLiteral("[%1]").arg(section);
        }
        out << label(line.verdict) + QStringLiteral("  ") + line.text;
    }
    return out.join(QStringLiteral("\r\n"));
}

QString checkReportFileName(const QDateTime& when) {
    return QStringLiteral("環境檢查-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss")) +
           QStringLiteral(".txt");
}

QString writeCheckReport(const QString& folder, const QDateTime& when, const QString& text,
                         QString* error) {
    QString path = QDir(folder).filePath(checkReportFileName(when));
    QSaveFile file(path);
    QString crlf = text;
    crlf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + crlf.toUtf8() + QByteArray("\r\n");
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) *error = fileErrorText(file.errorString());
        return QString();
    }
    return path;
}

}  // namespace korvex
