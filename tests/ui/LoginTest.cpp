#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "TestFolder.h"
#include "db/Connection.h"
#include "startup/LoginCheck.h"
#include "ui/LoginDialog.h"
#include "ui/MessageBox.h"

using namespace korvex;
using korvex::test::TestFolder;
using Outcome = LoginCheck::Outcome;

namespace {

// The accounts of z_user in a real school database.
struct Accounts {
    TestFolder folder;
    QString school = folder.createSchool();
    Connection connection;

    explicit Accounts(const QList<QVariantList>& rows) {
        for (const QVariantList& row : rows)
            TestFolder::run(school, QStringLiteral("INSERT INTO z_user VALUES (?, ?, ?)"), row);
        EXPECT_TRUE(connection.openSqlite(school));
    }
    LoginCheck check() { return LoginCheck::load(connection); }
};

}  // namespace

TEST(LoginCheck, PasswordsIgnoreCaseAndBlanksAndRightsNeedACapitalA) {
    Accounts accounts({{"t01", "Pass", "A"},
                       {"t02", QVariant(), "BA"},
                       {"t03", "x", "a"},
                       {"t04", "x", ""},
                       {"t05", "x", QVariant()},
                       {"t06  ", "x", "AB"}});
    const LoginCheck check = accounts.check();
    EXPECT_EQ(check.check("t01", "Pass"), Outcome::Succeeded);
    EXPECT_EQ(check.check("t01", "  pASS "), Outcome::Succeeded);
    EXPECT_EQ(check.check("t01", "Pas"), Outcome::WrongPassword);
    EXPECT_EQ(check.check("t01", "P ass"), Outcome::WrongPassword);
    // A missing password is an empty one.
    EXPECT_EQ(check.check("t02", ""), Outcome::Succeeded);
    EXPECT_EQ(check.check("t02", "   "), Outcome::Succeeded);
    EXPECT_EQ(check.check("t02", "x"), Outcome::WrongPassword);
    // Rights: a lower-case a, empty or missing rights are not enough.
    EXPECT_EQ(check.check("t03", "x"), Outcome::NoRights);
    EXPECT_EQ(check.check("t04", "x"), Outcome::NoRights);
    EXPECT_EQ(check.check("t05", "x"), Outcome::NoRights);
    // Blanks around the typed name and padding in the table do not matter.
    EXPECT_EQ(check.check("  t06 ", "X"), Outcome::Succeeded);
    EXPECT_EQ(check.check("t07", "x"), Outcome::NoSuchUser);

    EXPECT_EQ(LoginCheck::message(Outcome::WrongPassword),
              QStringLiteral("使用者密碼錯誤，請重新輸入!"));
    EXPECT_EQ(LoginCheck::message(Outcome::NoRights),
              QStringLiteral("使用者權限不足，請重新輸入!"));
    EXPECT_EQ(LoginCheck::message(Outcome::NoSuchUser),
              QStringLiteral("無此使用者帳號，請重新輸入!"));
    EXPECT_EQ(LoginCheck::fieldAfter(Outcome::WrongPassword), LoginCheck::Field::Password);
    EXPECT_EQ(LoginCheck::fieldAfter(Outcome::NoRights), LoginCheck::Field::UserName);
}

TEST(LoginCheck, NamesWithQuotesAndLetterCase) {
    Accounts accounts({{"O'Brien", "k", "A"}, {"Admin", "one", "A"}, {"admin", "two", "A"}});
    const LoginCheck check = accounts.check();
    // A quote in the name is an ordinary character of it.
    EXPECT_EQ(check.check("O'Brien", "k"), Outcome::Succeeded);
    EXPECT_EQ(check.check("o'brien", "k"), Outcome::Succeeded);
    EXPECT_EQ(check.check("O'", "k"), Outcome::NoSuchUser);
    EXPECT_EQ(check.check("' OR '1'='1", "k"), Outcome::NoSuchUser);
    // The exact spelling wins over an account that differs only in case.
    EXPECT_EQ(check.check("admin", "two"), Outcome::Succeeded);
    EXPECT_EQ(check.check("Admin", "one"), Outcome::Succeeded);
    EXPECT_EQ(check.check("ADMIN", "one"), Outcome::Succeeded);
    EXPECT_EQ(check.check("ADMIN", "two"), Outcome::WrongPassword);
}

