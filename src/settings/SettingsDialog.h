#pragma once

#include <QDialog>
#include <QMessageBox>
#include <functional>

#include "settings/Settings.h"
#include "settings/SettingsForm.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace korvex {

// The settings dialog (frmPara, "參數設定"): shows the settings held in
// memory, and on "存入離開" takes the controls back into them, writes every
// key of the settings file and lets the caller rebuild the window title.
// "放棄離開" and every other way of closing leave memory and file alone.
// Create it for each opening; it reads the settings when constructed.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // `examNames`: names of exams 1 to 6 at indexes 1 to 6. `onSaved` runs
    // after a save (the caller rebuilds the title and exam menu).
    SettingsDialog(Settings& settings, const QStringList& examNames, const QString& iniPath,
                   std::function<void()> onSaved, QWidget* parent = nullptr);

    // Opened by start-up after a failed connection: only the database fields
    // and the class-code mode may be changed, and the exam already chosen
    // keeps its stored name (the exam names are not read yet).
    void disableForStartup();
    // The menu enables the exam list before showing the dialog.
    void setExamListEnabled(bool enabled);

    // The dialog's own message boxes go through this, so that tests can
    // answer them; by default a plain box titled like the main window.
    using MessageHandler = std::function<void(QMessageBox::Icon icon, const QString& text)>;
    void setMessageHandler(MessageHandler handler) { m_messageHandler = std::move(handler); }

private:
    void showState(const SettingsFormState& state);
    SettingsFormState currentState() const;
    void saveAndClose();
    void message(QMessageBox::Icon icon, const QString& text);

    Settings& m_settings;
    SettingsForm m_form;
    QString m_iniPath;
    std::function<void()> m_onSaved;
    MessageHandler m_messageHandler;

    QLineEdit* m_text1;
    QLineEdit* m_text2;
    QComboBox* m_combo1;
    QLineEdit* m_text3;
    QLineEdit* m_text4;
    QLineEdit* m_text5;
    QLineEdit* m_text6;
    QComboBox* m_combo2;
    QCheckBox* m_check1;
    QRadioButton* m_option1;
    QRadioButton* m_option2;
};

}  // namespace korvex
