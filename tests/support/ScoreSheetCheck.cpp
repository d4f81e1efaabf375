#include "ScoreSheetCheck.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QSet>
#include <cmath>

namespace korvex::test {
namespace {

QString columnLetters(int col) {
    return col < 26 ? QString(QChar(u'A' + col))
                    : QString(QChar(u'A' + col / 26 - 1)) + QChar(u'A' + col % 26);
}

QString at(int row, int col) { return columnLetters(col) + QString::number(row + 1); }

bool unlockedByLayout(int row, int col) {
    if (row == 0) return true;                              // A1:AB1, the title
    if (row == 2 && col >= 22 && col <= 26) return true;    // W3:AA3, the weights
    return row >= 5 && row <= 59 && col >= 1 && col <= 26;  // B6:AA60, names and scores
}

}  // namespace

double shownColumnWidth(int stored, int digitPixels) {
    const int pixels =
        int(std::trunc((stored + std::trunc(128.0 / digitPixels)) / 256.0 * digitPixels));
    return std::trunc((pixels - 5) / double(digitPixels) * 100 + 0.5) / 100;
}

void checkScoreSheet(const XlsReadBack& book, const QString& sheetName,
                     const ExpectedScoreSheet& expected) {
    SCOPED_TRACE(sheetName.toStdString());
    const QJsonObject sheet = book.sheet(sheetName);
    ASSERT_FALSE(sheet.isEmpty()) << "no sheet " << sheetName.toStdString();
    const SheetCells cells(sheet);
    auto xfOf = [&](int r, int c) { return book.xf(cells.xf(r, c)); };
    auto expectText = [&](int r, int c, const QString& text) {
        EXPECT_EQ(cells.type(r, c), 1) << at(r, c).toStdString();
        EXPECT_EQ(cells.text(r, c), text) << at(r, c).toStdString();
    };

    // Texts and numbers of the layout.
    expectText(0, 0, expected.title);
    expectText(1, 0, QStringLiteral("座號"));
    expectText(1, 1, QStringLiteral("姓名"));
    expectText(1, 2, QStringLiteral("日        常        考        查"));
    for (int t = 0; t < 20; ++t) {
        EXPECT_EQ(cells.type(2, 2 + t), 2) << at(2, 2 + t).toStdString();
        EXPECT_EQ(cells.number(2, 2 + t), t + 1);
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(cells.type(2, 22 + i), 2) << at(2, 22 + i).toStdString();
        EXPECT_DOUBLE_EQ(cells.number(2, 22 + i), expected.weights[size_t(i)])
            << at(2, 22 + i).toStdString();
        EXPECT_EQ(xfOf(2, 22 + i).value("format").toString(), QStringLiteral("0%"));
    }
    expectText(3, 22, QStringLiteral("平時"));
    expectText(1, 23, QStringLiteral("期中考查"));
    expectText(3, 23, QStringLiteral("第一"));
    expectText(3, 24, QStringLiteral("第二"));
    expectText(3, 25, QStringLiteral("第三"));
    expectText(1, 26, QStringLiteral("期末"));
    expectText(3, 26, QStringLiteral("期末"));
    expectText(1, 27, QStringLiteral("學期成績"));
    for (int seat = 1; seat <= 55; ++seat) {
        EXPECT_EQ(cells.type(4 + seat, 0), 2) << at(4 + seat, 0).toStdString();
        EXPECT_EQ(cells.number(4 + seat, 0), seat);
    }
    expectText(61, 0,
               QStringLiteral(
                   "(1)學期總成績以整數計算, 四捨五入, 60 分以上請用藍、黑筆，60分以下請用紅筆"));
    expectText(62, 0, QStringLiteral("(2)學期結束時，繳交本表至教務處註冊組"));
    expectText(63, 20, QStringLiteral("擔任教師:"));

    // Names, and nothing else in column B below the heading.
    for (int r = 5; r < 64; ++r) {
        if (expected.names.contains(r)) {
            expectText(r, 1, expected.names.value(r));
            EXPECT_TRUE(xfOf(r, 1).value("prefix").toBool()) << at(r, 1).toStdString();
        } else if (cells.has(r, 1)) {
            EXPECT_NE(cells.type(r, 1), 1)
                << at(r, 1).toStdString() << " " << cells.text(r, 1).toStdString();
        }
    }
    for (auto it = expected.names.begin(); it != expected.names.end(); ++it)
        if (it.key() < 5) expectText(it.key(), 1, it.value());

    // Score cells: empty, whole-number formats, column W its own.
    for (int r = 5; r < 60; ++r)
        for (int c = 2; c <= 26; ++c) {
            EXPECT_NE(cells.type(r, c), 1) << at(r, c).toStdString();
            EXPECT_NE(cells.type(r, c), 2) << at(r, c).toStdString();
            EXPECT_EQ(xfOf(r, c).value("format").toString(),
                      c == 22 ? QStringLiteral("0_);[Red]\\(0\\)") : QStringLiteral("0_ "))
                << at(r, c).toStdString();
        }

    // Semester-score formulas, decompiled by xlrd.
    const QJsonObject formulas = sheet.value("formulas").toObject();
    EXPECT_EQ(formulas.size(), 55);
    for (int r = 5; r < 60; ++r) {
        const QString n = QString::number(r + 1);
        const QString want = QStringLiteral(
                                 "ROUND(ROUND(W%1,0)*W$3+ROUND(X%1,0)*X$3+ROUND(Y%1,0)*Y$3+"
                                 "ROUND(Z%1,0)*Z$3+ROUND(AA%1,0)*AA$3,0)")
                                 .arg(n);
        const QJsonObject f = formulas.value(QStringLiteral("%1,27").arg(r)).toObject();
        // xlrd prints whole-number tokens as floats ("0.0").
        QString text = f.value("text").toString();
        text.replace(QStringLiteral(",0.0)"), QStringLiteral(",0)"));
        EXPECT_EQ(text, want) << at(r, 27).toStdString();
        EXPECT_EQ(f.value("result").toDouble(-1), 0.0);
    }

    // Locked and unlocked cells over the whole block; a cell with no record
    // has the default format, which is locked.
    for (int r = 0; r < 64; ++r)
        for (int c = 0; c < 28; ++c) {
            const bool locked = cells.has(r, c) ? xfOf(r, c).value("locked").toBool() : true;
            EXPECT_EQ(locked, !unlockedByLayout(r, c)) << at(r, c).toStdString();
        }

    // Merges (xlrd: half-open row and column ranges).
    QSet<QString> merges;
    for (const QJsonValue m : sheet.value("merges").toArray()) {
        const QJsonArray a = m.toArray();
        merges << QStringLiteral("%1:%2").arg(at(a[0].toInt(), a[2].toInt()),
                                              at(a[1].toInt() - 1, a[3].toInt() - 1));
    }
    QSet<QString> wanted = {"A1:AB1", "A2:A5", "B2:B5", "C2:W2",   "W4:W5",  "X2:Z2",
                            "X4:X5",  "Y4:Y5", "Z4:Z5", "AA4:AA5", "AB2:AB5"};
    for (int c = 2; c <= 21; ++c) wanted << QStringLiteral("%1:%2").arg(at(2, c), at(4, c));
    EXPECT_EQ(merges, wanted);

    // Column widths as Excel shows them, with the 8-pixel digit of the
    // default font.
    const QJsonObject widths = sheet.value("widths").toObject();
    for (int c = 0; c < 28; ++c) {
        const double want = c == 0    ? 2.75
                            : c == 1  ? 9.5
                            : c == 2  ? 4
                            : c <= 21 ? 3.75
                            : c <= 26 ? 4.88
                                      : 5.75;
        ASSERT_TRUE(widths.contains(QString::number(c))) << columnLetters(c).toStdString();
        EXPECT_DOUBLE_EQ(shownColumnWidth(widths.value(QString::number(c)).toInt(), 8), want)
            << columnLetters(c).toStdString();
    }

    // Page setup: margins given to Excel in points, kept in inches; centred,
    // fitted to one page, A4 with the paper size in force.
    const QJsonObject rec = sheet.value("records").toObject();
    EXPECT_DOUBLE_EQ(rec.value("top").toDouble(), 1 / 72.0);
    EXPECT_DOUBLE_EQ(rec.value("bottom").toDouble(), 1 / 72.0);
    EXPECT_DOUBLE_EQ(rec.value("left").toDouble(), 0.8 / 72.0);
    EXPECT_DOUBLE_EQ(rec.value("right").toDouble(), 0.8 / 72.0);
    EXPECT_EQ(rec.value("hcenter").toInt(), 1);
    EXPECT_EQ(rec.value("vcenter").toInt(), 1);
    EXPECT_TRUE(rec.value("wsbool").toInt() & 0x0100);
    const QJsonObject setup = rec.value("setup").toObject();
    EXPECT_EQ(setup.value("paper").toInt(), 9);
    EXPECT_EQ(setup.value("fitWidth").toInt(), 1);
    EXPECT_EQ(setup.value("fitHeight").toInt(), 1);
    EXPECT_EQ(setup.value("flags").toInt() & 0x0004, 0);
    EXPECT_DOUBLE_EQ(setup.value("header").toDouble(), 1 / 72.0);
    EXPECT_DOUBLE_EQ(setup.value("footer").toDouble(), 1 / 72.0);

    // Protection with the password "305172".
    EXPECT_EQ(rec.value("protect").toInt(), 1);
    EXPECT_EQ(rec.value("objprotect").toInt(), 1);
    EXPECT_EQ(rec.value("scenprotect").toInt(), 1);
    EXPECT_EQ(rec.value("password").toInt(), 0xC633);
}

}  // namespace korvex::test
