#include "app/SettingsLauncher.h"

#include "app/AppContext.h"
#include "app/AppInfo.h"
#include "app/MessageBox.h"
#include "app/ProgramFolder.h"
#include "db/StartupSteps.h"
#include "settings/SettingsDialog.h"

namespace korvex {

namespace {

MessageBox::Icon iconOf(QMessageBox::Icon icon) {
    switch (icon) {
        case QMessageBox::Critical: return MessageBox::Icon::Critical;
        case QMessageBox::Warning: return MessageBox::Icon::Exclamation;
        case QMessageBox::Information: return MessageBox::Icon::Information;
        case QMessageBox::Question: return MessageBox::Icon::Question;
        default: break;
    }
    return MessageBox::Icon::None;
}

}  // namespace

void showSettingsDialog(AppContext& context, SettingsDialogUse use, QWidget* parent) {
    std::function<void()> onSaved;
    // At start-up the title is built once the exam database is open; until
    // then every box keeps the program's own title.
    if (use == SettingsDialogUse::Menu) onSaved = [&context] { BuildMainTitle(context); };
    SettingsDialog dialog(context.settings, context.examNames,
                          programFile(context.appPath, settingsFileName()), onSaved, parent);
    dialog.setMessageHandler([&context, &dialog](QMessageBox::Icon icon, const QString& text) {
        const QString title = context.window ? context.window->caption() : appTitle();
        MessageBox::show(&dialog, title, text, iconOf(icon));
    });
    if (use == SettingsDialogUse::AfterFailedConnection)
        dialog.disableForStartup();
    else
        dialog.setExamListEnabled(true);
    dialog.exec();
}

}  // namespace korvex
