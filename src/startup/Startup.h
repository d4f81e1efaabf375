#pragma once

#include <QString>

namespace korvex {

struct AppContext;
class ShellWindow;
class StartupDialogs;

// The start-up sequence and the shutdown. Start-up either leaves both
// connections open, the school database prepared, the login done and the
// top menus enabled (Ready), or ends the program (Ended). Exits that show no
// message write their cause as one line to ASSISTANT.LOG in the program folder.
class Startup {
public:
    enum class Result { Ready, Ended };

    // How many times the school connection is tried before start-up gives up.
    static constexpr int kConnectionAttempts = 5;

    Startup(AppContext& context, ShellWindow& window, StartupDialogs& dialogs);

    // Runs the whole sequence for the program folder `appPath`.
    Result run(const QString& appPath);

    // Why start-up ended (empty when it did not, or when a message said why).
    const QString& endCause() const { return m_endCause; }
    // The copy put in place of a damaged exam.mdb; empty when none was.
    const QString& examPutBack() const { return m_examPutBack; }

    // The question asked after a failed connection attempt.
    static QString connectionQuestion();
    // The message shown when exam.mdb is missing.
    static QString missingExamDatabaseMessage();

private:
    Result endSilently(const QString& cause);
    bool connectSchool();
    bool openExam();
    bool recoverDamagedExam(const QString& reason);
    bool schoolWritable();
    void readExamNames();
    void extendStudentTable();

    AppContext& m_context;
    ShellWindow& m_window;
    StartupDialogs& m_dialogs;
    QString m_endCause;
    QString m_examPutBack;
};

// Releases the school connection, then the exam connection.
void releaseConnections(AppContext& context);

// Appends one line "date time text" to ASSISTANT.LOG in `appPath`; false
// when the file cannot be written (nothing is shown either way).
bool appendStartupLog(const QString& appPath, const QString& text);

}  // namespace korvex
