#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>

#include "ModalDriver.h"
#include "ShellFolder.h"
#include "TestFolder.h"
#include "core/AppInfo.h"
#include "menu/OperationTable.h"
#include "settings/SettingsFile.h"
#include "startup/StartupSteps.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"

using namespace korvex;
using korvex::test::click;
using korvex::test::ModalDriver;
using korvex::test::setText;
using korvex::test::TestFolder;
using Icon = MainWindowInterface::Icon;
using Buttons = MainWindowInterface::Buttons;
using Answer = MainWindowInterface::Answer;

namespace {

bool menuEnabled(MainWindow& window, const char* name) {
    auto* menu = window.findChild<QMenu*>(QLatin1String(name));
    EXPECT_NE(menu, nullptr) << name;
    return menu && menu->menuAction()->isEnabled();
}

QAction* action(MainWindow& window, const char* name) {
    auto* item = window.findChild<QAction*>(QLatin1String(name));
    EXPECT_NE(item, nullptr) << name;
    return item;
}

QString logText(const TestFolder& folder) {
    QFile log(folder.file(startupLogName()));
    if (!log.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(log.readAll());
}

void logIn(ModalDriver& driver, const QString& user, const QString& password) {
    driver.expect(QStringLiteral("frmLogin2"), [=](QWidget* dialog) {
        setText(dialog, QStringLiteral("txtUserName"), user);
        setText(dialog, QStringLiteral("txtPassword"), password);
        click(dialog, QStringLiteral("cmdOK"));
    });
}

}  // namespace

TEST(MainWindow, MissingExamDatabaseShowsTheMessageUnderTheDesignCaption) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder, {.withExam = false, .withSettings = false});
    MessageBox::Script boxes;
    MainWindow window;
    EXPECT_EQ(window.objectName(), QStringLiteral("Mainfrm"));
    EXPECT_EQ(window.start(folder.path()), Startup::Result::Ended);

    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().title, QStringLiteral("KORVEX小幫手Zamo高中版"));
    EXPECT_EQ(boxes.shown().first().icon, Icon::Critical);
    EXPECT_TRUE(boxes.shown().first().text.contains(QStringLiteral("Exam.mdb")));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(QFileInfo::exists(folder.file("ASSISTANT.INI")));
}

TEST(MainWindow, LoginThroughTheDialogOpensTheMenusUnderTheTermTitle) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    MessageBox::Script boxes;
    ModalDriver driver;
    // A wrong password first: the dialog says so and stays open.
    driver.expect(QStringLiteral("frmLogin2"), [](QWidget* dialog) {
        setText(dialog, QStringLiteral("txtUserName"), QStringLiteral("admin"));
        setText(dialog, QStringLiteral("txtPassword"), QStringLiteral("wrong"));
        click(dialog, QStringLiteral("cmdOK"));
        setText(dialog, QStringLiteral("txtPassword"), QStringLiteral(" secret "));
        click(dialog, QStringLiteral("cmdOK"));
    });
    MainWindow window;
    ASSERT_EQ(window.start(folder.path()), Startup::Result::Ready);

    EXPECT_EQ(driver.handled, QStringList{"frmLogin2"});
    EXPECT_TRUE(driver.unexpected.isEmpty()) << driver.unexpected.join(',').toStdString();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().title, QStringLiteral("登入"));
    EXPECT_EQ(boxes.shown().first().text, QStringLiteral("使用者密碼錯誤，請重新輸入!"));
    EXPECT_EQ(boxes.shown().first().icon, Icon::None);

    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("KORVEX小幫手Zamo高中版(95學年第2學期期中考)[高中版]"));
    for (const char* name : {"mnuaa", "mnuee", "mnudd"}) EXPECT_TRUE(menuEnabled(window, name));
    EXPECT_EQ(action(window, "mnue_1")->text(), QStringLiteral("匯入95學年第2學期期中考考試資料"));
    EXPECT_EQ(action(window, "mnue_2")->text(), QStringLiteral("匯出95學年第2學期期中考考試資料"));
    EXPECT_TRUE(action(window, "mnue_1")->isEnabled());

    auto* version = window.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Version:1.0.0"));
    EXPECT_EQ(version->font().family(), QStringLiteral("Times New Roman"));
    EXPECT_FALSE(window.findChild<QLabel*>(QStringLiteral("MsgLbl"))->isVisible());
    EXPECT_FALSE(window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->isVisible());
    for (const char* panel : {"Caps", "Numlock", "Ins", "Time", "Date"}) {
        auto* label = window.statusBar()->findChild<QLabel*>(QLatin1String(panel));
        ASSERT_NE(label, nullptr) << panel;
        EXPECT_FALSE(label->toolTip().isEmpty());
    }
    EXPECT_FALSE(window.statusBar()->findChild<QLabel*>("Time")->text().isEmpty());
    EXPECT_EQ(window.statusBar()->findChild<QLabel*>("Caps")->toolTip(),
              QStringLiteral("鍵盤上 Caps Lock 的狀態"));

    // Exit from the menu closes the window and both connections.
    action(window, "mnud_1")->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.context().school.isOpen());
    EXPECT_FALSE(window.context().exam.isOpen());
}

