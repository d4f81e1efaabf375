#include "startup/LoginCheck.h"

#include "core/ValueRules.h"
#include "db/Connection.h"
#include "db/Recordset.h"

namespace korvex {

LoginCheck LoginCheck::load(Connection& school) {
    auto rows = OpenRecordset(school, QStringLiteral("SELECT * FROM z_user"));
    const QString nameColumn = QStringLiteral("使用者碼");
    const QString passwordColumn = QStringLiteral("使用者密碼");
    const QString rightsColumn = QStringLiteral("使用者權限");
    if (!rows || !rows->hasColumn(nameColumn)) {
        school.clearError();
        return LoginCheck(std::nullopt);
    }
    std::vector<Account> accounts;
    accounts.reserve(size_t(rows->recordCount()));
    for (Recordset& row : *rows) {
        // A NULL account name can never be typed; it is left out.
        if (row.isNull(nameColumn)) continue;
        Account account;
        account.name = rtrimBlanks(row.text(nameColumn));
        if (row.hasColumn(passwordColumn)) account.password = row.text(passwordColumn);
        if (row.hasColumn(rightsColumn)) account.rights = row.text(rightsColumn);
        accounts.push_back(account);
    }
    school.clearError();
    return LoginCheck(std::move(accounts));
}

LoginCheck::LoginCheck(std::optional<std::vector<Account>> accounts)
    : m_accounts(std::move(accounts)) {}

LoginCheck::Outcome LoginCheck::check(const QString& userName, const QString& password) const {
    if (!m_accounts) return Outcome::AccountsUnreadable;
    if (m_accounts->empty()) return Outcome::NoAccounts;

    // Codes in the school database are padded with blanks; the name is
    // compared without its trailing ones.
    const QString name = rtrimBlanks(trimBlanks(userName));
    const Account* found = nullptr;
    for (const Account& account : *m_accounts)
        if (account.name == name) {
            found = &account;
            break;
        }
    if (!found)
        for (const Account& account : *m_accounts)
            if (account.name.compare(name, Qt::CaseInsensitive) == 0) {
                found = &account;
                break;
            }
    if (!found) return Outcome::NoSuchUser;

    if (trimBlanks(password).toUpper() != trimBlanks(found->password).toUpper())
        return Outcome::WrongPassword;
    if (!found->rights.contains(QLatin1Char('A'), Qt::CaseSensitive)) return Outcome::NoRights;
    return Outcome::Succeeded;
}

QString LoginCheck::message(Outcome outcome) {
    switch (outcome) {
        case Outcome::Succeeded:
            return QString();
        case Outcome::AccountsUnreadable:
            return QStringLiteral(
                "無法讀取校務行政資料庫的使用者帳號資料(z_user)，無法登入，請洽系統管理者!");
        case Outcome::NoAccounts:
            return QStringLiteral("無符合之使用者，請重新輸入!");
        case Outcome::NoSuchUser:
            return QStringLiteral("無此使用者帳號，請重新輸入!");
        case Outcome::WrongPassword:
            return QStringLiteral("使用者密碼錯誤，請重新輸入!");
        case Outcome::NoRights:
            return QStringLiteral("使用者權限不足，請重新輸入!");
    }
    return QString();
}

LoginCheck::Field LoginCheck::fieldAfter(Outcome outcome) {
    return outcome == Outcome::WrongPassword ? Field::Password : Field::UserName;
}

}  // namespace korvex
