#include "ui/LoginDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogLook.h"
#include "ui/MessageBox.h"

namespace korvex {

LoginDialog::LoginDialog(LoginCheck check, QWidget* parent)
    : QDialog(parent), m_check(std::move(check)) {
    setObjectName(QStringLiteral("frmLogin2"));
    setWindowTitle(LoginCheck::title());
    setModal(true);

    m_userName = new QLineEdit(this);
    m_userName->setObjectName(QStringLiteral("txtUserName"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    // Typed characters show as asterisks whatever the style's own choice.
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    auto* userLabel = new QLabel(QStringLiteral("使用者名稱(&U):"), this);
    userLabel->setObjectName(QStringLiteral("lblLabels_0"));
    userLabel->setBuddy(m_userName);
    auto* passwordLabel = new QLabel(QStringLiteral("密碼(&P):"), this);
    passwordLabel->setObjectName(QStringLiteral("lblLabels_1"));
    passwordLabel->setBuddy(m_password);

    auto* ok = new QPushButton(QStringLiteral("確定"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* form = new QFormLayout;
    form->addRow(userLabel, m_userName);
    form->addRow(passwordLabel, m_password);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_userName->setMinimumWidth(220);

    setTabOrder(m_userName, m_password);
    setTabOrder(m_password, ok);
    setTabOrder(ok, cancel);

    connect(ok, &QPushButton::clicked, this, &LoginDialog::tryLogin);
    // Esc and the close box come here through reject().
    connect(cancel, &QPushButton::clicked, this, &LoginDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { m_succeeded = false; });
    m_userName->setFocus();
    makeFixedDialog(this);
}

void LoginDialog::tryLogin() {
    const auto outcome = m_check.check(m_userName->text(), m_password->text());
    if (outcome == LoginCheck::Outcome::Succeeded) {
        m_succeeded = true;
        accept();
        return;
    }
    MessageBox::show(this, LoginCheck::title(), LoginCheck::message(outcome),
                     MessageBox::Icon::None);
    sendBackTo(LoginCheck::fieldAfter(outcome) == LoginCheck::Field::Password ? m_password
                                                                              : m_userName);
}

void LoginDialog::sendBackTo(QLineEdit* box) {
    box->setFocus();
    box->selectAll();
}

}  // namespace korvex
