#include "ui/LongMessageBox.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "ui/DialogLook.h"
#include "ui/MessageBoxLook.h"

namespace korvex {

namespace {

// The picture a plain message box shows for the icon; nothing for none.
std::optional<QStyle::StandardPixmap> standardPixmap(MainWindowInterface::Icon icon) {
    switch (messageBoxIcon(icon)) {
        case QMessageBox::Critical:
            return QStyle::SP_MessageBoxCritical;
        case QMessageBox::Warning:
            return QStyle::SP_MessageBoxWarning;
        case QMessageBox::Information:
            return QStyle::SP_MessageBoxInformation;
        case QMessageBox::Question:
            return QStyle::SP_MessageBoxQuestion;
        case QMessageBox::NoIcon:
            break;
    }
    return std::nullopt;
}

QRect availableArea(const QWidget* widget) {
    QScreen* screen =
        widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

bool LongMessageBox::needed(const QString& text, const QFont& font, const QRect& available) {
    // A plain box wraps its text at about 500 pixels.
    const QRect bounds =
        QFontMetrics(font).boundingRect(QRect(0, 0, 500, 1 << 20), Qt::TextWordWrap, text);
    return bounds.height() > available.height() / 2;
}

int LongMessageBox::textWidth(const QSize& available) {
    return std::min(640, available.width() * 8 / 10);
}

QSize LongMessageBox::areaSize(int textHeight, const QSize& available) {
    // Room for the title bar, the buttons and the margins is left, so that
    // the whole box stays on the screen with 確定 in reach.
    const int most = std::max(120, available.height() * 6 / 10);
    return QSize(textWidth(available) + 24, std::clamp(textHeight + 16, 120, most));
}

LongMessageBox::LongMessageBox(QWidget* parent, const QString& title, const QString& text,
                               Icon icon, Buttons buttons, Answer defaultAnswer)
    : QDialog(parent), m_buttons(buttons), m_answer(defaultAnswer) {
    setObjectName(QStringLiteral("LongMessageBox"));
    setWindowTitle(title);
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("icon"));
    if (const auto pixmap = standardPixmap(icon)) {
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        picture->setPixmap(style()->standardIcon(*pixmap, nullptr, this).pixmap(size, size));
    }
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setPlainText(text);
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Like the text of a message box, on the dialog's own background.
    m_text->setBackgroundVisible(false);
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    m_text->setPalette(palette);

    const QSize available = availableArea(parent).size();
    QTextDocument layout;
    layout.setDefaultFont(m_text->font());
    layout.setPlainText(text);
    layout.setTextWidth(textWidth(available));
    m_text->setFixedSize(areaSize(int(layout.size().height()), available));

    auto* box = new QDialogButtonBox(this);
    for (const Answer answer : answersOf(buttons)) {
        QPushButton* button = box->addButton(buttonText(answer), QDialogButtonBox::ActionRole);
        button->setObjectName(QStringLiteral("button_") + answerName(answer));
        button->setAutoDefault(false);
        if (answer == defaultAnswer) {
            button->setDefault(true);
            button->setFocus();
        }
        connect(button, &QPushButton::clicked, this, [this, answer] { answerWith(answer); });
    }

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(m_text, 1);
    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(top);
    layoutBox->addWidget(box);

    // A question that must be answered has no close box.
    makeFixedDialog(this);
    if (buttons == Buttons::YesNo) setWindowFlag(Qt::WindowCloseButtonHint, false);
}

MainWindowInterface::Answer LongMessageBox::ask() {
    exec();
    return m_answer;
}

void LongMessageBox::answerWith(Answer answer) {
    m_answer = answer;
    accept();
}

void LongMessageBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        // Esc as in the plain box: OK for OK only, Cancel where there is one,
        // nothing for a Yes/No question.
        if (m_buttons == Buttons::Ok) answerWith(Answer::Ok);
        if (m_buttons == Buttons::YesNoCancel) answerWith(Answer::Cancel);
        return;
    }
    QDialog::keyPressEvent(event);
}

void LongMessageBox::closeEvent(QCloseEvent* event) {
    if (m_buttons == Buttons::YesNo && event->spontaneous()) {
        event->ignore();
        return;
    }
    if (m_buttons == Buttons::Ok) m_answer = Answer::Ok;
    if (m_buttons == Buttons::YesNoCancel) m_answer = Answer::Cancel;
    QDialog::closeEvent(event);
}

}  // namespace korvex
