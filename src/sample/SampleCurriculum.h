#pragma once

#include <QString>
#include <QVariant>
#include <QVector>
#include <array>

namespace korvex::sample {

// How a subject is weighted over the six exams (考試比例1 to 6: three
// mid-terms, daily work, final exam, and a sixth the school does not use).
enum class WeightKind {
    Core,       // 國英數: every mid-term counts
    Written,    // other written subjects: first and second mid-term
    Once,       // one-hour subjects: only the first mid-term
    Practical,  // no written mid-term: daily work and final only
    None,       // homeroom: no score at all
};

std::array<QVariant, 6> weightsFor(WeightKind kind);

// What a department teaches.
enum class Track {
    General,
    Science,
    Music,
    Art,
    Sports,
    Mechanical,
    Electrical,
    Electronics,
    Computing,
    Business,
    DataProcessing,
    Automotive
};

// One subject of a curriculum. Its code in a given grade and semester is
// built from the stem: a 4-character stem gives the usual 6-character code
// (stem, grade, semester); the school also has older 5-character codes
// (3-character stem) and 7-character codes for flexible-learning courses.
struct SubjectTemplate {
    QString stem;
    QString name;       // 科目中文名 without the grade suffix
    QString shortName;  // 科目簡稱
    WeightKind weights;
    QChar area;             // first letter of the teacher codes of this subject
    int classesPerTeacher;  // how many classes one teacher takes
    bool sevenCharacters = false;
    bool inCatalogue = true;  // false: a new subject not yet in z_course
    bool homeroom = false;    // taught by the class's homeroom teacher

    QString code(int grade, int semester) const;
    // 科目中文名 of that code, e.g. 國文(一上).
    QString fullName(int grade, int semester) const;
};

// The subjects a class of the track takes in a grade; `group` is the class's
// group (類組) for the general and science tracks, "" otherwise.
QVector<SubjectTemplate> curriculum(Track track, int grade, const QString& group);

}  // namespace korvex::sample
