#include "sample/SchoolPlan.h"

#include <algorithm>
#include <cmath>

#include "core/ValueRules.h"

namespace korvex::sample {
namespace {

const QString kNumerals = QStringLiteral("一二三");
const QString kStems = QStringLiteral("甲乙丙丁戊己庚辛壬");

Department department(const char16_t* code, const char16_t* name, const char16_t* abbreviation,
                      Track track, const char16_t* studentCode, QChar mark, double share = 1.0) {
    Department d;
    d.code = QString::fromUtf16(code);
    d.name = QString::fromUtf16(name);
    d.abbreviation = QString::fromUtf16(abbreviation);
    d.track = track;
    d.studentCode = QString::fromUtf16(studentCode);
    d.nameMark = mark;
    d.share = share;
    d.grouped = d.code.startsWith(QLatin1String("10"));
    return d;
}

// A high school: the general department 101 with its groups, a science
// class (102, also grouped), three talent classes, a dance department that
// has no students any more, and the language class 105 that was closed:
// only its graduates still carry its code, and z_dept no longer lists it.
// Student numbers carry the number the departments get when they are
// numbered in code order.
QVector<Department> highSchoolDepartments() {
    QVector<Department> list{
        department(u"101", u"普通科", u"普", Track::General, u"10", u'0'),
        department(u"102", u"數理資優班", u"數資", Track::Science, u"11", u'S'),
        department(u"105", u"語文資優班", u"語資", Track::General, u"12", u'L'),
        department(u"201", u"音樂班", u"音樂", Track::Music, u"13", u'M'),
        department(u"301", u"美術班", u"美術", Track::Art, u"14", u'A'),
        department(u"401", u"體育班 ", u"體育", Track::Sports, u"15", u'P'),
        department(u"501", u"舞蹈班", u"舞蹈", Track::Art, u"16", u'D', 0.0),
    };
    list[2].inZDept = false;
    return list;
}

// A vocational school: its student numbers carry the department's short
// code in their 2nd and 3rd characters. A01 (a practical programme whose code
// is not a number) gets the code after the last numeric department's.
QVector<Department> vocationalDepartments() {
    QVector<Department> list{
        department(u"101", u"普通科", u"普", Track::General, u"08", u'8', 1.0),
        department(u"301", u"機械科", u"機", Track::Mechanical, u"01", u'1', 1.5),
        department(u"302", u"電機科", u"電", Track::Electrical, u"02", u'2', 1.0),
        department(u"303", u"電子科", u"子", Track::Electronics, u"03", u'3', 1.0),
        department(u"304", u"資訊科", u"資", Track::Computing, u"04", u'4', 1.5),
        department(u"305", u"化工科", u"化", Track::Mechanical, u"09", u'9', 0.0),
        department(u"306", u"板金科", u"板", Track::Mechanical, u"09", u'9', 0.0),
        department(u"401", u"商業經營科", u"商", Track::Business, u"05", u'5', 1.0),
        department(u"402", u"資料處理科 ", u"處", Track::DataProcessing, u"06", u'6', 1.0),
        department(u"A01", u"汽車修護科(實用技能學程)", u"汽", Track::Automotive, u"07", u'7', 0.5),
    };
    list[6].inZDept = false;
    return list;
}

int indexOf(const QVector<Department>& list, const QString& code) {
    for (int i = 0; i < list.size(); ++i)
        if (list[i].code == code) return i;
    return -1;
}

// Splits `total` into `parts` nearly equal whole numbers, the larger first.
QVector<int> split(int total, int parts) {
    QVector<int> sizes(parts, total / parts);
    for (int i = 0; i < total % parts; ++i) ++sizes[i];
    return sizes;
}

class PlanBuilder {
public:
    explicit PlanBuilder(const SampleOptions& options)
        : m_random(options.seed * 0x2545F4914F6CDD1DULL + 0x51ED27ULL) {
        m_plan.options = options;
        const auto [year, semester] = previousTerm(options.year, options.semester);
        m_plan.previousYear = year;
        m_plan.previousSemester = semester;
        m_semester = options.semester == QLatin1String("2") ? 2 : 1;
        m_year = int(leadingNumber(options.year));
    }

