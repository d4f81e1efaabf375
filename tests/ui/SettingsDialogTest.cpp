#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "TestFiles.h"
#include "TestFolder.h"
#include "settings/SettingsFile.h"
#include "ui/MessageBox.h"
#include "ui/SettingsDialog.h"

using namespace korvex;

namespace {

template <typename T>
T* child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found) ADD_FAILURE() << "no control " << name;
    return found;
}

struct DialogFixture {
    test::TestFolder folder;
    QString ini = folder.file("ASSISTANT.INI");
    Settings settings;
    QStringList examNames = QStringList(11);
    int titleRebuilds = 0;
    // The dialog's message boxes are recorded here instead of shown.
    MessageBox::Script boxes;

    DialogFixture() {
        createSettingsFile(ini, settings);
        examNames[1] = QStringLiteral("第一次段考");
        examNames[2] = QStringLiteral("期中考");
    }
    std::unique_ptr<SettingsDialog> open() {
        auto dialog =
            std::make_unique<SettingsDialog>(settings, examNames, ini, [this] { ++titleRebuilds; });
        dialog->show();
        return dialog;
    }
};

}  // namespace

TEST(SettingsDialog, SaveWritesTheFileAndRebuildsTheTitle) {
    DialogFixture f;
    auto dialog = f.open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("參數設定"));
    EXPECT_EQ(child<QGroupBox>(*dialog, "Frame1")->title(), QStringLiteral("資料庫資訊"));
    EXPECT_EQ(child<QGroupBox>(*dialog, "Frame2")->title(), QStringLiteral("班級代號編碼方式"));
    EXPECT_EQ(child<QLineEdit>(*dialog, "Text1")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(child<QLineEdit>(*dialog, "Text6")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(child<QLineEdit>(*dialog, "Text5")->text(), QStringLiteral("student"));
    EXPECT_EQ(child<QComboBox>(*dialog, "Combo2")->currentText(), QStringLiteral("0.不啟用"));
    EXPECT_TRUE(child<QRadioButton>(*dialog, "Option1")->isChecked());

    child<QLineEdit>(*dialog, "Text3")->setText(QStringLiteral(" 10.0.0.9 "));
    child<QLineEdit>(*dialog, "Text4")->setText(QStringLiteral("學校"));
    child<QLineEdit>(*dialog, "Text6")->setText(QStringLiteral("s3cret "));
    child<QLineEdit>(*dialog, "Text2")->setText(QStringLiteral("95"));
    child<QComboBox>(*dialog, "Combo1")->setCurrentIndex(1);
    child<QComboBox>(*dialog, "Combo2")->setCurrentIndex(2);
    child<QCheckBox>(*dialog, "Check1")->setChecked(true);
    child<QRadioButton>(*dialog, "Option2")->setChecked(true);
    child<QPushButton>(*dialog, "Command4")->click();

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(f.titleRebuilds, 1);
    EXPECT_TRUE(f.boxes.texts().isEmpty());
    EXPECT_EQ(f.settings.server, QStringLiteral("10.0.0.9"));
    EXPECT_EQ(f.settings.examName, QStringLiteral("期中考"));
    EXPECT_EQ(f.settings.password, QStringLiteral("s3cret "));
    EXPECT_EQ(test::readBytes(f.ini),
              QByteArray("[SCHOOL]\r\n"
                         "SERVER=10.0.0.9\r\n"
                         "DATABASENAME=\xBE\xC7\xAE\xD5\r\n"
                         "USER=student\r\n"
                         "PASSWD=\"vcta1q\r\n"  // "s3cret " scrambled
                         "SYEAR=95\r\n"
                         "SSEMESTER=2\r\n"
                         "SEXAMNO=2\r\n"
                         "SEXAMNAME=\xB4\xC1\xA4\xA4\xA6\xD2\r\n"
                         "SVOCATION=1\r\n"
                         "SINGLE=1\r\n"
                         "ADMSYSTYPE=1\r\n"
                         "ADMPASSWD=24:3\r\n"));
    EXPECT_EQ(readSettingsFile(f.ini).password, QStringLiteral("s3cret "));
}

TEST(SettingsDialog, CancelAndClosingChangeNothing) {
    DialogFixture f;
    const QByteArray before = test::readBytes(f.ini);
    const Settings held = f.settings;
    for (const bool useButton : {true, false}) {
        auto dialog = f.open();
        child<QLineEdit>(*dialog, "Text3")->setText(QStringLiteral("elsewhere"));
        child<QRadioButton>(*dialog, "Option2")->setChecked(true);
        if (useButton)
            child<QPushButton>(*dialog, "Command2")->click();
        else
            dialog->close();
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_FALSE(dialog->isVisible());
    }
    EXPECT_EQ(f.titleRebuilds, 0);
    EXPECT_EQ(test::readBytes(f.ini), before);
    EXPECT_EQ(f.settings.server, held.server);
    EXPECT_EQ(f.settings.vocational, held.vocational);
}

TEST(SettingsDialog, StartUpOpeningLocksTheTermAndExamFields) {
    DialogFixture f;
    f.settings.examNo = QStringLiteral("1");
    f.settings.examName = QStringLiteral("第一次段考");
    f.examNames = QStringList(11);  // start-up has not read the names yet
    auto dialog = f.open();
    dialog->disableForStartup();
    for (const char* name : {"Text1", "Text2", "Combo1", "Combo2", "Check1"})
        EXPECT_FALSE(child<QWidget>(*dialog, name)->isEnabled()) << name;
    for (const char* name : {"Text3", "Text4", "Text5", "Text6", "Option1", "Option2", "Command4"})
        EXPECT_TRUE(child<QWidget>(*dialog, name)->isEnabled()) << name;
    EXPECT_EQ(child<QComboBox>(*dialog, "Combo2")->currentText(), QStringLiteral("1."));

    child<QLineEdit>(*dialog, "Text5")->setText(QStringLiteral("exam"));
    child<QPushButton>(*dialog, "Command4")->click();
    const Settings saved = readSettingsFile(f.ini);
    EXPECT_EQ(saved.user, QStringLiteral("exam"));
    EXPECT_EQ(saved.examNo, QStringLiteral("1"));
    EXPECT_EQ(saved.examName, QStringLiteral("第一次段考"));

    auto fromMenu = f.open();
    fromMenu->disableForStartup();
    fromMenu->setExamListEnabled(true);
    EXPECT_TRUE(child<QWidget>(*fromMenu, "Combo2")->isEnabled());
}

TEST(SettingsDialog, FromTheMenuTheChosenExamGivesTheStoredName) {
    // Exam 2 has lost its name in the school database; exam 1's name has a
    // character outside code page 950.
    DialogFixture f;
    f.examNames[1] = QStringLiteral("第一次😀段考");
    f.examNames[2] = QString();
    f.settings.examNo = QStringLiteral("2");
    f.settings.examName = QStringLiteral("期中考");
    auto dialog = f.open();
    dialog->setExamListEnabled(true);
    EXPECT_EQ(child<QComboBox>(*dialog, "Combo2")->currentText(), QStringLiteral("2."));
    child<QPushButton>(*dialog, "Command4")->click();
    EXPECT_TRUE(f.boxes.texts().isEmpty());
    EXPECT_EQ(f.settings.examName, QString());
    EXPECT_EQ(readSettingsFile(f.ini).examName, QString());
    EXPECT_TRUE(test::readBytes(f.ini).contains("SEXAMNAME=\r\n"));

    // The name the file cannot hold blocks nothing: it is stored with '?'.
    auto again = f.open();
    again->setExamListEnabled(true);
    child<QComboBox>(*again, "Combo2")->setCurrentIndex(1);
    child<QPushButton>(*again, "Command4")->click();
    EXPECT_TRUE(f.boxes.texts().isEmpty());
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(f.titleRebuilds, 2);
    EXPECT_EQ(f.settings.examNo, QStringLiteral("1"));
    EXPECT_EQ(f.settings.examName, QStringLiteral("第一次😀段考"));
    const Settings saved = readSettingsFile(f.ini);
    EXPECT_EQ(saved.examNo, QStringLiteral("1"));
    EXPECT_EQ(saved.examName, QStringLiteral("第一次?段考"));
}

TEST(SettingsDialog, ValuesTheFileCannotHoldAndFailedWritesAreReported) {
    DialogFixture f;
    const QByteArray before = test::readBytes(f.ini);
    auto dialog = f.open();
    child<QLineEdit>(*dialog, "Text6")->setText(QStringLiteral("pass😀"));
    child<QPushButton>(*dialog, "Command4")->click();
    ASSERT_EQ(f.boxes.texts().size(), 1);
    EXPECT_EQ(f.boxes.texts()[0],
              QStringLiteral("使用者密碼含有無法存入設定檔的字元, 請修改後再存入!"));
    EXPECT_TRUE(dialog->isVisible());  // the user can correct it
    EXPECT_EQ(f.titleRebuilds, 0);
    EXPECT_EQ(f.settings.password, QString());
    EXPECT_EQ(test::readBytes(f.ini), before);

    // A settings file that cannot be written: memory and title follow the
    // dialog for this run, and the user is told.
    f.ini = f.folder.path();
    auto unwritable = f.open();
    child<QLineEdit>(*unwritable, "Text3")->setText(QStringLiteral("srv2"));
    child<QPushButton>(*unwritable, "Command4")->click();
    ASSERT_EQ(f.boxes.texts().size(), 2);
    EXPECT_TRUE(f.boxes.texts()[1].startsWith(QStringLiteral("無法寫入設定檔 ")));
    EXPECT_EQ(f.settings.server, QStringLiteral("srv2"));
    EXPECT_EQ(f.titleRebuilds, 1);
    EXPECT_FALSE(unwritable->isVisible());
}
