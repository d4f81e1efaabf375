#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/AppInfo.h"
#include "core/ValueRules.h"
#include "menu/DamagedExamTexts.h"
#include "startup/StartupSteps.h"
#include "ui/AboutDialog.h"
#include "ui/AppIcon.h"
#include "ui/DialogLook.h"
#include "ui/LoginDialog.h"
#include "ui/MessageBox.h"
#include "ui/RestoreDialog.h"
#include "ui/SettingsLauncher.h"
#include "ui/StatusPanels.h"

namespace korvex {

namespace {

// The busy display is repainted at most this often (about 30 times a second).
constexpr int kBusyPaintIntervalMs = 33;

QAction* addItem(QMenu* menu, const QString& name, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Mainfrm"));
    setWindowTitle(appTitle());
    m_context.window = this;

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto* banner = new QLabel(appTitle(), central);
    banner->setObjectName(QStringLiteral("Image1"));
    banner->setAlignment(Qt::AlignCenter);
    QFont bannerFont = banner->font();
    bannerFont.setPointSizeF(bannerFont.pointSizeF() * 2.2);
    bannerFont.setBold(true);
    banner->setFont(bannerFont);
    banner->setStyleSheet(QStringLiteral("color: #1d4f91;"));

    m_versionLabel = new QLabel(central);
    m_versionLabel->setObjectName(QStringLiteral("Label1"));
    m_versionLabel->setFont(QFont(QStringLiteral("Times New Roman")));
    m_messageLabel = new QLabel(central);
    m_messageLabel->setObjectName(QStringLiteral("MsgLbl"));
    m_messageLabel->setAlignment(Qt::AlignCenter);
    m_messageLabel->hide();
    m_progress = new QProgressBar(central);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->hide();

    auto* layout = new QVBoxLayout(central);
    layout->addStretch(1);
    layout->addWidget(banner);
    layout->addStretch(1);
    layout->addWidget(m_messageLabel);
    layout->addWidget(m_progress);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_versionLabel);
    bottom->addStretch(1);
    layout->addLayout(bottom);
    setCentralWidget(central);

