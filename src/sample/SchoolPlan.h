#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <array>
#include <cstdint>
#include <map>

#include "sample/SampleCurriculum.h"
#include "sample/SamplePeople.h"

namespace korvex::sample {

// What kind of sample school to make.
struct SampleOptions {
    int students = 600;       // enrolled students in regular seats
    bool vocational = false;  // a vocational school (class codes from student numbers)
    std::uint64_t seed = 1;
    QString year = QStringLiteral("113");  // current term, as z_system states it
    QString semester = QStringLiteral("1");
};

inline constexpr int kMinimumStudents = 50;
inline constexpr int kMaximumStudents = 20000;

struct Department {
    QString code;          // 科別碼
    QString name;          // 科別中文名 as stored (may carry a trailing blank)
    QString abbreviation;  // used in the classes' 班級簡稱
    Track track = Track::General;
    QString studentCode;   // characters 2 and 3 of its students' 學號
    QChar nameMark;        // middle character of its classes' 班級名稱 (high school)
    double share = 1.0;    // relative size (vocational)
    bool inZDept = true;   // false: an old department only graduates still carry
    bool grouped = false;  // its code begins with 10: classes and students carry groups
    int classesPerGrade = 0;
};

struct SchoolClass {
    int department = 0;
    int grade = 1;
    int number = 1;
    QString code;                       // 班級碼: department + grade + class number
    QString shortName;                  // 班級簡稱
    QString name;                       // 班級名稱: a 3-character code
    QString group;                      // 班級類組
    int size = 0;                       // enrolled students in regular seats
    QVector<int> courses;               // indexes into SchoolPlan::courses
    int previousClass = -1;             // the class its students sat in last term
    QVector<SubjectTemplate> subjects;  // this term's curriculum
};

struct Course {
    int classIndex = 0;
    QString subject;
    QVariant teacher;  // 教師碼; "" or NULL for a course without teacher
    std::array<QVariant, 6> weights;
    SubjectTemplate source;
};

struct Subject {
    QString code;
    QString name;
    QString shortName;
};

struct Teacher {
    QString code;
    QString name;
    QString id;
    QString password;
};

struct Student {
    QString number;  // 學號
    QString department;
    QString grade;
    QString classNumber;
    QString seat;
    QVariant status;  // 在學狀態: "" enrolled, 延修生, 畢業, 轉出 ... or NULL
    QString semester;
    QString name;
    QString sex;
    QString id;
    QString groups;  // 學期類組別
    QVariant area, zipCode, street, parent;
    int classIndex = -1;        // the class whose subjects the student takes this term
    bool takesCourses = false;  // has score rows of this term
    bool regular = false;       // one of the enrolled students asked for
    double ability = 70;        // for last term's scores
};

// The whole sample school in memory, before it is written.
struct SchoolPlan {
    SampleOptions options;
    QVector<Department> departments;
    QVector<SchoolClass> classes;
    QVector<Course> courses;
    std::map<QString, Subject> subjects;  // z_course, by code
    QVector<Teacher> teachers;
    QVector<Student> students;
    QString previousYear;
    QString previousSemester;
    QStringList examNames;  // z_name, six entries; an empty entry is stored as NULL
};

SchoolPlan buildSchoolPlan(const SampleOptions& options);

// The term before the given one ("113","1" -> "112","2").
std::pair<QString, QString> previousTerm(const QString& year, const QString& semester);

}  // namespace korvex::sample