TEST(MainWindow, MenusRunOperationsAndGuardTheExamNumber) {
    TestFolder folder;
    korvex::test::makeShellFolder(
        folder, {.examNo = QStringLiteral("7"), .examName = QStringLiteral("模擬考")});
    ModalDriver driver;
    logIn(driver, QStringLiteral("ADMIN"), QStringLiteral("secret"));
    MainWindow window;
    MessageBox::Script boxes;
    ASSERT_EQ(window.start(folder.path()), Startup::Result::Ready);

    // "7" sorts after "0", so the exam menu is open, but 7 names no exam:
    // the operation refuses and nothing in exam.mdb changes.
    const QString exam = folder.file("exam.mdb");
    const QStringList tablesBefore =
        TestFolder::rows(exam, "SELECT name FROM sqlite_master ORDER BY name");
    ASSERT_TRUE(action(window, "mnue_1")->isEnabled());
    action(window, "mnue_1")->trigger();
    action(window, "mnue_2")->trigger();
    ASSERT_EQ(boxes.shown().size(), 2);
    for (const auto& box : boxes.shown()) {
        EXPECT_TRUE(box.text.contains(QStringLiteral("「7」"))) << box.text.toStdString();
        EXPECT_EQ(box.icon, Icon::Critical);
        EXPECT_EQ(box.title, window.windowTitle());
    }
    EXPECT_TRUE(boxes.shown().first().text.contains(QStringLiteral("參數設定")));
    EXPECT_TRUE(boxes.shown().first().text.startsWith(QStringLiteral("95學年第2學期模擬考")));
    EXPECT_EQ(TestFolder::rows(exam, "SELECT name FROM sqlite_master ORDER BY name"), tablesBefore);
    EXPECT_TRUE(window.isWindowEnabled());

    // A base-data item runs its operation; whatever it says is titled with
    // the window's caption and the window is usable afterwards.
    boxes.clear();
    action(window, "mnua_1")->trigger();
    ASSERT_FALSE(boxes.shown().isEmpty());
    EXPECT_EQ(boxes.shown().last().title, window.windowTitle());
    EXPECT_TRUE(window.isWindowEnabled());
    EXPECT_TRUE(window.menuBar()->isEnabled());

    // About opens modally and closes with its OK button.
    driver.expect(QStringLiteral("frmAbout"),
                  [](QWidget* dialog) { click(dialog, QStringLiteral("cmdOK")); });
    action(window, "mnud_4")->trigger();
    EXPECT_EQ(driver.handled.last(), QStringLiteral("frmAbout"));
    EXPECT_TRUE(driver.unexpected.isEmpty());
    window.close();
}