    setWindowIcon(appIcon());
    m_panels = new StatusPanels(statusBar());
    m_busyFlush.setSingleShot(true);
    connect(&m_busyFlush, &QTimer::timeout, this, &MainWindow::paintBusy);
    buildMenus();
    resize(720, 420);
}

MainWindow::~MainWindow() {
    if (m_hourglass) QApplication::restoreOverrideCursor();
    releaseConnections(m_context);
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    m_baseDataMenu = bar->addMenu(QStringLiteral("基本資料匯入"));
    m_baseDataMenu->setObjectName(QStringLiteral("mnuaa"));
    m_examMenu = bar->addMenu(QStringLiteral("考試資料匯入及匯出"));
    m_examMenu->setObjectName(QStringLiteral("mnuee"));
    for (const OperationEntry& entry : operationTable()) {
        if (entry.menu != OperationMenu::BaseData && entry.menu != OperationMenu::Exam) continue;
        const bool exam = entry.menu == OperationMenu::Exam;
        QAction* item =
            addItem(exam ? m_examMenu : m_baseDataMenu, entry.menuObjectName, entry.menuText);
        connect(item, &QAction::triggered, this, [this, &entry] { runMenuOperation(entry); });
        if (exam) m_examItems << item;
    }

    m_systemMenu = bar->addMenu(QStringLiteral("系統維護"));
    m_systemMenu->setObjectName(QStringLiteral("mnudd"));
    connect(addItem(m_systemMenu, QStringLiteral("mnud_1"), QStringLiteral("結束離開")),
            &QAction::triggered, this, &MainWindow::close);
    // 結束離開 stands apart from the items that open a dialog.
    m_systemMenu->addSeparator()->setObjectName(QStringLiteral("mnud_2"));
    connect(addItem(m_systemMenu, QStringLiteral("mnud_3"), QStringLiteral("參數設定")),
            &QAction::triggered, this, &MainWindow::showSettingsFromMenu);
    // The maintenance operations stand between the settings and About.
    for (const OperationEntry& entry : operationTable()) {
        if (entry.menu != OperationMenu::System) continue;
        connect(addItem(m_systemMenu, entry.menuObjectName, entry.menuText), &QAction::triggered,
                this, [this, &entry] { runMenuOperation(entry); });
    }
    connect(addItem(m_systemMenu, QStringLiteral("mnud_4"), QStringLiteral("關於程式")),
            &QAction::triggered, this, &MainWindow::showAbout);

    // Nothing can be started before the login has succeeded.
    for (QMenu* menu : {m_baseDataMenu, m_examMenu, m_systemMenu})
        menu->menuAction()->setEnabled(false);
}

Startup::Result MainWindow::start(const QString& appPath) {
    Startup startup(m_context, *this, *this);
    m_starting = true;
    const Startup::Result result = startup.run(appPath);
    m_starting = false;
    if (result == Startup::Result::Ended) unload();
    return result;
}

// --- menus

void MainWindow::runMenuOperation(const OperationEntry& entry) {
    // The window is disabled while an operation runs; a click queued before
    // that must not start a second one.
    if (m_operationRunning) return;
    OperationInput input;
    if (entry.needs == OperationNeeds::Copy) {
        input.copy = chooseCopy();
        if (input.copy.isEmpty()) return;
    }
    m_operationRunning = true;
    runOperation(m_context, entry, input);
    m_operationRunning = false;
}

void MainWindow::showSettingsFromMenu() {
    showSettingsDialog(m_context, SettingsDialogUse::Menu, this);
}

QString MainWindow::chooseCopy() {
    const QList<examBackups::Copy> copies = examBackups::list(m_context.exam.file());
    if (copies.isEmpty()) {
        message(QStringLiteral("backup 資料夾中沒有考試資料庫的備份可供還原!"), Icon::Information);
        return QString();
    }
    RestoreDialog dialog(copies, this);
    dialog.exec();
    const QString chosen = dialog.chosen();
    if (chosen.isEmpty()) return QString();
    const auto& copy = *std::find_if(copies.begin(), copies.end(),
                                     [&](const examBackups::Copy& c) { return c.path == chosen; });
    const Answer sure =
        message(QStringLiteral(
                    "確定要以 %1 (%2之前) 的備份取代目前的考試資料庫嗎? 目前的考試資料庫會先備份。")
                    .arg(copy.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
                         RestoreDialog::operationLabel(copy.operation)),
                Icon::Question, Buttons::YesNo, Answer::No);
    return sure == Answer::Yes ? chosen : QString();
}

void MainWindow::showAbout() {
    AboutDialog about(this);
    about.exec();
}

// --- start-up dialogs

void MainWindow::editConnectionSettings(AppContext& context) {
    showSettingsDialog(context, SettingsDialogUse::AfterFailedConnection, this);
}

std::optional<QString> MainWindow::replaceDamagedExam(AppContext&, const DamagedExam& damaged) {
    if (damaged.copies.isEmpty()) {
        message(damagedExamMessage(damaged, false), Icon::Critical);
        return std::nullopt;
    }
    // Putting a copy back loses what changed since it was taken: the user
    // decides, and Enter keeps the file as it is.
    if (message(damagedExamQuestion(damaged), Icon::Exclamation, Buttons::YesNo, Answer::No) !=
        Answer::Yes)
        return std::nullopt;
    return damaged.copies.first().path;
}

bool MainWindow::login(AppContext& context) {
    LoginDialog dialog(LoginCheck::load(context.school), this);
    dialog.exec();
    return dialog.loginSucceeded();
}

// --- MainWindowInterface

void MainWindow::setWindowEnabled(bool enabled) {
    // The menus and the window's contents are what the user can act on.
    // The window itself stays enabled so that the message boxes and dialogs
    // an operation opens (they are its children) can be answered. The busy
    // display stays enabled too: it is only shown, never used, and in the
    // disabled colours it could hardly be read.
    m_enabled = enabled;
    menuBar()->setEnabled(enabled);
    for (QWidget* child : centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != m_messageLabel && child != m_progress) child->setEnabled(enabled);
}

void MainWindow::showBusy() {
    m_messageLabel->setText(QString());
    m_messageLabel->show();
    m_progress->show();
    if (!m_hourglass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_hourglass = true;
    }
    m_progress->setValue(0);
    m_busyCounter = 0;
    m_busyPending = false;
    m_busyFlush.stop();
    m_sinceBusyPaint.invalidate();
}

void MainWindow::setBusyRange(int maximum) {
    m_progress->setRange(0, std::max(maximum, 0));
    // The count shows at once ("000000/038399"), before the first row is done.
    m_busyCounter = 0;
    m_busyDetail.clear();
    m_busyPending = true;
    paintBusy();
}

void MainWindow::stepBusy(int counter) { stepBusyDetail(counter, QString()); }

void MainWindow::stepBusyDetail(int counter, const QString& detail) {
    m_busyDetail = detail;
    m_busyCounter = counter;
    m_busyPending = true;
    const qint64 since =
        m_sinceBusyPaint.isValid() ? m_sinceBusyPaint.elapsed() : kBusyPaintIntervalMs;
    if (since >= kBusyPaintIntervalMs || counter >= m_progress->maximum())
        paintBusy();
    else if (!m_busyFlush.isActive())
        m_busyFlush.start(int(kBusyPaintIntervalMs - since));
}

void MainWindow::paintBusy() {
    m_busyFlush.stop();
    if (!m_busyPending) return;
    m_busyPending = false;
    QString text = progressText(m_busyCounter, m_progress->maximum());
    if (!m_busyDetail.isEmpty()) text += QLatin1Char(' ') + m_busyDetail;
    m_messageLabel->setText(text);
    if (m_busyCounter >= m_progress->minimum() && m_busyCounter <= m_progress->maximum())
        m_progress->setValue(m_busyCounter);
    // Painted now rather than at the next yield: an operation may work for a
    // while before it yields again (reading its source, committing).
    m_messageLabel->repaint();
    m_progress->repaint();
    ++m_busyPaints;
    m_sinceBusyPaint.start();
}

void MainWindow::endBusy() {
    paintBusy();
    m_messageLabel->hide();
    m_progress->hide();
    if (m_hourglass) {
        QApplication::restoreOverrideCursor();
        m_hourglass = false;
    }
}

MainWindowInterface::Answer MainWindow::message(const QString& text, Icon icon, Buttons buttons,
                                                Answer defaultAnswer) {
    // The box shows over the busy display in its exact state.
    paintBusy();
    const Answer answer = MessageBox::show(this, windowTitle(), text, icon, buttons, defaultAnswer);
    m_yieldPacer.ran();
    repaintAfterBox();
    return answer;
}

std::optional<QString> MainWindow::input(const QString& prompt, const QString& title,
                                         const QString& defaultText) {
    paintBusy();
    std::optional<QString> answer = MessageBox::input(this, title, prompt, defaultText);
    repaintAfterBox();
    return answer;
}

void MainWindow::repaintAfterBox() {
    // The work that follows an answer may not yield for a while (reading a
    // large source): the closed box must not stay painted over the window.
    if (!isVisible()) return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void MainWindow::setExamMenu(const QString& importCaption, const QString& exportCaption,
                             bool enabled) {
    const QString captions[] = {importCaption, exportCaption};
    for (int i = 0; i < m_examItems.size() && i < 2; ++i) {
        m_examItems[i]->setText(captions[i]);
        m_examItems[i]->setEnabled(enabled);
    }
}

void MainWindow::yield() {
    if (m_yieldPacer.due()) QCoreApplication::processEvents();
}

// --- ShellWindow

void MainWindow::setVersionText(const QString& text) { m_versionLabel->setText(text); }

void MainWindow::showWindow() {
    // Placed before it shows, so that the dialogs centred on it (the login
    // comes at once) know where it is.
    if (!isVisible()) centreWindow(this);
    show();
}

void MainWindow::enableTopMenus() {
    m_baseDataMenu->menuAction()->setEnabled(true);
    m_systemMenu->menuAction()->setEnabled(true);
    m_examMenu->menuAction()->setEnabled(true);
}

// --- shutdown

void MainWindow::closeEvent(QCloseEvent* event) {
    // While start-up or an operation runs, the connections are in use; the
    // window stays (start-up ends the program itself when it fails).
    if (m_operationRunning || m_starting) {
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

void MainWindow::unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    // The dialogs live only while they are shown, so none outlives the window.
    releaseConnections(m_context);
    hide();
}

}  // namespace korvex
