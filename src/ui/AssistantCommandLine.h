#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// The command line of korvex-assistant, read before the window system is
// opened, so that --help, --version and a wrong option work without a
// display. Qt's own window-system options (-platform, -style, -display, ...)
// are accepted and left to Qt.
struct AssistantCommand {
    enum class Kind { Run, Help, Version, BadUsage };
    Kind kind = Kind::Run;
    QString folder;  // --folder as given; empty when not given
    QString error;   // why the line was refused
};

// Reads the arguments (without the program name).
AssistantCommand parseAssistantCommand(const QStringList& arguments);

// The short usage printed after a usage error, and the full help.
QString assistantUsage();
QString assistantHelp();

}  // namespace korvex
