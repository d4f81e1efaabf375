#include <gtest/gtest.h>

#include "TestFiles.h"
#include "TestFolder.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsForm.h"

using namespace korvex;

namespace {

QStringList examNames() {
    QStringList names(11);
    names[1] = QStringLiteral("第一次段考");
    names[2] = QStringLiteral("期中考");
    names[3] = QStringLiteral("5月模擬考");
    return names;
}

}  // namespace

TEST(SettingsForm, ControlsShowTheSettings) {
    const SettingsForm form(examNames());
    EXPECT_EQ(form.examItems(), QStringList({"0.不啟用", "1.第一次段考", "2.期中考", "3.5月模擬考",
                                             "4.", "5.", "6."}));
    EXPECT_EQ(SettingsForm(QStringList()).examItems(),
              QStringList({"0.不啟用", "1.", "2.", "3.", "4.", "5.", "6."}));

    Settings s;
    s.adminPassword = QStringLiteral(" adm ");
    s.year = QStringLiteral(" 95 ");
    s.semester = QStringLiteral("2");
    s.server = QStringLiteral("  srv  ");
    s.databaseName = QStringLiteral(" db");
    s.user = QStringLiteral("u ");
    s.password = QStringLiteral(" pw ");
    s.examNo = QStringLiteral("3");
    s.dedicatedOperator = 2;
    s.vocational = 5;
    SettingsFormState shown = form.show(s);
    EXPECT_EQ(shown.adminPassword, QStringLiteral(" adm "));  // shown as held
    EXPECT_EQ(shown.year, QStringLiteral("95"));
    EXPECT_EQ(shown.semesterItem, 1);
    EXPECT_EQ(shown.server, QStringLiteral("srv"));
    EXPECT_EQ(shown.databaseName, QStringLiteral("db"));
    EXPECT_EQ(shown.user, QStringLiteral("u"));
    EXPECT_EQ(shown.password, QStringLiteral("pw"));
    EXPECT_EQ(shown.examItem, 3);  // found although the name begins with a digit
    EXPECT_TRUE(shown.dedicatedOperator);
    EXPECT_FALSE(shown.highSchoolClassCodes);

    // Values without an item select nothing; the empty exam number is 0.
    const struct {
        const char* semester;
        int semesterItem;
        const char* examNo;
        int examItem;
    } lists[] = {{"", -1, "", 0},     {"1", 0, "0", 0},    {"3", -1, "7", -1},
                 {"1.5", -1, "6", 6}, {" 2", 1, "-1", -1}, {"x", -1, "2x", 2}};
    for (const auto& l : lists) {
        s.semester = QString::fromUtf8(l.semester);
        s.examNo = QString::fromUtf8(l.examNo);
        shown = form.show(s);
        EXPECT_EQ(shown.semesterItem, l.semesterItem) << l.semester;
        EXPECT_EQ(shown.examItem, l.examItem) << l.examNo;
    }
    s.dedicatedOperator = 0;
    s.vocational = 0;
    EXPECT_FALSE(form.show(s).dedicatedOperator);
    EXPECT_TRUE(form.show(s).highSchoolClassCodes);
    s.dedicatedOperator = 1;
    EXPECT_TRUE(form.show(s).dedicatedOperator);
    s.dedicatedOperator = -1;
    EXPECT_FALSE(form.show(s).dedicatedOperator);
}

TEST(SettingsForm, SavingTakesTheControlsAsTheyStand) {
    const SettingsForm form(examNames());
    Settings s;
    SettingsFormState state;
    state.adminPassword = QStringLiteral("  adm  ");
    state.year = QStringLiteral(" 96 ");
    state.semesterItem = -1;
    state.server = QStringLiteral(" srv ");
    state.databaseName = QStringLiteral(" db ");
    state.user = QStringLiteral(" u ");
    state.password = QStringLiteral(" pw  ");
    state.examItem = 0;
    state.dedicatedOperator = true;
    state.highSchoolClassCodes = false;
    form.take(state, s);
    EXPECT_EQ(s.adminPassword, QStringLiteral("adm"));
    EXPECT_EQ(s.year, QStringLiteral("96"));
    EXPECT_EQ(s.semester, QStringLiteral("0"));
    EXPECT_EQ(s.server, QStringLiteral("srv"));
    EXPECT_EQ(s.databaseName, QStringLiteral("db"));
    EXPECT_EQ(s.user, QStringLiteral("u"));
    EXPECT_EQ(s.password, QStringLiteral(" pw  "));  // never trimmed
    EXPECT_EQ(s.examNo, QStringLiteral("0"));
    EXPECT_EQ(s.examName, QStringLiteral("不啟用"));
    EXPECT_EQ(s.dedicatedOperator, 1);
    EXPECT_EQ(s.vocational, 1);

    state.semesterItem = 1;
    state.examItem = 2;
    state.dedicatedOperator = false;
    state.highSchoolClassCodes = true;
    form.take(state, s);
    EXPECT_EQ(s.semester, QStringLiteral("2"));
    EXPECT_EQ(s.examNo, QStringLiteral("2"));
    EXPECT_EQ(s.examName, QStringLiteral("期中考"));
    EXPECT_EQ(s.dedicatedOperator, 0);
    EXPECT_EQ(s.vocational, 0);

    // Opened by start-up, before the names are known, the items read "1." to
    // "6.": another exam gets an empty name, the exam already chosen keeps
    // its stored name.
    SettingsForm early((QStringList()));
    early.setStartUpOpening();
    Settings chosen;
    chosen.examNo = QStringLiteral("2");
    chosen.examName = QStringLiteral("期中考");
    SettingsFormState earlyState = early.show(chosen);
    early.take(earlyState, chosen);
    EXPECT_EQ(chosen.examNo, QStringLiteral("2"));
    EXPECT_EQ(chosen.examName, QStringLiteral("期中考"));
    earlyState.examItem = 4;
    early.take(earlyState, chosen);
    EXPECT_EQ(chosen.examNo, QStringLiteral("4"));
    EXPECT_EQ(chosen.examName, QString());

    // An exam number without an item is saved as no exam.
    earlyState.examItem = -1;
    early.take(earlyState, chosen);
    EXPECT_EQ(chosen.examNo, QStringLiteral("0"));
    EXPECT_EQ(chosen.examName, QString());

    // From the menu the names are known: an exam the school gives no name
    // (exam 4 here) is saved with the empty name, also when it was chosen
    // before and a name was stored for it.
    Settings named;
    named.examNo = QStringLiteral("4");
    named.examName = QStringLiteral("已刪除的名稱");
    form.take(form.show(named), named);
    EXPECT_EQ(named.examNo, QStringLiteral("4"));
    EXPECT_EQ(named.examName, QString());
    named.examNo = QStringLiteral("3");
    named.examName = QStringLiteral("舊名");
    form.take(form.show(named), named);
    EXPECT_EQ(named.examName, QStringLiteral("5月模擬考"));
}