TEST(MainWindow, FirstStartCreatesTheSettingsFileBeforeConnecting) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder, {.withSettings = false});
    MessageBox::Script boxes;
    boxes.answer(Answer::No);
    MainWindow window;
    // The defaults name an SQL Server that is not there; the user gives up.
    EXPECT_EQ(window.start(folder.path()), Startup::Result::Ended);
    EXPECT_EQ(boxes.texts(), QStringList{Startup::connectionQuestion()});
    ASSERT_TRUE(QFileInfo::exists(folder.file("ASSISTANT.INI")));
    const Settings written = readSettingsFile(folder.file("ASSISTANT.INI"));
    EXPECT_EQ(written.server, Settings().server);
    EXPECT_EQ(written.adminPassword, Settings().adminPassword);
    EXPECT_EQ(window.context().settings.server, Settings().server);
}

TEST(MainWindow, UnreachableSchoolAnsweredNoEndsWithTheLoggedCause) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder, {.databaseName = QStringLiteral("elsewhere.sqlite")});
    MessageBox::Script boxes;
    boxes.answer(Answer::No);
    MainWindow window;
    EXPECT_EQ(window.start(folder.path()), Startup::Result::Ended);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().title, appTitle());
    EXPECT_EQ(boxes.shown().first().buttons, Buttons::YesNo);
    EXPECT_EQ(boxes.shown().first().icon, Icon::Exclamation);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(logText(folder).contains(QStringLiteral("elsewhere.sqlite")));
}

TEST(MainWindow, CancelledLoginEndsTheProgramAfterShowingTheWindow) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder);
    MessageBox::Script boxes;
    ModalDriver driver;
    bool visibleDuringLogin = false;
    MainWindow window;
    driver.expect(QStringLiteral("frmLogin2"), [&](QWidget* dialog) {
        visibleDuringLogin = window.isVisible();
        setText(dialog, QStringLiteral("txtUserName"), QStringLiteral("nobody"));
        click(dialog, QStringLiteral("cmdOK"));
        click(dialog, QStringLiteral("cmdCancel"));
    });
    EXPECT_EQ(window.start(folder.path()), Startup::Result::Ended);
    EXPECT_TRUE(visibleDuringLogin);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("無此使用者帳號，請重新輸入!")});
    EXPECT_FALSE(menuEnabled(window, "mnuaa"));
    EXPECT_FALSE(window.context().school.isOpen());
    EXPECT_TRUE(logText(folder).contains(QStringLiteral("未登入")));
}

