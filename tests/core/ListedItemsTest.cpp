#include <gtest/gtest.h>

#include "core/ListedItems.h"

using namespace korvex;

namespace {

TEST(ListedItems, NamesTheFirstTwentyAndCountsTheRest) {
    ListedItems few;
    few.add(QStringLiteral("a"));
    few.add(QStringLiteral("b"));
    EXPECT_EQ(few.text(QStringLiteral(", "), QStringLiteral("位")), QStringLiteral("a, b"));

    ListedItems many;
    for (int i = 1; i <= 23; ++i) many.add(QString::number(i));
    EXPECT_EQ(many.count(), 23);
    EXPECT_EQ(many.listed().size(), ListedItems::kListed);
    const QString text = many.text(QStringLiteral("\n"), QStringLiteral("項"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("1\n2\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n20\n…其餘 3 項未列出"))) << text.toStdString();
    EXPECT_TRUE(ListedItems().isEmpty());
}

}  // namespace