    SchoolPlan build() {
        m_plan.departments =
            m_plan.options.vocational ? vocationalDepartments() : highSchoolDepartments();
        planClasses();
        planCourses();
        planTeachers();
        planStudents();
        m_plan.examNames = {QStringLiteral("第一次期中考"), QStringLiteral("第二次期中考"),
                            QStringLiteral("第三次期中考"), QStringLiteral("平時成績"),
                            QStringLiteral("期末考"),       QString()};
        return std::move(m_plan);
    }

private:
    Department& dept(int index) { return m_plan.departments[index]; }

    // Departments that have classes this term, in code order.
    QVector<int> teachingDepartments() const {
        QVector<int> list;
        for (int i = 0; i < m_plan.departments.size(); ++i) {
            const Department& d = m_plan.departments[i];
            if (d.inZDept && d.share > 0) list << i;
        }
        return list;
    }

    void planClasses() {
        const int students = m_plan.options.students;
        const QVector<int> grades = split(students, 3);  // grade 1 takes the remainder
        const QVector<int> depts = teachingDepartments();
        SampleRandom random = m_random.fork(1);
        for (int grade = 1; grade <= 3; ++grade) {
            const int perGrade = grades[grade - 1];
            QVector<int> classCounts;
            if (m_plan.options.vocational) {
                double shares = 0;
                for (int d : depts) shares += dept(d).share;
                for (int d : depts) {
                    const double wanted = perGrade * dept(d).share / shares / 36.0;
                    classCounts << std::clamp(int(std::lround(wanted)), 1, 9);
                }
            } else {
                // One class per grade for each special department, the
                // general department takes the rest.
                const int total = std::clamp(int(std::lround(perGrade / 35.0)), 7, 99);
                for (int d : depts)
                    classCounts << (dept(d).code == QLatin1String("101") ? total - 4 : 1);
            }
            int classTotal = 0;
            for (int c : classCounts) classTotal += c;
            const QVector<int> sizes = split(perGrade, classTotal);
            int sizeIndex = 0;
            for (int k = 0; k < depts.size(); ++k) {
                const int d = depts[k];
                dept(d).classesPerGrade = classCounts[k];
                for (int number = 1; number <= classCounts[k]; ++number) {
                    SchoolClass c;
                    c.department = d;
                    c.grade = grade;
                    c.number = number;
                    c.size = sizes[sizeIndex++];
                    c.code = dept(d).code + QString::number(grade) + zeroPadded(number, 2);
                    c.group = classGroup(d, grade, number, classCounts[k]);
                    c.name = className(d, grade, number);
                    c.shortName = classShortName(d, grade, number);
                    // Char columns of the school database sometimes come
                    // back padded.
                    if (random.chance(0.08)) c.shortName += u' ';
                    c.subjects = curriculum(dept(d).track, grade, c.group);
                    m_plan.classes << c;
                }
            }
        }
        // Last term's class of each class: the class of the grade below
        // with the same number in a first semester, the same class in a
        // second one.
        for (SchoolClass& c : m_plan.classes) {
            const int grade = m_semester == 1 ? c.grade - 1 : c.grade;
            if (grade < 1) continue;
            int fallback = -1;
            for (int i = 0; i < m_plan.classes.size(); ++i) {
                const SchoolClass& p = m_plan.classes[i];
                if (p.department != c.department || p.grade != grade) continue;
                if (fallback < 0) fallback = i;
                if (p.number == c.number) {
                    fallback = i;
                    break;
                }
            }
            c.previousClass = fallback;
        }
    }

    QString classGroup(int d, int grade, int number, int count) const {
        const Department& department = m_plan.departments[d];
        if (department.track == Track::Science) return grade == 1 ? QString() : QStringLiteral("2");
        if (!department.grouped) return QString();
        // General classes: not yet divided in grade 1 (group 4); from grade 2
        // on the first classes are group 1, then group 2, the last ones group 3.
        if (grade == 1) return QStringLiteral("4");
        const int third = count >= 3 ? std::max(1, count / 8) : 0;
        const int first = std::max(1, int(std::lround(count * 0.4)));
        if (number <= first) return QStringLiteral("1");
        if (number > count - third) return QStringLiteral("3");
        return QStringLiteral("2");
    }

