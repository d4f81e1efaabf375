#include "settings/SettingsForm.h"

#include <QHash>
#include <cmath>

#include "core/ValueRules.h"
#include "settings/SettingsFile.h"

namespace korvex {

namespace {

constexpr int kExamCount = 6;

// The item whose number is the value's leading number, or -1. Items are
// numbered by their place in the list (the first one `firstNumber`), not by
// reading their text, so an exam name that begins with digits ("1.5月模考")
// cannot hide its item.
int itemForNumber(const QString& value, int firstNumber, int itemCount) {
    const double number = leadingNumber(value);
    if (number != std::floor(number)) return -1;
    const double index = number - firstNumber;
    return index >= 0 && index < itemCount ? int(index) : -1;
}

}  // namespace

SettingsForm::SettingsForm(const QStringList& examNames) {
    m_examItems << QStringLiteral("0.不啟用");
    for (int k = 1; k <= kExamCount; ++k)
        m_examItems << QString::number(k) + u'.' + examNames.value(k);
}

QStringList SettingsForm::semesterItems() {
    return {QStringLiteral("1.第一學期"), QStringLiteral("2.第二學期")};
}

SettingsFormState SettingsForm::show(const Settings& settings) const {
    SettingsFormState state;
    state.adminPassword = settings.adminPassword;
    state.year = trimBlanks(settings.year);
    state.semesterItem = itemForNumber(settings.semester, 1, int(semesterItems().size()));
    state.server = trimBlanks(settings.server);
    state.databaseName = trimBlanks(settings.databaseName);
    state.user = trimBlanks(settings.user);
    state.password = trimBlanks(settings.password);
    state.examItem = itemForNumber(settings.examNo, 0, int(m_examItems.size()));
    state.dedicatedOperator = settings.dedicatedOperator >= 1;
    state.highSchoolClassCodes = settings.vocational == 0;
    return state;
}

void SettingsForm::take(const SettingsFormState& state, Settings& settings) const {
    settings.adminPassword = trimBlanks(state.adminPassword);
    settings.year = trimBlanks(state.year);
    settings.semester = QString::number(state.semesterItem + 1);  // "0" when none is selected
    settings.server = trimBlanks(state.server);
    settings.databaseName = trimBlanks(state.databaseName);
    settings.user = trimBlanks(state.user);
    settings.password = state.password;  // a password may begin or end with blanks
    if (state.examItem >= 0 && state.examItem < m_examItems.size()) {
        const QString item = m_examItems.at(state.examItem);
        const QString examNo = item.left(1);
        const QString examName = item.mid(2);
        // Before the exam names are known (the dialog opened during start-up)
        // the items read only "1." to "6."; keep the stored name of the
        // chosen exam rather than wiping it. From the menu the names are
        // known: an exam the school gives no name has the empty name.
        const bool sameExam =
            state.examItem == itemForNumber(settings.examNo, 0, int(m_examItems.size()));
        if (!(m_startUpOpening && examName.isEmpty() && sameExam)) settings.examName = examName;
        settings.examNo = examNo;
    } else {
        // An exam number the list has no item for is saved as "no exam".
        settings.examNo = QStringLiteral("0");
        settings.examName.clear();
    }
    settings.dedicatedOperator = state.dedicatedOperator ? 1 : 0;
    settings.vocational = state.highSchoolClassCodes ? 0 : 1;
}

QString SettingsForm::storageProblem(const SettingsFormState& state,
                                     const Settings& current) const {
    Settings taken = current;
    take(state, taken);
    // The text boxes, each with its label; the lists and the check box give
    // only values the file can hold, or (the exam name) values the user
    // cannot change. At start-up the term and the administrator password are
    // locked.
    static const QHash<QString, QString> editable = {
        {QStringLiteral("SERVER"), QStringLiteral("資料庫伺服器")},
        {QStringLiteral("DATABASENAME"), QStringLiteral("資料庫名稱")},
        {QStringLiteral("USER"), QStringLiteral("使用者帳號")},
        {QStringLiteral("PASSWD"), QStringLiteral("使用者密碼")},
        {QStringLiteral("SYEAR"), QStringLiteral("學年")},
        {QStringLiteral("ADMPASSWD"), QStringLiteral("系統管理者密碼")},
    };
    for (const QString& key : settingsValueProblems(taken)) {
        if (!editable.contains(key)) continue;
        if (m_startUpOpening &&
            (key == QLatin1String("SYEAR") || key == QLatin1String("ADMPASSWD")))
            continue;
        return editable.value(key) + QStringLiteral("含有無法存入設定檔的字元, 請修改後再存入!");
    }
    return QString();
}

bool SettingsForm::save(const QString& iniPath, Settings& settings) {
    return saveSettingsFile(iniPath, settings);
}

}  // namespace korvex
