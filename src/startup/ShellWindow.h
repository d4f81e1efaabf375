#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "ops/DamagedExam.h"
#include "ops/MainWindowInterface.h"

namespace korvex {

struct AppContext;

// What start-up needs of the main window beyond what the operations use:
// the version label, showing the window, and enabling the three top menus
// once the login has succeeded.
class ShellWindow : public MainWindowInterface {
public:
    virtual void setVersionText(const QString& text) = 0;
    virtual void showWindow() = 0;
    virtual void enableTopMenus() = 0;
};

// The dialogs start-up opens. The desktop window shows the real ones;
// tests and the console front end answer them their own way.
class StartupDialogs {
public:
    virtual ~StartupDialogs() = default;
    // After a failed connection attempt: the settings dialog with only the
    // database fields and the class-code mode open for editing. Returns when
    // it is closed; a save changes context.settings and the settings file.
    virtual void editConnectionSettings(AppContext& context) = 0;
    // The login dialog; true when a login succeeded.
    virtual bool login(AppContext& context) = 0;
    // exam.mdb is damaged: tells the user and gives the copy to put in its
    // place, or nothing when the program is to end.
    virtual std::optional<QString> replaceDamagedExam(AppContext& context,
                                                      const DamagedExam& damaged) = 0;
};

}  // namespace korvex