TEST(LoginCheck, EmptyOrUnreadableAccountTable) {
    Accounts none({});
    EXPECT_EQ(none.check().check("admin", "admin"), Outcome::NoAccounts);
    EXPECT_EQ(LoginCheck::message(Outcome::NoAccounts),
              QStringLiteral("無符合之使用者，請重新輸入!"));

    Accounts gone({{"admin", "admin", "A"}});
    TestFolder::run(gone.school, {QStringLiteral("DROP TABLE z_user")});
    const LoginCheck check = gone.check();
    EXPECT_FALSE(check.readable());
    EXPECT_EQ(check.check("admin", "admin"), Outcome::AccountsUnreadable);
    EXPECT_TRUE(LoginCheck::message(Outcome::AccountsUnreadable).contains("z_user"));
    EXPECT_FALSE(gone.connection.errorPending());
}

TEST(LoginDialog, FailedAttemptsKeepItOpenAndSendTheUserBack) {
    Accounts accounts({{"admin", "admin", "A"}, {"guest", "g", "B"}});
    MessageBox::Script boxes;
    LoginDialog dialog(accounts.check());
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmLogin2"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("登入"));
    auto* user = dialog.findChild<QLineEdit*>("txtUserName");
    auto* password = dialog.findChild<QLineEdit*>("txtPassword");
    auto* ok = dialog.findChild<QPushButton*>("cmdOK");
    auto* cancel = dialog.findChild<QPushButton*>("cmdCancel");
    ASSERT_TRUE(user && password && ok && cancel);
    EXPECT_EQ(ok->text(), QStringLiteral("確定"));
    EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    dialog.show();
    QApplication::setActiveWindow(&dialog);

    user->setText("admin");
    password->setText("nope");
    EXPECT_EQ(password->displayText(), QStringLiteral("****"));
    ok->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.loginSucceeded());
    EXPECT_EQ(password->selectedText(), QStringLiteral("nope"));
    EXPECT_EQ(QApplication::focusWidget(), password);

    user->setText("guest");
    password->setText("g");
    ok->click();
    EXPECT_EQ(user->selectedText(), QStringLiteral("guest"));
    EXPECT_EQ(QApplication::focusWidget(), user);

    ASSERT_EQ(boxes.shown().size(), 2);
    for (const auto& box : boxes.shown()) {
        EXPECT_EQ(box.title, QStringLiteral("登入"));
        EXPECT_EQ(box.icon, MainWindowInterface::Icon::None);
        EXPECT_EQ(box.buttons, MainWindowInterface::Buttons::Ok);
    }
    EXPECT_EQ(boxes.texts(), (QStringList{QStringLiteral("使用者密碼錯誤，請重新輸入!"),
                                          QStringLiteral("使用者權限不足，請重新輸入!")}));

    user->setText(" admin ");
    password->setText("ADMIN");
    ok->click();
    EXPECT_TRUE(dialog.loginSucceeded());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(LoginDialog, CancelAndEscapeLeaveTheLoginUndone) {
    Accounts accounts({{"admin", "admin", "A"}});
    MessageBox::Script boxes;
    LoginDialog dialog(accounts.check());
    dialog.show();
    dialog.findChild<QLineEdit*>("txtUserName")->setText("admin");
    dialog.findChild<QLineEdit*>("txtPassword")->setText("admin");
    dialog.findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_FALSE(dialog.loginSucceeded());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(boxes.shown().isEmpty());

    LoginDialog second(accounts.check());
    second.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&second, &escape);
    EXPECT_FALSE(second.isVisible());
    EXPECT_FALSE(second.loginSucceeded());
}