TEST(SettingsForm, OnlyFieldsTheUserCanEditAreReported) {
    QStringList names = examNames();
    names[2] = QStringLiteral("期中😀考");
    SettingsForm form(names);
    Settings s;
    s.examNo = QStringLiteral("2");
    SettingsFormState state = form.show(s);
    // The exam name comes from the school database and cannot be edited:
    // it is no reason to refuse the save.
    EXPECT_EQ(form.storageProblem(state, s), QString());
    Settings taken = s;
    form.take(state, taken);
    EXPECT_EQ(taken.examName, QStringLiteral("期中😀考"));

    const QString message = QStringLiteral("含有無法存入設定檔的字元, 請修改後再存入!");
    state.year = QStringLiteral("95한");
    EXPECT_EQ(form.storageProblem(state, s), QStringLiteral("學年") + message);
    state.databaseName = QStringLiteral("學校😀");
    EXPECT_EQ(form.storageProblem(state, s), QStringLiteral("資料庫名稱") + message);
    state.databaseName.clear();
    state.adminPassword = QStringLiteral("\t");
    EXPECT_EQ(form.storageProblem(state, s), QStringLiteral("學年") + message);
    state.year = QStringLiteral("95");
    EXPECT_EQ(form.storageProblem(state, s), QStringLiteral("系統管理者密碼") + message);

    // At start-up the term and the administrator password are locked; only
    // the database fields are checked.
    SettingsForm early((QStringList()));
    early.setStartUpOpening();
    SettingsFormState locked = early.show(s);
    locked.adminPassword = QStringLiteral("\t");
    locked.year = QStringLiteral("95한");
    EXPECT_EQ(early.storageProblem(locked, s), QString());
    locked.password = QStringLiteral("pw😀");
    EXPECT_EQ(early.storageProblem(locked, s), QStringLiteral("使用者密碼") + message);
}

TEST(SettingsForm, SavingUnchangedSettingsNormalisesTheFile) {
    test::TestFolder folder;
    const QString ini = folder.file("ASSISTANT.INI");
    test::writeBytes(ini,
                     "[SCHOOL]\r\n"
                     "SERVER= srv \r\n"
                     "DATABASENAME=school\r\n"
                     "USER=sa\r\n"
                     "PASSWD=\"\"ad_\"\"\r\n"  // the scrambled form of "  abc  "
                     "SYEAR=95\r\n"
                     "SSEMESTER=2\r\n"
                     "SEXAMNO=2\r\n"
                     "SEXAMNAME=old name\r\n"
                     "SINGLE=2\r\n"
                     "SVOCATION=7\r\n"
                     "ADMPASSWD=24:3\r\n"
                     "ADMSYSTYPE=0\r\n");
    Settings s = readSettingsFile(ini);
    // The reader takes one pair of quotes away, which leaves " abc ".
    ASSERT_EQ(s.password, QStringLiteral(" abc "));
    const SettingsForm form(examNames());
    form.take(form.show(s), s);
    ASSERT_TRUE(SettingsForm::save(ini, s));
    EXPECT_EQ(test::readBytes(ini), QByteArray("[SCHOOL]\r\n"
                                               "SERVER=srv\r\n"
                                               "DATABASENAME=school\r\n"
                                               "USER=sa\r\n"
                                               "PASSWD=ad_\r\n"
                                               "SYEAR=95\r\n"
                                               "SSEMESTER=2\r\n"
                                               "SEXAMNO=2\r\n"
                                               "SEXAMNAME=\xB4\xC1\xA4\xA4\xA6\xD2\r\n"
                                               "SINGLE=1\r\n"
                                               "SVOCATION=1\r\n"
                                               "ADMPASSWD=24:3\r\n"
                                               "ADMSYSTYPE=1\r\n"));
}
