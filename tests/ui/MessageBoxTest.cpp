#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ui/MessageBox.h"

using namespace korvex;
using Icon = MainWindowInterface::Icon;
using Buttons = MainWindowInterface::Buttons;
using Answer = MainWindowInterface::Answer;

namespace {

// Runs `act` on the real box once it is up, and reports what it looked like.
struct BoxLook {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    bool stillOpenAfterEscape = false;
};

Answer showAndAct(Buttons buttons, Icon icon, Answer def, BoxLook& look,
                  const std::function<void(QMessageBox*)>& act) {
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        look.title = box->windowTitle();
        look.text = box->text();
        look.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) look.buttons << b->text();
        if (box->defaultButton()) look.defaultButton = box->defaultButton()->text();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &escape);
        look.stillOpenAfterEscape = box->isVisible();
        if (look.stillOpenAfterEscape) act(box);
    });
    return MessageBox::show(nullptr, QStringLiteral("標題"), QStringLiteral("<b>內容</b>"), icon,
                            buttons, def);
}

}  // namespace

TEST(MessageBox, EscapeFollowsTheButtonsOfTheBox) {
    BoxLook ok;
    EXPECT_EQ(showAndAct(Buttons::Ok, Icon::Critical, Answer::Ok, ok, [](QMessageBox*) {}),
              Answer::Ok);
    EXPECT_FALSE(ok.stillOpenAfterEscape);
    EXPECT_EQ(ok.title, QStringLiteral("標題"));
    EXPECT_EQ(ok.icon, QMessageBox::Critical);
    EXPECT_EQ(ok.buttons, QStringList{QStringLiteral("確定")});

    // A Yes/No question must be answered: Esc does nothing.
    BoxLook yesNo;
    const Answer answer =
        showAndAct(Buttons::YesNo, Icon::Exclamation, Answer::Yes, yesNo,
                   [](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    EXPECT_TRUE(yesNo.stillOpenAfterEscape);
    EXPECT_EQ(answer, Answer::No);
    EXPECT_EQ(yesNo.icon, QMessageBox::Warning);
    EXPECT_EQ(yesNo.buttons.size(), 2);
    EXPECT_TRUE(yesNo.buttons.contains(QStringLiteral("是(&Y)")));
    EXPECT_TRUE(yesNo.buttons.contains(QStringLiteral("否(&N)")));

    BoxLook three;
    EXPECT_EQ(showAndAct(Buttons::YesNoCancel, Icon::None, Answer::Yes, three, [](QMessageBox*) {}),
              Answer::Cancel);
    EXPECT_FALSE(three.stillOpenAfterEscape);
    EXPECT_EQ(three.icon, QMessageBox::NoIcon);
    EXPECT_EQ(three.buttons.size(), 3);
    EXPECT_TRUE(three.buttons.contains(QStringLiteral("取消")));
}

TEST(MessageBox, TextIsShownAsWrittenAndTheDefaultButtonIsSet) {
    BoxLook look;
    showAndAct(Buttons::YesNo, Icon::None, Answer::No, look,
               [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(look.text, QStringLiteral("<b>內容</b>"));
    EXPECT_EQ(look.defaultButton, QStringLiteral("否(&N)"));
}

TEST(MessageBox, ScriptAnswersInOrderAndRecordsEveryBox) {
    MessageBox::Script script;
    script.answer(Answer::No);
    EXPECT_EQ(MessageBox::show(nullptr, "t", "one", Icon::Information), Answer::Ok);
    EXPECT_EQ(MessageBox::show(nullptr, "t", "two", Icon::None, Buttons::YesNo), Answer::No);
    // Nothing queued: the default button answers.
    EXPECT_EQ(
        MessageBox::show(nullptr, "t", "three", Icon::None, Buttons::YesNoCancel, Answer::Yes),
        Answer::Yes);
    EXPECT_EQ(script.texts(), (QStringList{"one", "two", "three"}));
    script.type(QStringLiteral("T01"));
    EXPECT_EQ(MessageBox::input(nullptr, "t", "who?", QString()), std::optional<QString>("T01"));
    EXPECT_EQ(MessageBox::input(nullptr, "t", "again?", QString()), std::nullopt);
    EXPECT_EQ(script.prompts(), (QStringList{"who?", "again?"}));
}
