#include <gtest/gtest.h>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <cmath>

#include "ui/MainWindow.h"
#include "ui/MessageBox.h"

using namespace korvex;

namespace {

double luminance(QRgb rgb) {
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

// The contrast between the darkest pixel of a picture of text (the
// letters) and its most common pixel (the background), as WCAG defines it.
double textContrast(const QImage& image) {
    QHash<QRgb, int> counts;
    QRgb darkest = qRgb(255, 255, 255);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            ++counts[pixel];
            if (luminance(pixel) < luminance(darkest)) darkest = pixel;
        }
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    const double a = luminance(background), b = luminance(darkest);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

}  // namespace

// While an operation runs the menus and the window's contents are disabled,
// but the busy display is drawn in its normal colours so that it can be
// read, and its first figure shows as soon as the range is known.
TEST(MainWindow, BusyDisplayStaysReadableWhileTheWindowIsDisabled) {
    MessageBox::Script boxes;
    MainWindow window;
    window.show();
    auto* label = window.findChild<QLabel*>(QStringLiteral("MsgLbl"));
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    auto* banner = window.findChild<QLabel*>(QStringLiteral("Image1"));
    auto* version = window.findChild<QLabel*>(QStringLiteral("Label1"));

    window.setWindowEnabled(false);
    window.showBusy();
    window.setBusyRange(38399);
    // At once, without a step and without the event loop.
    EXPECT_EQ(label->text(), QStringLiteral("000000/038399"));
    window.stepBusy(3022);
    window.message(QStringLiteral("midway"), MainWindowInterface::Icon::None);
    EXPECT_EQ(label->text(), QStringLiteral("003022/038399"));

    EXPECT_FALSE(window.menuBar()->isEnabled());
    EXPECT_FALSE(banner->isEnabled());
    EXPECT_FALSE(version->isEnabled());
    EXPECT_TRUE(label->isEnabled());
    EXPECT_TRUE(bar->isEnabled());
    // Painted with the active text colour, not the disabled one.
    const QPalette palette = label->palette();
    ASSERT_NE(palette.color(QPalette::Disabled, QPalette::WindowText),
              palette.color(QPalette::Active, QPalette::WindowText));
    const double contrast = textContrast(label->grab().toImage());
    EXPECT_GE(contrast, 7.0) << "contrast " << contrast;

    window.endBusy();
    window.setWindowEnabled(true);
    EXPECT_TRUE(banner->isEnabled());
    EXPECT_TRUE(window.menuBar()->isEnabled());
}
