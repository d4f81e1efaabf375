#pragma once

#include "QtPrinting.h"

#include <gtest/gtest.h>
#include <QString>
#include <QStringList>
#include <ostream>

#include "AppFolder.h"

namespace korvex::test {

// A program folder with a school database (short-code columns included) and
// an exam database, both open, and a scripted window.
class ImportFixture : public ::testing::Test, public AppFolder {
protected:
    void SetUp() override {
        schoolFile = folder.createSchool();
        examFile = folder.createExam();
        openConnections();
    }

    void openConnections() {
        ASSERT_TRUE(context.school.openSqlite(schoolFile));
        ASSERT_TRUE(context.exam.openSqlite(examFile));
    }

    // Closes both connections so that the test can change the files.
    void closeConnections() {
        context.school.close();
        context.exam.close();
    }

    void school(const QStringList& statements) { TestFolder::run(schoolFile, statements); }
    void exam(const QStringList& statements) { TestFolder::run(examFile, statements); }
    QStringList examRows(const QString& query) const { return TestFolder::rows(examFile, query); }

    // The texts of the message boxes, in order, without the line about the
    // copy of exam.mdb that a run's last message carries (backupTaken() looks
    // at it) and with a failure's reason line cut off (reasons() has them).
    QStringList messages() const {
        QStringList texts;
        for (const QString& text : window.messageTexts()) texts << parseMessage(text).body;
        return texts;
    }
    // The reason lines of the messages, in order ("" for a message without).
    QStringList reasons() const {
        QStringList lines;
        for (const QString& text : window.messageTexts()) lines << parseMessage(text).reason;
        return lines;
    }
    // The copy of exam.mdb the run's last message names; empty when none.
    QString backupTaken() const { return lastMessage().backup; }
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

    QString schoolFile;
    QString examFile;
};

}  // namespace korvex::test
