#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

namespace korvex {

// The self-check's findings: sections of lines, each passed, a warning or
// a failure, with its cause in the line's text.
class CheckReport {
public:
    enum class Verdict { Pass, Warning, Failure };
    struct Line {
        QString section;
        Verdict verdict;
        QString text;
    };

    // The lines added from now on belong to `title` ("校務行政資料庫").
    void section(const QString& title) { m_section = title; }
    void pass(const QString& text) { add(Verdict::Pass, text); }
    void warn(const QString& text) { add(Verdict::Warning, text); }
    void fail(const QString& text) { add(Verdict::Failure, text); }
    void add(Verdict verdict, const QString& text);

    const std::vector<Line>& lines() const { return m_lines; }
    int count(Verdict verdict) const;
    bool failed() const { return count(Verdict::Failure) > 0; }
    // The line of `section` whose text begins with `start`; null when none.
    const Line* find(const QString& section, const QString& start) const;

    // The report as the user reads it: a title with the time, the totals,
    // then each section under its title, one "通過  …" line per finding.
    QString text(const QDateTime& when) const;

    static QString label(Verdict verdict);  // 通過, 警告, 失敗

private:
    QString m_section;
    std::vector<Line> m_lines;
};

// 環境檢查-YYYYMMDD-HHMMSS.txt
QString checkReportFileName(const QDateTime& when);

// Writes `text` as the report file in `folder`: UTF-8 with a byte-order
// mark and CR LF line ends, as Notepad reads it. The file's path, or empty
// with `error` set.
QString writeCheckReport(const QString& folder, const QDateTime& when, const QString& text,
                         QString* error);

}  // namespace korvex
