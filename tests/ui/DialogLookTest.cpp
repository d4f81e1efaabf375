#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "TestFiles.h"
#include "TestFolder.h"
#include "settings/SettingsFile.h"
#include "startup/LoginCheck.h"
#include "ui/AboutDialog.h"
#include "ui/DialogLook.h"
#include "ui/LoginDialog.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"
#include "ui/SettingsDialog.h"

using namespace korvex;

namespace {

// A dialog that behaves like a Windows dialog: its size cannot change, its
// title bar offers no maximise or minimise, and it opens centred on `owner`.
void expectFixedAndCentred(QDialog& dialog, const QWidget& owner, const char* name) {
    dialog.show();
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << name;
    EXPECT_EQ(dialog.size(), dialog.sizeHint()) << name;
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint)) << name;
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint)) << name;
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint)) << name;
    EXPECT_TRUE(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint)) << name;
    const QPoint offset = dialog.frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2)
        << name << " is off by " << offset.x() << "," << offset.y();
    dialog.hide();
}

}  // namespace

TEST(DialogLook, DialogsAreFixedAndCentredOnTheMainWindow) {
    MainWindow window;
    window.resize(700, 400);
    window.move(37, 23);
    window.show();

    LoginDialog login(LoginCheck(std::vector<LoginCheck::Account>{}), &window);
    expectFixedAndCentred(login, window, "login");

    test::TestFolder folder;
    Settings settings;
    const QString ini = folder.file("ASSISTANT.INI");
    createSettingsFile(ini, settings);
    SettingsDialog settingsDialog(settings, QStringList(11), ini, {}, &window);
    expectFixedAndCentred(settingsDialog, window, "settings");

    AboutDialog about(&window);
    expectFixedAndCentred(about, window, "about");

    // The workbook prompt too.
    QTimer::singleShot(0, [&] {
        auto* input = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->objectName(), QStringLiteral("InputBox"));
        EXPECT_EQ(input->minimumSize(), input->maximumSize());
        EXPECT_FALSE(input->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        const QPoint offset = input->frameGeometry().center() - window.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2);
        input->reject();
    });
    EXPECT_EQ(MessageBox::input(&window, QStringLiteral("t"), QStringLiteral("教師編號?"), {}),
              std::nullopt);

    // Moved elsewhere, the window takes its dialogs along at their next opening.
    window.move(120, 90);
    expectFixedAndCentred(about, window, "about again");
}

TEST(DialogLook, BeforeTheMainWindowShowsTheScreenIsTheAnchor) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    MainWindow window;  // not shown: the login of a start-up that just began
    LoginDialog login(LoginCheck(std::vector<LoginCheck::Account>{}), &window);
    login.show();
    const QPoint offset = login.frameGeometry().center() - screen->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);

    // The main window itself is placed in the middle of the screen before it
    // shows, so that the login centred on it is too.
    window.showWindow();
    const QPoint windowOffset =
        window.frameGeometry().center() - screen->availableGeometry().center();
    EXPECT_LE(windowOffset.manhattanLength(), 2);
}

TEST(DialogLook, CentredPositionStaysOnTheScreen) {
    const QRect screen(0, 0, 800, 600);
    // In the middle of the anchor.
    EXPECT_EQ(centredPosition(QSize(200, 100), QRect(100, 100, 400, 300), screen),
              QPoint(200, 200));
    // An anchor near the right edge: moved left to stay on the screen.
    EXPECT_EQ(centredPosition(QSize(300, 100), QRect(600, 0, 200, 100), screen), QPoint(500, 0));
    // Larger than the screen: the title bar (top left) stays reachable.
    EXPECT_EQ(centredPosition(QSize(900, 700), QRect(0, 0, 800, 600), screen), QPoint(0, 0));
    // A second screen to the left.
    EXPECT_EQ(
        centredPosition(QSize(100, 100), QRect(-1000, 0, 200, 200), QRect(-1024, 0, 1024, 768)),
        QPoint(-950, 50));
}

// Enter in a text box of 參數設定 is 存入離開; Esc is 放棄離開.
TEST(DialogLook, SettingsAnswerEnterAndEscape) {
    test::TestFolder folder;
    MessageBox::Script boxes;
    const QString ini = folder.file("ASSISTANT.INI");
    Settings settings;
    createSettingsFile(ini, settings);

    int saves = 0;
    SettingsDialog saving(settings, QStringList(11), ini, [&] { ++saves; });
    saving.show();
    auto* server = saving.findChild<QLineEdit*>(QStringLiteral("Text3"));
    ASSERT_NE(server, nullptr);
    server->setText(QStringLiteral("db.school.example"));
    server->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(server, &enter);
    EXPECT_EQ(saving.result(), QDialog::Accepted);
    EXPECT_FALSE(saving.isVisible());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(readSettingsFile(ini).server, QStringLiteral("db.school.example"));

    const QByteArray before = test::readBytes(ini);
    SettingsDialog cancelled(settings, QStringList(11), ini, [&] { ++saves; });
    cancelled.show();
    auto* year = cancelled.findChild<QLineEdit*>(QStringLiteral("Text2"));
    year->setText(QStringLiteral("120"));
    year->setFocus();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(year, &escape);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_FALSE(cancelled.isVisible());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(test::readBytes(ini), before);
}

// 結束離開 is set apart from the items that open a dialog by a separator.
TEST(DialogLook, ExitStandsApartInTheSystemMenu) {
    MainWindow window;
    auto* menu = window.findChild<QMenu*>(QStringLiteral("mnudd"));
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* action : menu->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(items,
              (QStringList{"結束離開", "-", "參數設定", "還原考試資料庫", "環境檢查", "關於程式"}));
}
