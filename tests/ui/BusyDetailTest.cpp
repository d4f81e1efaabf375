#include <gtest/gtest.h>
#include <QLabel>

#include "ui/MainWindow.h"
#include "ui/MessageBox.h"

using namespace korvex;

// The workbooks name the teacher after the counter; a plain step after it
// shows the counter alone again.
TEST(MainWindow, BusyLabelShowsADetailAfterTheCounter) {
    MainWindow window;
    MessageBox::Script boxes;
    auto* label = window.findChild<QLabel*>(QStringLiteral("MsgLbl"));
    window.show();
    window.showBusy();
    window.setBusyRange(40);
    window.stepBusyDetail(1, QStringLiteral("T001-陳大文"));
    window.stepBusyDetail(12, QStringLiteral("T012-王小明"));
    window.message(QStringLiteral("midway"), MainWindowInterface::Icon::None);
    EXPECT_EQ(label->text(), QStringLiteral("000012/000040 T012-王小明"));
    window.stepBusy(40);
    EXPECT_EQ(label->text(), QStringLiteral("000040/000040"));
    window.endBusy();
}
