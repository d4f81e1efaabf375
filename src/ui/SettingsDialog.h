#pragma once

#include <QDialog>
#include <functional>

#include "settings/Settings.h"
#include "settings/SettingsForm.h"
#include "ui/MessageBox.h"

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

private:
    void showState(const SettingsFormState& state);
    SettingsFormState currentState() const;
    void saveAndClose();
    // A box titled like the main window.
    void message(MessageBox::Icon icon, const QString& text);

    Settings& m_settings;
    SettingsForm m_form;
    QString m_iniPath;
    std::function<void()> m_onSaved;

    QLineEdit* m_adminPassword;
    QLineEdit* m_year;
    QComboBox* m_semesterItem;
    QLineEdit* m_server;
    QLineEdit* m_databaseName;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QComboBox* m_examItem;
    QCheckBox* m_dedicatedOperator;
    QRadioButton* m_highSchoolClassCodes;
    QRadioButton* m_vocationalClassCodes;
};

}  // namespace korvex
