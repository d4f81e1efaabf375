#pragma once

class QWidget;

namespace korvex {

struct AppContext;

// The two ways the settings dialog is opened: from the menu with every
// field open, and by start-up after a failed connection with only the
// database fields and the class-code mode open.
enum class SettingsDialogUse { Menu, AfterFailedConnection };

// Shows the settings dialog modally over `parent`. Saving from the menu
// rebuilds the window title and the exam menu; saving at start-up leaves
// the title alone (it is built once the exam database is open).
void showSettingsDialog(AppContext& context, SettingsDialogUse use, QWidget* parent);

}  // namespace korvex
