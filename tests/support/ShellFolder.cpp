#include "ShellFolder.h"

#include "settings/Settings.h"
#include "settings/SettingsFile.h"

namespace korvex::test {

void writeSettings(TestFolder& folder, const QString& databaseName, const QString& examNo,
                   const QString& examName, int vocational) {
    Settings settings;
    settings.server = QStringLiteral("sqlite");
    settings.databaseName = databaseName;
    settings.user = QString();
    settings.examNo = examNo;
    settings.examName = examName;
    settings.vocational = std::uint8_t(vocational);
    saveSettingsFile(folder.file(QStringLiteral("ASSISTANT.INI")), settings);
}

void makeShellFolder(TestFolder& folder, const ShellFolderOptions& options) {
    if (options.withExam) folder.createExam(false);
    if (options.withSchool) {
        const QString school = folder.createSchool(false);
        TestFolder::run(school,
                        {QStringLiteral("INSERT INTO z_system VALUES ('95 ', '2')"),
                         QStringLiteral("INSERT INTO z_user VALUES ('admin', 'Secret', 'AB')"),
                         QStringLiteral("INSERT INTO z_name (考試名稱1, 考試名稱3) "
                                        "VALUES ('第一次段考  ', '期中考')")});
    }
    if (options.withSettings)
        writeSettings(folder, options.databaseName, options.examNo, options.examName,
                      options.vocational);
}

}  // namespace korvex::test
