#include <gtest/gtest.h>
#include <QFile>
#include <QSet>
#include <cmath>

#include "TestFolder.h"
#include "sample/SampleGrading.h"

using namespace korvex;
using korvex::test::TestFolder;

namespace {

// A roster as the roster import leaves it: scores 0, nothing graded, plus
// one row exported before that must not stay untouched.
void fillRoster(const QString& exam, int table, int students, int subjects) {
    QStringList statements{QStringLiteral("BEGIN")};
    for (int s = 0; s < students; ++s) {
        for (int j = 0; j < subjects; ++j) {
            statements << QStringLiteral(
                              "INSERT INTO periodical%1 (sid, class, seat, examno, namec, sub, "
                              "tchno, gro, examsnot, "
                              "score, score1, score2, spec) VALUES ('A1%2', '101', '%3', '101%3', "
                              "'王小明', '01%4011', "
                              "'A001', '04', '0', 0, 0, 0, 0)")
                              .arg(table)
                              .arg(s, 8, 10, QChar(u'0'))
                              .arg(s % 100, 2, 10, QChar(u'0'))
                              .arg(j, 2, 10, QChar(u'0'));
        }
    }
    statements << QStringLiteral("COMMIT");
    TestFolder::run(exam, statements);
}

TEST(SampleGrading, FillsScoresAbsencesAndMarksRowsForExport) {
    TestFolder folder;
    const QString exam = folder.createExam();
    fillRoster(exam, 2, 120, 10);
    fillRoster(exam, 3, 2, 2);
    GradeCounts counts;
    QString error;
    ASSERT_TRUE(gradeSample(folder.path(), 2, 5, &counts, &error)) << error.toStdString();

    EXPECT_EQ(counts.rows, 1200);
    EXPECT_EQ(counts.graded + counts.ungraded, 1200);
    EXPECT_EQ(TestFolder::rows(exam, "SELECT count(*) FROM periodical2 WHERE upload = 1"),
              QStringList{QString::number(counts.graded)});
    // A few answer sheets not read yet: left as the roster import wrote them.
    EXPECT_GT(counts.ungraded, 0);
    EXPECT_LT(counts.ungraded, 60);
    EXPECT_EQ(
        TestFolder::rows(
            exam,
            "SELECT count(*) FROM periodical2 WHERE upload = 0 AND score2 = 0 AND abs IS NULL"),
        QStringList{QString::number(counts.ungraded)});
    // Absent students: abs above 0, score 0.
    EXPECT_GT(counts.absent, 0);
    EXPECT_EQ(TestFolder::rows(exam, "SELECT count(*), max(score2) FROM periodical2 WHERE abs > 0"),
              QStringList{QString::number(counts.absent) + "|0"});
    // Present students: scores from 0 to 100 in half points, some halves,
    // spread out like a real exam, score equal to score2.
    const QStringList scores = TestFolder::rows(
        exam, "SELECT score2, score FROM periodical2 WHERE upload = 1 AND abs = 0");
    ASSERT_EQ(scores.size(), counts.graded - counts.absent);
    int halves = 0;
    QSet<int> distinct;
    double sum = 0;
    for (const QString& row : scores) {
        const double s = row.section(u'|', 0, 0).toDouble();
        ASSERT_EQ(row.section(u'|', 1, 1).toDouble(), s);
        ASSERT_GE(s, 0);
        ASSERT_LE(s, 100);
        ASSERT_EQ(std::fmod(s * 2, 1.0), 0.0) << s;
        if (std::fmod(s, 1.0) != 0) ++halves;
        distinct.insert(int(s));
        sum += s;
    }
    EXPECT_GT(halves, scores.size() / 20);
    EXPECT_GT(distinct.size(), 40);
    EXPECT_GT(sum / scores.size(), 50);
    EXPECT_LT(sum / scores.size(), 85);
    // Other exams' rosters are not touched.
    EXPECT_EQ(
        TestFolder::rows(exam, "SELECT count(*) FROM periodical3 WHERE upload = 0 AND score2 = 0"),
        QStringList{"4"});
}

TEST(SampleGrading, SameSeedSameResultWhateverTheRowOrder) {
    TestFolder a, b;
    const QString first = a.createExam();
    const QString second = b.createExam();
    fillRoster(first, 1, 40, 5);
    fillRoster(second, 1, 40, 5);
    // The same rows in reverse order.
    TestFolder::run(
        second,
        {QStringLiteral("CREATE TABLE copy AS SELECT * FROM periodical1 ORDER BY rowid DESC"),
         QStringLiteral("DELETE FROM periodical1"),
         QStringLiteral("INSERT INTO periodical1 SELECT * FROM copy")});
    ASSERT_TRUE(gradeSample(a.path(), 1, 9));
    ASSERT_TRUE(gradeSample(b.path(), 1, 9));
    const char* result =
        "SELECT sid, sub, score, score2, abs, upload FROM periodical1 ORDER BY sid, sub";
    EXPECT_EQ(TestFolder::rows(first, result), TestFolder::rows(second, result));
    // Another seed grades differently.
    TestFolder::run(
        second,
        {QStringLiteral("UPDATE periodical1 SET score = 0, score2 = 0, abs = NULL, upload = 0")});
    ASSERT_TRUE(gradeSample(b.path(), 1, 10));
    EXPECT_NE(TestFolder::rows(first, result), TestFolder::rows(second, result));
}

TEST(SampleGrading, ClearFailures) {
    TestFolder folder;
    QString error;
    EXPECT_FALSE(gradeSample(folder.path(), 1, 1, nullptr, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("沒有 exam.mdb"))) << error.toStdString();

    const QString exam = folder.createExam();
    EXPECT_FALSE(gradeSample(folder.path(), 7, 1, nullptr, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("1 到 6"))) << error.toStdString();
    // An empty roster is reported, not passed off as graded.
    EXPECT_FALSE(gradeSample(folder.path(), 1, 1, nullptr, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("periodical1"))) << error.toStdString();

    // An Access file cannot be graded here; it is left as it was.
    TestFolder access;
    QFile mdb(access.file(QStringLiteral("Exam.MDB")));
    ASSERT_TRUE(mdb.open(QIODevice::WriteOnly));
    mdb.write(QByteArray("\x00\x01\x00\x00Standard Jet DB", 19));
    mdb.close();
    EXPECT_FALSE(gradeSample(access.path(), 1, 1, nullptr, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("SQLite"))) << error.toStdString();
}

}  // namespace
