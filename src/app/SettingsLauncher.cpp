#include "app/SettingsLauncher.h"

#include "app/AppContext.h"

#if __has_include("settings/SettingsDialog.h")
#error "use the settings dialog"
#endif

namespace korvex {

void showSettingsDialog(AppContext& context, SettingsDialogUse use, QWidget*) {
    if (use == SettingsDialogUse::Menu)
        context.window->message(QStringLiteral("此功能尚未提供"),
                                MainWindowInterface::Icon::Information);
}

}  // namespace korvex