TEST(MainWindow, BusyDisplayIsExactWhenABoxShowsAndWhenItEnds) {
    MainWindow window;
    MessageBox::Script boxes;
    auto* label = window.findChild<QLabel*>(QStringLiteral("MsgLbl"));
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    window.show();

    window.setWindowEnabled(false);
    window.showBusy();
    EXPECT_TRUE(label->isVisible());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(label->text(), QString());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_FALSE(window.menuBar()->isEnabled());
    EXPECT_FALSE(window.isWindowEnabled());

    window.setBusyRange(345);
    for (int i = 1; i <= 12; ++i) window.stepBusy(i);
    window.message(QStringLiteral("midway"), Icon::None);
    EXPECT_EQ(label->text(), QStringLiteral("000012/000345"));
    EXPECT_EQ(bar->value(), 12);

    // Many quick steps are painted only now and then, but the last one is exact.
    QElapsedTimer clock;
    clock.start();
    const int paintsBefore = window.busyPaints();
    window.setBusyRange(200000);
    for (int i = 1; i <= 200000; ++i) window.stepBusy(i);
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(label->text(), QStringLiteral("200000/200000"));
    EXPECT_EQ(bar->value(), 200000);
    EXPECT_LE(window.busyPaints() - paintsBefore, elapsed / 33 + 2);

    // A step held back is painted once its time comes, without another step.
    window.setBusyRange(10);
    window.stepBusy(1);
    window.stepBusy(2);
    QElapsedTimer wait;
    wait.start();
    while (label->text() != QStringLiteral("000002/000010") && wait.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(label->text(), QStringLiteral("000002/000010"));

    window.endBusy();
    window.setWindowEnabled(true);
    EXPECT_FALSE(label->isVisible());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(window.menuBar()->isEnabled());
}

TEST(MainWindow, KeyPanelsFollowTheKeysTheUserPresses) {
    MainWindow window;
    window.show();
    QApplication::setActiveWindow(&window);
    auto panel = [&](const char* name) {
        return window.statusBar()->findChild<QLabel*>(QLatin1String(name));
    };
    auto press = [](int key, const QString& text, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                      : QApplication::activeWindow();
        ASSERT_NE(target, nullptr);
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(target, &event);
    };
    EXPECT_FALSE(panel("Caps")->isEnabled());
    press(Qt::Key_A, QStringLiteral("A"));  // upper case without Shift
    EXPECT_TRUE(panel("Caps")->isEnabled());
    press(Qt::Key_A, QStringLiteral("a"), Qt::ShiftModifier);
    EXPECT_TRUE(panel("Caps")->isEnabled());
    press(Qt::Key_B, QStringLiteral("b"));
    EXPECT_FALSE(panel("Caps")->isEnabled());

    press(Qt::Key_5, QStringLiteral("5"), Qt::KeypadModifier);
    EXPECT_TRUE(panel("Numlock")->isEnabled());
    press(Qt::Key_Home, QString(), Qt::KeypadModifier);
    EXPECT_FALSE(panel("Numlock")->isEnabled());

    press(Qt::Key_Insert, QString());
    EXPECT_TRUE(panel("Ins")->isEnabled());
    press(Qt::Key_Insert, QString());
    EXPECT_FALSE(panel("Ins")->isEnabled());
    EXPECT_EQ(panel("Date")->text(), QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
}

TEST(MainWindow, UnreachableSchoolAnsweredYesFourTimesEndsAfterTheFifthAttempt) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder, {.databaseName = QStringLiteral("elsewhere.sqlite")});
    MessageBox::Script boxes;  // every question answered with its default, Yes
    ModalDriver driver;
    QList<bool> lockedFields;
    for (int i = 0; i < 4; ++i)
        driver.expect(QStringLiteral("frmPara"), [&](QWidget* dialog) {
            // Only the database fields and the class-code mode are open.
            bool locked = true;
            for (const char* name : {"Text1", "Text2", "Combo1", "Combo2", "Check1"})
                locked &= !dialog->findChild<QWidget*>(QLatin1String(name))->isEnabled();
            locked &= dialog->findChild<QWidget*>(QStringLiteral("Text4"))->isEnabled();
            lockedFields << locked;
            click(dialog, QStringLiteral("Command2"));
        });
    MainWindow window;
    EXPECT_EQ(window.start(folder.path()), Startup::Result::Ended);
    EXPECT_EQ(driver.handled.size(), 4);
    EXPECT_EQ(lockedFields, QList<bool>(4, true));
    EXPECT_TRUE(driver.unexpected.isEmpty()) << driver.unexpected.join(',').toStdString();
    EXPECT_EQ(boxes.texts(), QStringList(4, Startup::connectionQuestion()));
    for (const auto& box : boxes.shown()) EXPECT_EQ(box.title, appTitle());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(logText(folder).contains(QStringLiteral("5 次")));
}