    // 班級名稱 is the 3-character code the grading program knows the class
    // by in high-school mode: grade and class number for the general
    // department, grade, a letter and the class number for the others. In a
    // vocational school it is grade, the department's digit and the class's
    // digit, the same code the short-code rules build from the student numbers.
    QString className(int d, int grade, int number) const {
        const Department& department = m_plan.departments[d];
        if (m_plan.options.vocational)
            return QString::number(grade) + department.studentCode.at(1) +
                   QString::number(number % 10);
        if (department.code == QLatin1String("101"))
            return QString::number(grade) + zeroPadded(number, 2);
        return QString::number(grade) + department.nameMark + QString::number(number % 10);
    }

    QString classShortName(int d, int grade, int number) const {
        const Department& department = m_plan.departments[d];
        const QChar numeral = kNumerals.at(grade - 1);
        if (m_plan.options.vocational)
            return department.abbreviation + numeral + kStems.at((number - 1) % kStems.size());
        if (department.code == QLatin1String("101"))
            return QString(numeral) + u'年' + zeroPadded(number, 2) + u'班';
        return department.abbreviation + numeral;
    }

    void planCourses() {
        for (int i = 0; i < m_plan.classes.size(); ++i) {
            SchoolClass& c = m_plan.classes[i];
            for (const SubjectTemplate& t : c.subjects) {
                Course course;
                course.classIndex = i;
                course.subject = t.code(c.grade, m_semester);
                course.weights = weightsFor(t.weights);
                course.source = t;
                // Weights nobody has filled in yet: the first-grade sports or
                // workshop class's practical course, and the project course's
                // unused sixth weight.
                if ((t.stem == QLatin1String("2222") || t.stem == QLatin1String("5013")) &&
                    c.grade == 1)
                    course.weights.fill(QVariant());
                if (!t.inCatalogue) course.weights[5] = QVariant();
                c.courses << int(m_plan.courses.size());
                m_plan.courses << course;
            }
        }
        // The catalogue holds every subject of every grade and both semesters.
        for (const Department& d : m_plan.departments) {
            if (!d.inZDept) continue;
            for (int grade = 1; grade <= 3; ++grade) {
                for (const QString& group :
                     {QString(), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("4")}) {
                    for (const SubjectTemplate& t : curriculum(d.track, grade, group)) {
                        if (!t.inCatalogue) continue;
                        for (int semester = 1; semester <= 2; ++semester) {
                            const QString code = t.code(grade, semester);
                            m_plan.subjects.emplace(
                                code, Subject{code, t.fullName(grade, semester), t.shortName});
                        }
                    }
                }
            }
        }
    }

    void planTeachers() {
        SampleRandom random = m_random.fork(2);
        SamplePeople people(random.fork(1));
        // Courses by subject, within a subject by grade and class, so that a
        // teacher takes neighbouring classes of one grade.
        std::map<QString, QVector<int>> bySubject;
        for (int i = 0; i < m_plan.courses.size(); ++i) {
            const Course& course = m_plan.courses[i];
            if (course.source.homeroom) continue;
            bySubject[course.source.area + course.source.stem] << i;
        }
        std::map<QChar, int> numbers;
        for (auto& [key, courseIndexes] : bySubject) {
            std::stable_sort(courseIndexes.begin(), courseIndexes.end(), [&](int a, int b) {
                const SchoolClass& ca = m_plan.classes[m_plan.courses[a].classIndex];
                const SchoolClass& cb = m_plan.classes[m_plan.courses[b].classIndex];
                return ca.grade != cb.grade ? ca.grade < cb.grade : a < b;
            });
            const QChar area = key.at(0);
            const int perTeacher = m_plan.courses[courseIndexes.first()].source.classesPerTeacher;
            QString code;
            for (int k = 0; k < courseIndexes.size(); ++k) {
                if (k % perTeacher == 0) code = addTeacher(people, area, numbers);
                m_plan.courses[courseIndexes[k]].teacher = code;
            }
        }
        // About one course in fifty has no teacher yet: mostly an empty
        // code, sometimes NULL, once only blanks.
        int blanks = 0;
        for (Course& course : m_plan.courses) {
            if (course.source.homeroom || !random.chance(0.02)) continue;
            if (blanks++ == 2)
                course.teacher = QStringLiteral("   ");
            else
                course.teacher = random.chance(0.25) ? QVariant() : QVariant(QString());
        }
        // The homeroom is the Chinese teacher's.
        for (SchoolClass& c : m_plan.classes) {
            QVariant homeroomTeacher;
            for (int i : c.courses)
                if (m_plan.courses[i].source.stem == QLatin1String("0101"))
                    homeroomTeacher = m_plan.courses[i].teacher;
            for (int i : c.courses)
                if (m_plan.courses[i].source.homeroom) m_plan.courses[i].teacher = homeroomTeacher;
        }
        // Staff without courses, and a teacher on leave.
        for (int i = 0; i < 4; ++i) addTeacher(people, u'S', numbers);
        addTeacher(people, u'B', numbers);
    }

