#pragma once

#include <QDialog>

#include "startup/LoginCheck.h"

class QLineEdit;
class QPushButton;

namespace korvex {

// The login dialog: the user's account of the school database is checked
// against z_user before the menus open. It stays open through failed
// attempts and closes on a successful login or on 取消.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(LoginCheck check, QWidget* parent = nullptr);

    bool loginSucceeded() const { return m_succeeded; }

private:
    void tryLogin();
    void sendBackTo(QLineEdit* box);

    LoginCheck m_check;
    bool m_succeeded = false;
    QLineEdit* m_userName;
    QLineEdit* m_password;
};

}  // namespace korvex
