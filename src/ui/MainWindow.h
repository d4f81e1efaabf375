#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include "menu/OperationTable.h"
#include "ops/AppContext.h"
#include "ops/YieldPacer.h"
#include "startup/ShellWindow.h"
#include "startup/Startup.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;

namespace korvex {

class StatusPanels;

// The main window: start-up runs from it, its menus start every operation,
// and closing it ends the program. Operations see it only through
// MainWindowInterface.
class MainWindow : public QMainWindow, public ShellWindow, private StartupDialogs {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs start-up for the program folder; Ended means the window has been
    // unloaded and the program should end.
    Startup::Result start(const QString& appPath);

    AppContext& context() { return m_context; }
    // How often the busy display has been painted (it is painted at most
    // about 30 times a second, and always in its final state).
    int busyPaints() const { return m_busyPaints; }

    // --- MainWindowInterface
    void setWindowEnabled(bool enabled) override;
    bool isWindowEnabled() const override { return m_enabled; }
    void showBusy() override;
    void setBusyRange(int maximum) override;
    void stepBusy(int counter) override;
    void stepBusyDetail(int counter, const QString& detail) override;
    void endBusy() override;
    Answer message(const QString& text, Icon icon, Buttons buttons = Buttons::Ok,
                   Answer defaultAnswer = Answer::Ok) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText = QString()) override;
    QString caption() const override { return windowTitle(); }
    void setCaption(const QString& caption) override { setWindowTitle(caption); }
    void setExamMenu(const QString& importCaption, const QString& exportCaption,
                     bool enabled) override;
    void yield() override;

    // --- ShellWindow
    void setVersionText(const QString& text) override;
    void showWindow() override;
    void enableTopMenus() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // StartupDialogs
    void editConnectionSettings(AppContext& context) override;
    bool login(AppContext& context) override;
    std::optional<QString> replaceDamagedExam(AppContext& context,
                                              const DamagedExam& damaged) override;

    void buildMenus();
    void runMenuOperation(const OperationEntry& entry);
    void showSettingsFromMenu();
    void showAbout();
    // The copy of exam.mdb the user chooses to put back, asked once more;
    // empty when none is chosen.
    QString chooseCopy();
    void paintBusy();
    void repaintAfterBox();
    void unload();

    AppContext m_context;
    QLabel* m_versionLabel;
    QLabel* m_messageLabel;
    QProgressBar* m_progress;
    StatusPanels* m_panels;
    QMenu* m_baseDataMenu;
    QMenu* m_examMenu;
    QMenu* m_systemMenu;
    QList<QAction*> m_examItems;  // import, export

    bool m_enabled = true;
    bool m_operationRunning = false;
    bool m_starting = false;
    bool m_unloaded = false;
    bool m_hourglass = false;
    int m_busyCounter = 0;
    QString m_busyDetail;  // shown after the counter, e.g. the teacher key
    bool m_busyPending = false;
    int m_busyPaints = 0;
    QElapsedTimer m_sinceBusyPaint;
    // Paints a step that was held back, once the interval has passed.
    QTimer m_busyFlush;
    YieldPacer m_yieldPacer;
};

}  // namespace korvex
