#pragma once

class QCoreApplication;

namespace korvex {

// Loads Qt's own Traditional Chinese texts into `app`: the standard buttons
// and dialogs, the context menu of every text box, the command-line
// parser's messages. Looks in Qt's translations folder and then in
// "translations" beside the program (where a Windows installation keeps
// them). False when neither has them; Qt's texts then stay English.
bool installQtTranslation(QCoreApplication& app);

}  // namespace korvex
