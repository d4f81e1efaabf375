#pragma once

#include "QtPrinting.h"

#include <QString>
#include <QStringList>
#include <ostream>

#include "AppFolder.h"

namespace korvex::test {

// A program folder with an SQLite school database (school.sqlite) that the
// settings point at, and a scripted main window.
struct SchoolFixture : AppFolder {
    explicit SchoolFixture(bool withShortCodes = false) {
        schoolFile = folder.createSchool(withShortCodes);
        context.settings.server = QStringLiteral("sqlite");
        context.settings.databaseName = QStringLiteral("school.sqlite");
    }

    void student(const QString& number, const QString& dept, const QString& grade,
                 const QString& cls, const QString& seat,
                 const QString& status = QStringLiteral("")) {
        TestFolder::run(schoolFile,
                        QStringLiteral("INSERT INTO sastuden (學號, 在學科別, 在學年級, 在學班次, "
                                       "在學座號, 在學狀態) VALUES (?, ?, ?, ?, ?, ?)"),
                        {number, dept, grade, cls, seat, status});
    }
    void department(const QString& code) {
        TestFolder::run(schoolFile,
                        QStringLiteral("INSERT INTO z_dept (科別碼, 科別中文名) VALUES (?, ?)"),
                        {code, QStringLiteral("科") + code});
    }
    void schoolClass(const QString& code, const QString& name,
                     const QString& group = QStringLiteral("0")) {
        TestFolder::run(schoolFile,
                        QStringLiteral("INSERT INTO z_class (班級碼, 班級簡稱, 班級名稱, 班級類組) "
                                       "VALUES (?, ?, ?, ?)"),
                        {code, name, name, group});
    }
    // "code|short code" per department, in code order.
    QStringList departmentCodes() const {
        return TestFolder::rows(
            schoolFile, QStringLiteral("SELECT 科別碼, 科別簡碼 FROM z_dept ORDER BY 科別碼"));
    }
    QStringList classCodes() const {
        return TestFolder::rows(schoolFile,
                                QStringLiteral("SELECT 班級碼, 簡碼 FROM z_class ORDER BY 班級碼"));
    }

    QString schoolFile;
};

}  // namespace korvex::test
