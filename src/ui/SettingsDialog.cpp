#include "ui/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/DialogLook.h"
#include "ui/MessageBox.h"

namespace korvex {

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(const QString& text, const char* name, QWidget* buddy) {
    auto* result = named(new QLabel(text), name);
    result->setBuddy(buddy);
    return result;
}

QLineEdit* passwordBox(const char* name) {
    auto* box = named(new QLineEdit, name);
    box->setEchoMode(QLineEdit::Password);
    // Typed characters show as asterisks whatever the style's own choice.
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    return box;
}

}  // namespace

SettingsDialog::SettingsDialog(Settings& settings, const QStringList& examNames,
                               const QString& iniPath, std::function<void()> onSaved,
                               QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_form(examNames),
      m_iniPath(iniPath),
      m_onSaved(std::move(onSaved)) {
    setObjectName(QStringLiteral("frmPara"));
    setWindowTitle(QStringLiteral("參數設定"));
    setModal(true);

    m_year = named(new QLineEdit, "Text2");
    m_semesterItem = named(new QComboBox, "Combo1");
    m_semesterItem->addItems(SettingsForm::semesterItems());
    m_examItem = named(new QComboBox, "Combo2");
    m_examItem->addItems(m_form.examItems());
    m_adminPassword = passwordBox("Text1");
    m_dedicatedOperator = named(new QCheckBox(QStringLiteral("專人操作")), "Check1");

    auto* general = new QGridLayout;
    general->addWidget(label(QStringLiteral("學年"), "Label1", m_year), 0, 0);
    general->addWidget(m_year, 0, 1);
    general->addWidget(label(QStringLiteral("學期"), "Label2", m_semesterItem), 0, 2);
    general->addWidget(m_semesterItem, 0, 3);
    general->addWidget(label(QStringLiteral("校務行政考試別"), "Label3", m_examItem), 1, 0);
    general->addWidget(m_examItem, 1, 1, 1, 3);
    general->addWidget(label(QStringLiteral("系統管理者密碼"), "Label4", m_adminPassword), 2, 0);
    general->addWidget(m_adminPassword, 2, 1);
    general->addWidget(m_dedicatedOperator, 2, 2, 1, 2);

    auto* database = named(new QGroupBox(QStringLiteral("資料庫資訊")), "Frame1");
    m_server = named(new QLineEdit, "Text3");
    m_databaseName = named(new QLineEdit, "Text4");
    m_user = named(new QLineEdit, "Text5");
    m_password = passwordBox("Text6");
    auto* databaseLayout = new QGridLayout(database);
    databaseLayout->addWidget(label(QStringLiteral("資料庫伺服器"), "Label5", m_server), 0, 0);
    databaseLayout->addWidget(m_server, 0, 1);
    databaseLayout->addWidget(label(QStringLiteral("資料庫名稱"), "Label6", m_databaseName), 1, 0);
    databaseLayout->addWidget(m_databaseName, 1, 1);
    databaseLayout->addWidget(label(QStringLiteral("使用者帳號"), "Label7", m_user), 2, 0);
    databaseLayout->addWidget(m_user, 2, 1);
    databaseLayout->addWidget(label(QStringLiteral("使用者密碼"), "Label8", m_password), 3, 0);
    databaseLayout->addWidget(m_password, 3, 1);

    auto* classCodes = named(new QGroupBox(QStringLiteral("班級代號編碼方式")), "Frame2");
    m_highSchoolClassCodes =
        named(new QRadioButton(QStringLiteral("高中班號(年級1碼+班別2碼)")), "Option1");
    m_vocationalClassCodes =
        named(new QRadioButton(QStringLiteral("高職班號(年級+科別+班別各1碼)")), "Option2");
    auto* classCodesLayout = new QVBoxLayout(classCodes);
    classCodesLayout->addWidget(m_highSchoolClassCodes);
    classCodesLayout->addWidget(m_vocationalClassCodes);

    auto* save = named(new QPushButton(QStringLiteral("存入離開")), "Command4");
    auto* cancel = named(new QPushButton(QStringLiteral("放棄離開")), "Command2");
    // Enter is 存入離開 wherever the focus is (but on 放棄離開 itself); Esc
    // and the close box are 放棄離開.
    save->setDefault(true);
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(general);
    layout->addWidget(database);
    layout->addWidget(classCodes);
    layout->addLayout(buttons);

    connect(save, &QPushButton::clicked, this, &SettingsDialog::saveAndClose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    showState(m_form.show(m_settings));
    makeFixedDialog(this);
}

void SettingsDialog::disableForStartup() {
    // The exam names are not read yet and only the database fields are open:
    // saving keeps the stored exam name and checks only those fields.
    m_form.setStartUpOpening();
    for (QWidget* widget :
         {static_cast<QWidget*>(m_adminPassword), static_cast<QWidget*>(m_year),
          static_cast<QWidget*>(m_semesterItem), static_cast<QWidget*>(m_examItem),
          static_cast<QWidget*>(m_dedicatedOperator)})
        widget->setEnabled(false);
}

void SettingsDialog::setExamListEnabled(bool enabled) { m_examItem->setEnabled(enabled); }

void SettingsDialog::showState(const SettingsFormState& state) {
    m_adminPassword->setText(state.adminPassword);
    m_year->setText(state.year);
    m_semesterItem->setCurrentIndex(state.semesterItem);
    m_server->setText(state.server);
    m_databaseName->setText(state.databaseName);
    m_user->setText(state.user);
    m_password->setText(state.password);
    m_examItem->setCurrentIndex(state.examItem);
    m_dedicatedOperator->setChecked(state.dedicatedOperator);
    m_highSchoolClassCodes->setChecked(state.highSchoolClassCodes);
    m_vocationalClassCodes->setChecked(!state.highSchoolClassCodes);
}

SettingsFormState SettingsDialog::currentState() const {
    SettingsFormState state;
    state.adminPassword = m_adminPassword->text();
    state.year = m_year->text();
    state.semesterItem = m_semesterItem->currentIndex();
    state.server = m_server->text();
    state.databaseName = m_databaseName->text();
    state.user = m_user->text();
    state.password = m_password->text();
    state.examItem = m_examItem->currentIndex();
    state.dedicatedOperator = m_dedicatedOperator->isChecked();
    state.highSchoolClassCodes = m_highSchoolClassCodes->isChecked();
    return state;
}

void SettingsDialog::saveAndClose() {
    const SettingsFormState state = currentState();
    // A value the file cannot hold would be written damaged: the user fixes
    // it first, and nothing changes meanwhile.
    const QString problem = m_form.storageProblem(state, m_settings);
    if (!problem.isEmpty()) {
        message(MessageBox::Icon::Exclamation, problem);
        return;
    }
    m_form.take(state, m_settings);
    const bool written = SettingsForm::save(m_iniPath, m_settings);
    if (m_onSaved) m_onSaved();
    if (!written) {
        message(MessageBox::Icon::Critical,
                QStringLiteral("無法寫入設定檔 %1, 這次的設定只在本次執行有效!")
                    .arg(QDir::toNativeSeparators(m_iniPath)));
    }
    accept();
}

void SettingsDialog::message(MessageBox::Icon icon, const QString& text) {
    // Message boxes carry the main window's caption, like every other box.
    const QString title = parentWidget() && !parentWidget()->window()->windowTitle().isEmpty()
                              ? parentWidget()->window()->windowTitle()
                              : windowTitle();
    MessageBox::show(this, title, text, icon);
}

}  // namespace korvex
