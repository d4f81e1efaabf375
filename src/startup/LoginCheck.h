#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace korvex {

class Connection;

// The account check of the login: the rows of z_user are read once, then
// each attempt is checked against them. A plain class so that the login
// dialog and the console front end check alike.
class LoginCheck {
public:
    enum class Outcome {
        Succeeded,
        AccountsUnreadable,  // z_user could not be read at all
        NoAccounts,
        NoSuchUser,
        WrongPassword,
        NoRights,
    };
    enum class Field { UserName, Password };

    struct Account {
        QString name;      // 使用者碼, trailing blanks removed
        QString password;  // 使用者密碼 (NULL as empty)
        QString rights;    // 使用者權限 (NULL as empty)
    };

    // Reads every row of z_user on the school connection.
    static LoginCheck load(Connection& school);

    // `accounts` empty-optional: the table could not be read.
    explicit LoginCheck(std::optional<std::vector<Account>> accounts);

    // Checks one attempt: the name with surrounding blanks removed must name
    // an account (the exact spelling first, else the first one that differs
    // only in letter case), the passwords must agree ignoring surrounding
    // blanks and letter case, and the rights must hold a capital "A".
    Outcome check(const QString& userName, const QString& password) const;

    // The login's title, which its message boxes carry too.
    static QString title() { return QStringLiteral("登入"); }

    // The message shown for a failed attempt (empty for Succeeded), and the
    // box the user is sent back to.
    static QString message(Outcome outcome);
    static Field fieldAfter(Outcome outcome);

    bool readable() const { return m_accounts.has_value(); }

private:
    std::optional<std::vector<Account>> m_accounts;
};

}  // namespace korvex