    QString addTeacher(SamplePeople& people, QChar area, std::map<QChar, int>& numbers) {
        const bool male = people.random().chance(0.45);
        Teacher t;
        t.code = area + zeroPadded(++numbers[area], 3);
        t.name = people.personName(male);
        t.id = people.nationalId(male);
        static const QString characters = QStringLiteral("abcdefghjkmnpqrstuvwxyz23456789");
        for (int i = 0; i < 6; ++i)
            t.password += characters.at(people.random().between(0, int(characters.size()) - 1));
        m_plan.teachers << t;
        return t.code;
    }

    // --- students

    QString studentNumber(int entryYear, const Department& department) {
        const QString key = QString::number(((entryYear % 10) + 10) % 10) + department.studentCode;
        return key + zeroPadded(++m_serials[key], 4);
    }

    // One group digit per semester of the student's career up to this term.
    QString groupString(const Department& department, const SchoolClass* c, int grade,
                        int semester) {
        const int terms = 2 * (grade - 1) + semester;
        if (!department.grouped)
            return m_plan.options.vocational ? QString() : QString(terms, u'0');
        QString groups;
        const QString later = c ? c->group : QStringLiteral("2");
        for (int p = 1; p <= terms; ++p) {
            const int g = (p + 1) / 2;
            if (department.track == Track::Science)
                groups += g == 1 ? u'0' : u'2';
            else
                groups += g == 1 ? u'4' : (later.isEmpty() ? u'0' : later.at(0));
        }
        return groups;
    }

    Student person(SamplePeople& people, const Department& department, double maleShare) {
        Student s;
        const bool male = people.random().chance(maleShare);
        s.sex = male ? QStringLiteral("1") : QStringLiteral("2");
        s.name = people.personName(male);
        if (people.random().chance(0.03)) s.name += u' ';
        s.id = people.nationalId(male);
        s.department = department.code;
        s.semester = m_plan.options.semester;
        s.status = QStringLiteral("");
        const Address address = people.address();
        if (people.random().chance(0.005)) {
            s.area = s.zipCode = s.street = QVariant();
        } else {
            s.area = address.area;
            s.zipCode = address.zipCode;
            s.street = people.random().chance(0.03) ? address.street + u' ' : address.street;
        }
        const QString surname = s.name.left(s.name.size() >= 4 ? 2 : 1);
        const double r = people.random().unit();
        if (r < 0.02)
            s.parent = QVariant();
        else if (r < 0.15)
            s.parent = people.personName(false);
        else
            s.parent =
                people.personName(true, surname) + (r > 0.97 ? QStringLiteral(" ") : QString());
        s.ability = std::clamp(72.0 + 12.0 * people.random().normal(), 20.0, 99.0);
        return s;
    }

    static double maleShare(Track track) {
        switch (track) {
            case Track::Mechanical:
            case Track::Electrical:
            case Track::Automotive:
                return 0.9;
            case Track::Electronics:
            case Track::Computing:
                return 0.75;
            case Track::Business:
            case Track::DataProcessing:
            case Track::Music:
            case Track::Art:
                return 0.3;
            default:
                return 0.5;
        }
    }

