#include "ModalDriver.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>

namespace korvex::test {

ModalDriver::ModalDriver() {
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
    m_timer.start();
}

ModalDriver::~ModalDriver() { m_timer.stop(); }

void ModalDriver::expect(const QString& objectName, Action action) {
    m_steps.push_back({objectName, std::move(action)});
}

void ModalDriver::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal->property("modalDriverSeen").toBool()) return;
    modal->setProperty("modalDriverSeen", true);
    if (!m_steps.empty() && m_steps.front().name == modal->objectName()) {
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        handled << step.name;
        step.action(modal);
        return;
    }
    unexpected << modal->objectName();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
}

void setText(QWidget* dialog, const QString& lineEditName, const QString& text) {
    auto* box = dialog->findChild<QLineEdit*>(lineEditName);
    ASSERT_NE(box, nullptr) << lineEditName.toStdString();
    box->setText(text);
}

void click(QWidget* dialog, const QString& buttonName) {
    auto* button = dialog->findChild<QAbstractButton*>(buttonName);
    ASSERT_NE(button, nullptr) << buttonName.toStdString();
    button->click();
}

}  // namespace korvex::test