TEST(MainWindow, MenuSettingsTakeTheExamNameTheSchoolGives) {
    // Exam 2 has no name in the school database any more; the name the file
    // still holds for it goes at the first save from the menu.
    TestFolder folder;
    korvex::test::makeShellFolder(
        folder, {.examNo = QStringLiteral("2"), .examName = QStringLiteral("已刪除考試")});
    TestFolder::run(folder.file("school.sqlite"),
                    {QStringLiteral("UPDATE z_name SET 考試名稱3 = '期中😀考'")});
    MessageBox::Script boxes;
    ModalDriver driver;
    logIn(driver, QStringLiteral("admin"), QStringLiteral("secret"));
    MainWindow window;
    ASSERT_EQ(window.start(folder.path()), Startup::Result::Ready);
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("KORVEX小幫手Zamo高中版(95學年第2學期已刪除考試)[高中版]"));

    driver.expect(QStringLiteral("frmPara"),
                  [](QWidget* dialog) { click(dialog, QStringLiteral("Command4")); });
    action(window, "mnud_3")->trigger();
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("KORVEX小幫手Zamo高中版(95學年第2學期)[高中版]"));
    EXPECT_EQ(readSettingsFile(folder.file("ASSISTANT.INI")).examName, QString());

    // Exam 3's name has a character the settings file cannot hold: saving
    // is not blocked, the window shows the name, the file holds '?'.
    driver.expect(QStringLiteral("frmPara"), [](QWidget* dialog) {
        dialog->findChild<QComboBox*>(QStringLiteral("Combo2"))->setCurrentIndex(3);
        click(dialog, QStringLiteral("Command4"));
    });
    action(window, "mnud_3")->trigger();
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join(u',').toStdString();
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("KORVEX小幫手Zamo高中版(95學年第2學期期中😀考)[高中版]"));
    const Settings saved = readSettingsFile(folder.file("ASSISTANT.INI"));
    EXPECT_EQ(saved.examNo, QStringLiteral("3"));
    EXPECT_EQ(saved.examName, QStringLiteral("期中?考"));
    EXPECT_TRUE(driver.unexpected.isEmpty());
    window.close();
}

TEST(MainWindow, SettingsFixedAtStartupAndChangedFromTheMenu) {
    TestFolder folder;
    korvex::test::makeShellFolder(folder, {.databaseName = QStringLiteral("elsewhere.sqlite")});
    MessageBox::Script boxes;
    ModalDriver driver;
    driver.expect(QStringLiteral("frmPara"), [](QWidget* dialog) {
        setText(dialog, QStringLiteral("Text4"), QStringLiteral("school.sqlite"));
        click(dialog, QStringLiteral("Command4"));
    });
    logIn(driver, QStringLiteral("admin"), QStringLiteral("secret"));
    MainWindow window;
    ASSERT_EQ(window.start(folder.path()), Startup::Result::Ready);
    EXPECT_EQ(driver.handled, (QStringList{"frmPara", "frmLogin2"}));
    // The corrected name was saved, and the boxes of start-up kept the program's title.
    EXPECT_EQ(readSettingsFile(folder.file("ASSISTANT.INI")).databaseName,
              QStringLiteral("school.sqlite"));
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().title, appTitle());

    // From the menu every field is open; choosing exam 1 renames the title
    // and the exam menu at once, and saves the choice.
    driver.expect(QStringLiteral("frmPara"), [](QWidget* dialog) {
        auto* exams = dialog->findChild<QComboBox*>(QStringLiteral("Combo2"));
        ASSERT_TRUE(exams->isEnabled());
        ASSERT_TRUE(dialog->findChild<QWidget*>(QStringLiteral("Text2"))->isEnabled());
        exams->setCurrentIndex(1);  // "1.第一次段考"
        click(dialog, QStringLiteral("Command4"));
    });
    action(window, "mnud_3")->trigger();
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("KORVEX小幫手Zamo高中版(95學年第2學期第一次段考)[高中版]"));
    EXPECT_EQ(action(window, "mnue_1")->text(),
              QStringLiteral("匯入95學年第2學期第一次段考考試資料"));
    EXPECT_EQ(readSettingsFile(folder.file("ASSISTANT.INI")).examNo, QStringLiteral("1"));

    // Leaving without saving changes nothing.
    driver.expect(QStringLiteral("frmPara"), [](QWidget* dialog) {
        dialog->findChild<QComboBox*>(QStringLiteral("Combo2"))->setCurrentIndex(0);
        click(dialog, QStringLiteral("Command2"));
    });
    action(window, "mnud_3")->trigger();
    EXPECT_TRUE(action(window, "mnue_1")->isEnabled());
    EXPECT_EQ(readSettingsFile(folder.file("ASSISTANT.INI")).examNo, QStringLiteral("1"));
    EXPECT_TRUE(driver.unexpected.isEmpty());
    window.close();
}
