#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMenu>

#include "HostCommand.h"
#include "TestFolder.h"
#include "ToolProcess.h"
#include "core/AppInfo.h"
#include "startup/Startup.h"
#include "ui/AppIcon.h"
#include "ui/AppSetup.h"
#include "ui/AssistantCommandLine.h"
#include "ui/MessageBox.h"
#include "ui/RunAssistant.h"

using namespace korvex;
using korvex::test::TestFolder;

namespace {

using ProcessRun = korvex::test::ToolRun;

// Runs korvex-assistant with no display at all: what the command line
// answers by itself must not need one.
ProcessRun runAssistantProcess(const QStringList& arguments) {
    korvex::test::ToolOptions options;
    options.withoutEnvironment = {QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"),
                                  QStringLiteral("QT_QPA_PLATFORM")};
    options.timeoutMs = 20000;
    return korvex::test::runTool(QStringLiteral("korvex-assistant"), arguments, options);
}

}  // namespace

TEST(AssistantCommandLine, HelpVersionAndUsageErrorsNeedNoDisplay) {
    for (const char* option : {"--help", "-h"}) {
        const ProcessRun help = runAssistantProcess({option});
        EXPECT_EQ(help.exitCode, 0) << option << help.err.toStdString();
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("用法: korvex-assistant [--folder DIR]")));
        EXPECT_TRUE(help.out.contains(QStringLiteral("1  開啟程序結束了程式")));
    }
    const ProcessRun version = runAssistantProcess({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out,
              QStringLiteral("korvex-assistant 1.0.0") + korvex::test::consoleLineEnd());

    const QList<QStringList> bad = {{"--bogus"}, {"extra"}, {"--folder"}, {"--folder", ""}};
    for (const QStringList& arguments : bad) {
        const ProcessRun run = runAssistantProcess(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(QStringLiteral("用法: korvex-assistant")))
            << run.err.toStdString();
    }
    // The parser's own message is Qt's, translated.
    const ProcessRun unknown = runAssistantProcess({"--bogus"});
    EXPECT_TRUE(unknown.err.startsWith(QStringLiteral("korvex-assistant: ")));
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("bogus")));
    EXPECT_FALSE(unknown.err.contains(QStringLiteral("Unknown option")))
        << unknown.err.toStdString();
}

TEST(AssistantCommandLine, QtsOwnOptionsAreLeftToQt) {
    const AssistantCommand command = parseAssistantCommand(
        {"-platform", "offscreen", "--folder", "/srv/exam", "-style=Fusion", "-reverse"});
    EXPECT_EQ(command.kind, AssistantCommand::Kind::Run) << command.error.toStdString();
    EXPECT_EQ(command.folder, QStringLiteral("/srv/exam"));
    EXPECT_EQ(parseAssistantCommand({}).folder, QString());
    EXPECT_EQ(parseAssistantCommand({"--help", "--bogus"}).kind, AssistantCommand::Kind::Help);
    EXPECT_EQ(parseAssistantCommand({"-v"}).kind, AssistantCommand::Kind::Version);
}

// Without exam.mdb the program shows the message, naming the folder it
// searched on a second line, and ends with status 1 (not as a normal end).
TEST(AssistantCommandLine, MissingExamDatabaseEndsWithStatusOne) {
    TestFolder folder;
    MessageBox::Script boxes;
    EXPECT_EQ(runAssistant(folder.path()), 1);
    ASSERT_EQ(boxes.shown().size(), 1);
    const QStringList lines = boxes.shown().first().text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], Startup::missingExamDatabaseMessage());
    EXPECT_EQ(lines[1], QStringLiteral("搜尋的資料夾: ") + QDir::toNativeSeparators(folder.path()));
    EXPECT_EQ(boxes.shown().first().title, appTitle());
}

// Qt's standard texts (here a text box's context menu) in Chinese, a
// Traditional Chinese font behind the system's, and the program's icon.
TEST(AssistantCommandLine, ApplicationSpeaksChineseAndHasItsIcon) {
    prepareApplication(*qApp);

    QLineEdit box;
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) texts << action->text();
    ASSERT_FALSE(texts.isEmpty());
    for (const QString& text : texts) {
        EXPECT_FALSE(text.contains(QStringLiteral("Undo")) ||
                     text.contains(QStringLiteral("Paste")))
            << text.toStdString();
    }
    EXPECT_TRUE(texts.join(' ').contains(QStringLiteral("貼上"))) << texts.join(' ').toStdString();

    const QStringList families = QApplication::font().families();
    ASSERT_GE(families.size(), 2);
    EXPECT_EQ(families.mid(1, 1), chineseFallbackFamilies().mid(0, 1));
    // The font is there to use: scripts/setup installs it on Linux, Windows
    // brings it with its Traditional Chinese support. Wine has no Microsoft
    // fonts, so under Wine only the order above is checked.
    if (!korvex::test::underWine()) {
        EXPECT_TRUE(QFontDatabase::families().contains(chineseFallbackFamilies().first()))
            << chineseFallbackFamilies().first().toStdString();
    }

    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 32, 48, 256}) {
        const QImage image = icon.pixmap(size, size).toImage();
        EXPECT_EQ(image.size(), QSize(size, size));
        // The drawing, not an empty square: the corner is transparent, the
        // middle is not.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    }
    EXPECT_EQ(appIcon().availableSizes().size(), icon.availableSizes().size());
}
