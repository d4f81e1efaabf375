#include "settings/SettingsDialog.h"

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

    m_text2 = named(new QLineEdit, "Text2");
    m_combo1 = named(new QComboBox, "Combo1");
    m_combo1->addItems(SettingsForm::semesterItems());
    m_combo2 = named(new QComboBox, "Combo2");
    m_combo2->addItems(m_form.examItems());
    m_text1 = passwordBox("Text1");
    m_check1 = named(new QCheckBox(QStringLiteral("專人操作")), "Check1");

    auto* general = new QGridLayout;
    general->addWidget(label(QStringLiteral("學年"), "Label1", m_text2), 0, 0);
    general->addWidget(m_text2, 0, 1);
    general->addWidget(label(QStringLiteral("學期"), "Label2", m_combo1), 0, 2);
    general->addWidget(m_combo1, 0, 3);
    general->addWidget(label(QStringLiteral("校務行政考試別"), "Label3", m_combo2), 1, 0);
    general->addWidget(m_combo2, 1, 1, 1, 3);
    general->addWidget(label(QStringLiteral("系統管理者密碼"), "Label4", m_text1), 2, 0);
    general->addWidget(m_text1, 2, 1);
    general->addWidget(m_check1, 2, 2, 1, 2);

    auto* database = named(new QGroupBox(QStringLiteral("資料庫資訊")), "Frame1");
    m_text3 = named(new QLineEdit, "Text3");
    m_text4 = named(new QLineEdit, "Text4");
    m_text5 = named(new QLineEdit, "Text5");
    m_text6 = passwordBox("Text6");
    auto* databaseLayout = new QGridLayout(database);
    databaseLayout->addWidget(label(QStringLiteral("資料庫伺服器"), "Label5", m_text3), 0, 0);
    databaseLayout->addWidget(m_text3, 0, 1);
    databaseLayout->addWidget(label(QStringLiteral("資料庫名稱"), "Label6", m_text4), 1, 0);
    databaseLayout->addWidget(m_text4, 1, 1);
    databaseLayout->addWidget(label(QStringLiteral("使用者帳號"), "Label7", m_text5), 2, 0);
    databaseLayout->addWidget(m_text5, 2, 1);
    databaseLayout->addWidget(label(QStringLiteral("使用者密碼"), "Label8", m_text6), 3, 0);
    databaseLayout->addWidget(m_text6, 3, 1);

    auto* classCodes = named(new QGroupBox(QStringLiteral("班級代號編碼方式")), "Frame2");
    m_option1 = named(new QRadioButton(QStringLiteral("高中班號(年級1碼+班別2碼)")), "Option1");
    m_option2 = named(new QRadioButton(QStringLiteral("高職班號(年級+科別+班別各1碼)")), "Option2");
    auto* classCodesLayout = new QVBoxLayout(classCodes);
    classCodesLayout->addWidget(m_option1);
    classCodesLayout->addWidget(m_option2);

    auto* save = named(new QPushButton(QStringLiteral("存入離開")), "Command4");
    auto* cancel = named(new QPushButton(QStringLiteral("放棄離開")), "Command2");
    // Enter in a text box does not save by itself: only the buttons act.
    save->setAutoDefault(false);
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
}

void SettingsDialog::disableForStartup() {
    // The exam names are not read yet and only the database fields are open:
    // saving keeps the stored exam name and checks only those fields.
    m_form.setStartUpOpening();
    for (QWidget* widget : {static_cast<QWidget*>(m_text1), static_cast<QWidget*>(m_text2),
                            static_cast<QWidget*>(m_combo1), static_cast<QWidget*>(m_combo2),
                            static_cast<QWidget*>(m_check1)})
        widget->setEnabled(false);
}

void SettingsDialog::setExamListEnabled(bool enabled) { m_combo2->setEnabled(enabled); }

void SettingsDialog::showState(const SettingsFormState& state) {
    m_text1->setText(state.text1);
    m_text2->setText(state.text2);
    m_combo1->setCurrentIndex(state.combo1);
    m_text3->setText(state.text3);
    m_text4->setText(state.text4);
    m_text5->setText(state.text5);
    m_text6->setText(state.text6);
    m_combo2->setCurrentIndex(state.combo2);
    m_check1->setChecked(state.check1);
    m_option1->setChecked(state.option1);
    m_option2->setChecked(!state.option1);
}

SettingsFormState SettingsDialog::currentState() const {
    SettingsFormState state;
    state.text1 = m_text1->text();
    state.text2 = m_text2->text();
    state.combo1 = m_combo1->currentIndex();
    state.text3 = m_text3->text();
    state.text4 = m_text4->text();
    state.text5 = m_text5->text();
    state.text6 = m_text6->text();
    state.combo2 = m_combo2->currentIndex();
    state.check1 = m_check1->isChecked();
    state.option1 = m_option1->isChecked();
    return state;
}

void SettingsDialog::saveAndClose() {
    const SettingsFormState state = currentState();
    // A value the file cannot hold would be written damaged: the user fixes
    // it first, and nothing changes meanwhile.
    const QString problem = m_form.storageProblem(state, m_settings);
    if (!problem.isEmpty()) {
        message(QMessageBox::Warning, problem);
        return;
    }
    m_form.take(state, m_settings);
    const bool written = SettingsForm::save(m_iniPath, m_settings);
    if (m_onSaved) m_onSaved();
    if (!written) {
        message(QMessageBox::Critical,
                QStringLiteral("無法寫入設定檔 %1, 這次的設定只在本次執行有效!")
                    .arg(QDir::toNativeSeparators(m_iniPath)));
    }
    accept();
}

void SettingsDialog::message(QMessageBox::Icon icon, const QString& text) {
    if (m_messageHandler) {
        m_messageHandler(icon, text);
        return;
    }
    // Message boxes carry the main window's caption, like every other box.
    const QString title = parentWidget() && !parentWidget()->window()->windowTitle().isEmpty()
                              ? parentWidget()->window()->windowTitle()
                              : windowTitle();
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace korvex
