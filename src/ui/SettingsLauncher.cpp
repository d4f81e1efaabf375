#include "ui/SettingsLauncher.h"

#include "core/AppInfo.h"
#include "core/ProgramFolder.h"
#include "ops/AppContext.h"
#include "startup/StartupSteps.h"
#include "ui/SettingsDialog.h"

namespace korvex {

void showSettingsDialog(AppContext& context, SettingsDialogUse use, QWidget* parent) {
    std::function<void()> onSaved;
    // At start-up the title is built once the exam database is open; until
    // then every box keeps the program's own title.
    if (use == SettingsDialogUse::Menu) onSaved = [&context] { BuildMainTitle(context); };
    SettingsDialog dialog(context.settings, context.examNames,
                          programFile(context.appPath, settingsFileName()), onSaved, parent);
    if (use == SettingsDialogUse::AfterFailedConnection)
        dialog.disableForStartup();
    else
        dialog.setExamListEnabled(true);
    dialog.exec();
}

}  // namespace korvex
