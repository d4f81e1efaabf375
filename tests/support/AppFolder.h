#pragma once

#include <QString>

#include "MessageText.h"
#include "QtPrinting.h"
#include "ScriptedWindow.h"
#include "TestFolder.h"
#include "ops/AppContext.h"

namespace korvex::test {

// What every operation test starts from: a program folder of its own, the
// scripted main window, and the context the operations share, its program
// folder and window set. The fixtures of each layer add their databases.
struct AppFolder {
    AppFolder() {
        context.appPath = folder.path();
        context.window = &window;
    }
    AppFolder(const AppFolder&) = delete;
    AppFolder& operator=(const AppFolder&) = delete;

    // The last message box's text in its parts; all empty when none was shown.
    MessageText lastMessage() const {
        return window.messages.isEmpty() ? MessageText{}
                                         : parseMessage(window.messages.last().text);
    }

    TestFolder folder;
    ScriptedWindow window;
    AppContext context;
};

}  // namespace korvex::test
