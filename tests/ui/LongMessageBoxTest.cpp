#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <functional>

#include "ui/LongMessageBox.h"
#include "ui/MessageBox.h"

using namespace korvex;
using Icon = MainWindowInterface::Icon;
using Buttons = MainWindowInterface::Buttons;
using Answer = MainWindowInterface::Answer;

namespace {

// A duplicate report as the student import writes it: three classes with
// seat 01 in every one of a few hundred rows.
QString longReport() {
    QStringList lines;
    for (int i = 0; i < 240; ++i)
        lines << QStringLiteral("[G10863%1 陳怡君] 與 [G10864%1 林家豪] 的考試號碼 1010%2 重複")
                     .arg(i, 4, 10, QLatin1Char('0'))
                     .arg(i % 3);
    return lines.join(QLatin1Char('\n')) + QStringLiteral("\n請檢查!");
}

// Acts on the box once it is up.
Answer showAndAct(const QString& text, Icon icon, Buttons buttons, Answer def,
                  const std::function<void(QWidget*)>& act) {
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        act(box);
    });
    return MessageBox::show(nullptr, QStringLiteral("KORVEX小幫手"), text, icon, buttons, def);
}

}  // namespace

// On a small screen (the test screen is 800 by 600) a long report opens in
// a box that fits it: the text scrolls, can be selected and copied, and
// 確定 is on the screen.
TEST(LongMessageBox, LongReportFitsTheScreenAndCanBeCopied) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect available = screen->availableGeometry();
    ASSERT_LE(available.height(), 800);
    const QString report = longReport();

    bool inspected = false;
    const Answer answer =
        showAndAct(report, Icon::Critical, Buttons::Ok, Answer::Ok, [&](QWidget* box) {
            inspected = true;
            EXPECT_EQ(box->objectName(), QStringLiteral("LongMessageBox"));
            EXPECT_EQ(box->windowTitle(), QStringLiteral("KORVEX小幫手"));
            EXPECT_TRUE(available.contains(box->frameGeometry()))
                << box->frameGeometry().height() << " on " << available.height();
            auto* icon = box->findChild<QLabel*>(QStringLiteral("icon"));
            ASSERT_NE(icon, nullptr);
            EXPECT_FALSE(icon->pixmap().isNull());
            auto* ok = box->findChild<QPushButton*>(QStringLiteral("button_ok"));
            ASSERT_NE(ok, nullptr);
            EXPECT_EQ(ok->text(), QStringLiteral("確定"));
            EXPECT_TRUE(available.contains(ok->mapToGlobal(ok->rect().center())));
            EXPECT_EQ(box->findChildren<QPushButton*>().size(), 1);

            auto* text = box->findChild<QPlainTextEdit*>(QStringLiteral("text"));
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(text->toPlainText(), report);
            EXPECT_TRUE(text->isReadOnly());
            EXPECT_GT(text->verticalScrollBar()->maximum(), 0);
            EXPECT_TRUE(text->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
            text->selectAll();
            text->copy();
            EXPECT_EQ(QGuiApplication::clipboard()->text(), report);

            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &escape);
        });
    EXPECT_TRUE(inspected);
    EXPECT_EQ(answer, Answer::Ok);
}

// A long question keeps the rules of the plain one: the default button,
// no way out of a Yes/No question but its buttons, Cancel on Esc when there
// is one.
TEST(LongMessageBox, LongQuestionsKeepTheirButtonsAndDefault) {
    const QString question = longReport() + QStringLiteral("\n要繼續嗎?");
    const Answer yesNo =
        showAndAct(question, Icon::Exclamation, Buttons::YesNo, Answer::No, [](QWidget* box) {
            EXPECT_EQ(box->objectName(), QStringLiteral("LongMessageBox"));
            EXPECT_FALSE(box->windowFlags().testFlag(Qt::WindowCloseButtonHint));
            auto* yes = box->findChild<QPushButton*>(QStringLiteral("button_yes"));
            auto* no = box->findChild<QPushButton*>(QStringLiteral("button_no"));
            ASSERT_TRUE(yes && no);
            EXPECT_EQ(yes->text(), QStringLiteral("是(&Y)"));
            EXPECT_TRUE(no->isDefault());
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &escape);
            EXPECT_TRUE(box->isVisible());
            // Enter presses the default button.
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
        });
    EXPECT_EQ(yesNo, Answer::No);

    const Answer cancel =
        showAndAct(question, Icon::None, Buttons::YesNoCancel, Answer::Yes, [](QWidget* box) {
            EXPECT_EQ(box->findChildren<QPushButton*>().size(), 3);
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &escape);
        });
    EXPECT_EQ(cancel, Answer::Cancel);

    // A short text keeps the plain box.
    showAndAct(QStringLiteral("班級資料匯入完成!"), Icon::None, Buttons::Ok, Answer::Ok,
               [](QWidget* box) {
                   EXPECT_NE(qobject_cast<QMessageBox*>(box), nullptr);
                   qobject_cast<QMessageBox*>(box)->accept();
               });
}

TEST(LongMessageBox, SizeFollowsTheScreen) {
    // The 1,968-pixel report on a 1280 by 800 screen: the text area takes at
    // most six tenths of the height.
    const QSize area = LongMessageBox::areaSize(1968, QSize(1280, 760));
    EXPECT_LE(area.height(), 760 * 6 / 10);
    EXPECT_LE(area.width(), 1280);
    // A short text is not given more room than it needs.
    EXPECT_LT(LongMessageBox::areaSize(200, QSize(1920, 1040)).height(), 300);
    // A narrow screen narrows the text.
    EXPECT_LE(LongMessageBox::areaSize(400, QSize(600, 400)).width(), 600);

    const QFont font = QApplication::font();
    EXPECT_TRUE(LongMessageBox::needed(longReport(), font, QRect(0, 0, 1280, 800)));
    EXPECT_FALSE(
        LongMessageBox::needed(QStringLiteral("學生資料匯入完成!"), font, QRect(0, 0, 1280, 800)));
}
