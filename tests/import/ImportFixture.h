#pragma once

#include <gtest/gtest.h>
#include <QString>
#include <QStringList>
#include <ostream>

#include "ScriptedWindow.h"
#include "TestFolder.h"
#include "ops/AppContext.h"

// Readable texts in failure output.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace korvex::test {

// A program folder with a school database (short-code columns included) and
// an exam database, both open, and a scripted window.
class ImportFixture : public ::testing::Test {
protected:
    void SetUp() override {
        schoolFile = folder.createSchool();
        examFile = folder.createExam();
        openConnections();
    }

    void openConnections() {
        ASSERT_TRUE(context.school.openSqlite(schoolFile));
        ASSERT_TRUE(context.exam.openSqlite(examFile));
        context.window = &window;
    }

    // Closes both connections so that the test can change the files.
    void closeConnections() {
        context.school.close();
        context.exam.close();
    }

    void school(const QStringList& statements) { TestFolder::run(schoolFile, statements); }
    void exam(const QStringList& statements) { TestFolder::run(examFile, statements); }
    QStringList examRows(const QString& query) const { return TestFolder::rows(examFile, query); }

    // The texts of the message boxes, in order.
    QStringList messages() const { return window.messageTexts(); }
    // The events of the window other than message boxes, in order.
    QStringList windowEvents() const {
        QStringList events;
        for (const QString& e : window.events)
            if (!e.startsWith(QStringLiteral("message "))) events << e;
        return events;
    }

    // The run ended as every run must: window enabled, busy display gone.
    void expectEndedCleanly() const {
        EXPECT_TRUE(window.enabled);
        EXPECT_FALSE(window.busyVisible);
        EXPECT_FALSE(window.hourglass);
        EXPECT_EQ(window.disableCount, 1);
    }

    TestFolder folder;
    QString schoolFile;
    QString examFile;
    ScriptedWindow window;
    AppContext context;
};

}  // namespace korvex::test
