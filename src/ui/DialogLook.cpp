#include "ui/DialogLook.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <algorithm>

namespace korvex {

namespace {

// Centres the dialog whenever it is about to appear: by then its size is
// known, and the move comes before the window system places it.
class CentreOnShow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            centreWindow(static_cast<QWidget*>(watched));
        return QObject::eventFilter(watched, event);
    }
};

QScreen* screenOf(const QWidget* window) {
    if (window && window->screen()) return window->screen();
    return QGuiApplication::primaryScreen();
}

}  // namespace

QPoint centredPosition(QSize size, const QRect& anchor, const QRect& available) {
    QPoint topLeft(anchor.left() + (anchor.width() - size.width()) / 2,
                   anchor.top() + (anchor.height() - size.height()) / 2);
    if (available.isValid()) {
        // Inside the free area: right and bottom first, then left and top,
        // so that the title bar stays reachable when it does not fit.
        topLeft.setX(std::min(topLeft.x(), available.right() + 1 - size.width()));
        topLeft.setY(std::min(topLeft.y(), available.bottom() + 1 - size.height()));
        topLeft.setX(std::max(topLeft.x(), available.left()));
        topLeft.setY(std::max(topLeft.y(), available.top()));
    }
    return topLeft;
}

void centreWindow(QWidget* window) {
    QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    QScreen* screen = screenOf(owner ? owner : window);
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QRect anchor = owner && owner->isVisible() ? owner->frameGeometry() : available;
    if (!anchor.isValid()) return;
    // A window's position is its frame's; before it first shows, the frame
    // is not known and counts as its size alone (a few pixels off at most).
    window->move(centredPosition(window->frameSize(), anchor, available));
}

void makeFixedDialog(QDialog* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    if (QLayout* layout = dialog->layout()) layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog->installEventFilter(new CentreOnShow(dialog));
}

}  // namespace korvex
