#include <gtest/gtest.h>
#include <QAction>
#include <QTreeWidget>

#include "ModalDriver.h"
#include "ShellFolder.h"
#include "TestFolder.h"
#include "ops/ExamBackups.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"

using namespace korvex;
using korvex::test::click;
using korvex::test::ModalDriver;
using korvex::test::setText;
using korvex::test::TestFolder;
using Answer = MainWindowInterface::Answer;
using Icon = MainWindowInterface::Icon;

namespace {

void logIn(ModalDriver& driver) {
    driver.expect(QStringLiteral("frmLogin2"), [](QWidget* dialog) {
        setText(dialog, QStringLiteral("txtUserName"), QStringLiteral("admin"));
        setText(dialog, QStringLiteral("txtPassword"), QStringLiteral("secret"));
        click(dialog, QStringLiteral("cmdOK"));
    });
}

TEST(RestoreMenu, ListsTheCopiesAndPutsTheChosenOneBackAfterAQuestion) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    const QString exam = folder.file(QStringLiteral("exam.mdb"));
    MessageBox::Script boxes;
    ModalDriver driver;
    logIn(driver);
    MainWindow window;
    ASSERT_EQ(window.start(folder.path()), Startup::Result::Ready);
    QAction* restore = window.findChild<QAction*>(QStringLiteral("mnud_5"));
    ASSERT_NE(restore, nullptr);
    EXPECT_EQ(restore->text(), QStringLiteral("還原考試資料庫"));

    // No copy yet: the user is told so.
    restore->trigger();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().last().icon, Icon::Information);
    EXPECT_TRUE(boxes.shown().last().text.contains(QStringLiteral("沒有考試資料庫的備份")));

    // A copy with one teacher, then the table changed.
    TestFolder::run(exam, {QStringLiteral("insert into teacher values ('T1','甲','','')")});
    QString error;
    ASSERT_FALSE(
        examBackups::take(window.context().exam, QStringLiteral("teachers"), &error).isEmpty())
        << error.toStdString();
    TestFolder::run(exam, {QStringLiteral("delete from teacher")});

    // The list names the operation and the rows; choosing it asks first, and
    // No changes nothing.
    QStringList listed;
    const auto choose = [&](QWidget* dialog) {
        auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("lstCopies"));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->topLevelItemCount(), 1);
        listed << list->topLevelItem(0)->text(1) + u'|' + list->topLevelItem(0)->text(2);
        click(dialog, QStringLiteral("cmdRestore"));
    };
    driver.expect(QStringLiteral("frmRestore"), choose);
    boxes.clear();
    boxes.answer(Answer::No);
    restore->trigger();
    EXPECT_EQ(listed,
              QStringList{QStringLiteral("教師資料匯入|學生 0, 教師 1, 考試科目 0, 考試資料 0")});
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].buttons, MainWindowInterface::Buttons::YesNo);
    EXPECT_EQ(boxes.shown()[0].defaultAnswer, Answer::No);
    EXPECT_TRUE(TestFolder::rows(exam, QStringLiteral("select * from teacher")).isEmpty());

    // Yes: the copy is back, the content it replaced is a copy of its own.
    driver.expect(QStringLiteral("frmRestore"), choose);
    boxes.clear();
    boxes.answer(Answer::Yes);
    restore->trigger();
    EXPECT_EQ(TestFolder::rows(exam, QStringLiteral("select tchno from teacher")),
              QStringList{"T1"});
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_TRUE(boxes.shown()[1].text.startsWith(QStringLiteral("考試資料庫已還原為 ")));
    EXPECT_EQ(examBackups::list(exam).size(), 2);
    EXPECT_EQ(examBackups::list(exam).first().operation, QStringLiteral("restore"));
    EXPECT_TRUE(driver.unexpected.isEmpty()) << driver.unexpected.join(u',').toStdString();
    EXPECT_EQ(driver.pending(), 0);
}

}  // namespace