    Student placed(SamplePeople& people, int classIndex, int seat, int entryYear) {
        const SchoolClass& c = m_plan.classes[classIndex];
        const Department& d = m_plan.departments[c.department];
        Student s = person(people, d, maleShare(d.track));
        s.number = studentNumber(entryYear, d);
        s.grade = QString::number(c.grade);
        s.classNumber = zeroPadded(c.number, 2);
        s.seat = zeroPadded(seat, 2);
        s.groups = groupString(d, &c, c.grade, m_semester);
        s.classIndex = classIndex;
        return s;
    }

    void planStudents() {
        SampleRandom random = m_random.fork(3);
        SamplePeople people(random.fork(1));
        static const QStringList leftStatuses{QStringLiteral("轉出"), QStringLiteral("轉出"),
                                              QStringLiteral("休學"), QStringLiteral("休學"),
                                              QStringLiteral("退學")};
        int grade3Seen = 0;
        int graduatesPlaced = 0;
        QVector<int> lastSeat(m_plan.classes.size(), 0);
        for (int ci = 0; ci < m_plan.classes.size(); ++ci) {
            const SchoolClass& c = m_plan.classes[ci];
            const Department& d = m_plan.departments[c.department];
            const int entryYear = m_year - (c.grade - 1);
            int seat = 0;
            for (int enrolled = 0; enrolled < c.size;) {
                ++seat;
                Student s = placed(people, ci, seat, entryYear);
                if (random.chance(0.012)) {
                    // Left the school: keeps the seat it had, takes no courses.
                    s.status = random.pick(leftStatuses);
                } else {
                    s.regular = true;
                    s.takesCourses = true;
                    ++enrolled;
                    groupOddities(random, s, d, c);
                }
                m_plan.students << s;
            }
            if (c.grade == 3) {
                // Students on extended study sit after the class's last seat
                // and retake the class's subjects.
                const int extended = grade3Seen++ == 0 ? 1 : random.between(0, 2) / 2;
                for (int k = 0; k < extended; ++k) {
                    Student s = placed(people, ci, ++seat, m_year - 3);
                    s.status = QStringLiteral("延修生");
                    s.takesCourses = true;
                    m_plan.students << s;
                }
                // Two students who finished this term: still listed with a
                // seat, no courses.
                if (graduatesPlaced < 2) {
                    Student s = placed(people, ci, ++seat, m_year - 3);
                    s.status = QStringLiteral("畢業");
                    m_plan.students << s;
                    ++graduatesPlaced;
                }
            }
            lastSeat[ci] = seat;
        }
        addOddStudents(people, lastSeat);
        addLastYearsGraduates(people);
    }

    // A few general students whose group string is not what the class says:
    // this term's digit not filled in yet, a transfer student whose string
    // starts only this term, and one with no string at all.
    void groupOddities(SampleRandom& random, Student& s, const Department& d,
                       const SchoolClass& c) {
        if (!d.grouped || d.track != Track::General || c.grade == 1) return;
        const double r = random.unit();
        if (r < 0.01)
            s.groups[s.groups.size() - 1] = u'0';
        else if (r < 0.02)
            s.groups = c.group;
        else if (r < 0.023)
            s.groups.clear();
    }

    int firstClass(int department, int grade) const {
        for (int i = 0; i < m_plan.classes.size(); ++i)
            if (m_plan.classes[i].department == department && m_plan.classes[i].grade == grade)
                return i;
        return -1;
    }

    void addOddStudents(SamplePeople& people, const QVector<int>& lastSeat) {
        const int mainDept = indexOf(m_plan.departments, QStringLiteral("101"));
        const int otherDept =
            indexOf(m_plan.departments,
                    m_plan.options.vocational ? QStringLiteral("302") : QStringLiteral("201"));
        // Two students whose classes z_class does not list, with the same seat.
        for (const auto& [d, grade] : {std::pair{mainDept, 2}, std::pair{otherDept, 1}}) {
            const int ci = firstClass(d, grade);
            Student s = placed(people, ci, 7, m_year - (grade - 1));
            s.classNumber = zeroPadded(m_plan.departments[d].classesPerGrade + 1, 2);
            s.classIndex = -1;
            m_plan.students << s;
        }
        // A transfer student given a seat that is already taken.
        {
            const int ci = firstClass(mainDept, 2);
            Student s = placed(people, ci, std::min(5, m_plan.classes[ci].size), m_year - 1);
            s.takesCourses = true;
            s.groups = m_plan.classes[ci].group;
            m_plan.students << s;
        }
        // Newly enrolled students without a seat yet: two already take their
        // class's courses, one has no class either.
        for (int grade = 1; grade <= 2; ++grade) {
            Student s = placed(people, firstClass(mainDept, grade), 0, m_year - (grade - 1));
            s.takesCourses = true;
            m_plan.students << s;
        }
        {
            Student s = placed(people, firstClass(mainDept, 1), 0, m_year);
            s.classNumber = QStringLiteral("00");
            s.classIndex = -1;
            m_plan.students << s;
        }
        // One student of each way of leaving, after the last seat of a class.
        int k = 0;
        for (const QString& status :
             {QStringLiteral("轉出"), QStringLiteral("休學"), QStringLiteral("退學")}) {
            const int ci = (k++ * 7) % int(m_plan.classes.size());
            const SchoolClass& c = m_plan.classes[ci];
            Student s = placed(people, ci, lastSeat[ci] + k, m_year - (c.grade - 1));
            s.status = status;
            m_plan.students << s;
        }
        // A record whose status was never filled in (NULL).
        {
            const int ci = firstClass(mainDept, 2) + 1 < m_plan.classes.size()
                               ? firstClass(mainDept, 2) + 1
                               : firstClass(mainDept, 2);
            Student s = placed(people, ci, lastSeat[ci] + 4, m_year - 1);
            s.status = QVariant();
            s.classIndex = -1;
            m_plan.students << s;
        }
    }

    // Last year's third grade, graduated in the second semester: the same
    // class codes as this year's third grade, plus one class of a
    // department that has been closed since.
    void addLastYearsGraduates(SamplePeople& people) {
        const int entryYear = m_year - 3;
        const auto graduate = [&](Student& s) {
            s.status = QStringLiteral("畢業");
            s.semester = QStringLiteral("2");
            s.classIndex = -1;
            s.takesCourses = false;
        };
        for (int ci = 0; ci < m_plan.classes.size(); ++ci) {
            const SchoolClass& c = m_plan.classes[ci];
            if (c.grade != 3) continue;
            const Department& d = m_plan.departments[c.department];
            for (int seat = 1; seat <= c.size; ++seat) {
                Student s = person(people, d, maleShare(d.track));
                s.number = studentNumber(entryYear, d);
                s.grade = QStringLiteral("3");
                s.classNumber = zeroPadded(c.number, 2);
                s.seat = zeroPadded(seat, 2);
                s.groups = groupString(d, &c, 3, 2);
                graduate(s);
                m_plan.students << s;
            }
        }
        for (const Department& d : m_plan.departments) {
            if (d.inZDept) continue;
            for (int seat = 1; seat <= 30; ++seat) {
                Student s = person(people, d, maleShare(d.track));
                s.number = studentNumber(entryYear, d);
                s.grade = QStringLiteral("3");
                s.classNumber = QStringLiteral("01");
                s.seat = zeroPadded(seat, 2);
                s.groups = groupString(d, nullptr, 3, 2);
                graduate(s);
                m_plan.students << s;
            }
        }
    }

    SchoolPlan m_plan;
    SampleRandom m_random;
    int m_semester = 1;
    int m_year = 113;
    std::map<QString, int> m_serials;
};

}  // namespace

std::pair<QString, QString> previousTerm(const QString& year, const QString& semester) {
    if (semester.trimmed() == QLatin1String("2")) return {year, QStringLiteral("1")};
    return {QString::number(int(leadingNumber(year)) - 1), QStringLiteral("2")};
}

SchoolPlan buildSchoolPlan(const SampleOptions& options) { return PlanBuilder(options).build(); }

}  // namespace korvex::sample
