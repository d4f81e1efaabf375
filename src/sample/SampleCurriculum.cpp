#include "sample/SampleCurriculum.h"

namespace korvex::sample {
namespace {

using W = WeightKind;

SubjectTemplate subject(const char16_t* stem, const char16_t* name, const char16_t* shortName,
                        WeightKind weights, char area, int perTeacher) {
    SubjectTemplate s;
    s.stem = QString::fromUtf16(stem);
    s.name = QString::fromUtf16(name);
    s.shortName = QString::fromUtf16(shortName);
    s.weights = weights;
    s.area = QChar(area);
    s.classesPerTeacher = perTeacher;
    return s;
}

SubjectTemplate chinese() { return subject(u"0101", u"國文", u"國文", W::Core, 'A', 4); }
SubjectTemplate english() { return subject(u"0201", u"英文", u"英文", W::Core, 'B', 4); }
SubjectTemplate maths() { return subject(u"0301", u"數學", u"數學", W::Core, 'C', 4); }
SubjectTemplate mathsB() { return subject(u"0302", u"數學乙", u"數乙", W::Core, 'C', 4); }
SubjectTemplate mathsA() { return subject(u"0303", u"數學甲", u"數甲", W::Core, 'C', 4); }
SubjectTemplate physics() { return subject(u"0401", u"物理", u"物理", W::Written, 'D', 8); }
SubjectTemplate chemistry() { return subject(u"0501", u"化學", u"化學", W::Written, 'D', 8); }
SubjectTemplate biology() { return subject(u"0601", u"生物", u"生物", W::Written, 'D', 8); }
SubjectTemplate earth() { return subject(u"0701", u"地球科學", u"地科", W::Written, 'D', 10); }
SubjectTemplate history() { return subject(u"0801", u"歷史", u"歷史", W::Written, 'E', 8); }
SubjectTemplate geography() { return subject(u"0901", u"地理", u"地理", W::Written, 'E', 8); }
SubjectTemplate civics() { return subject(u"1001", u"公民與社會", u"公民", W::Written, 'E', 8); }
SubjectTemplate computing() { return subject(u"1101", u"資訊科技", u"資訊", W::Once, 'G', 12); }
SubjectTemplate defence() { return subject(u"1201", u"全民國防教育", u"國防", W::Once, 'G', 16); }
SubjectTemplate sport() { return subject(u"1301", u"體育", u"體育", W::Practical, 'F', 8); }
SubjectTemplate music() { return subject(u"1401", u"音樂", u"音樂", W::Practical, 'F', 14); }
SubjectTemplate arts() { return subject(u"1501", u"美術", u"美術", W::Practical, 'F', 14); }
SubjectTemplate technology() {
    return subject(u"1601", u"生活科技", u"生科", W::Practical, 'F', 14);
}
SubjectTemplate health() { return subject(u"1701", u"健康與護理", u"健護", W::Practical, 'F', 14); }
SubjectTemplate classicsReading() {
    return subject(u"2301", u"國學常識", u"國學", W::Written, 'A', 8);
}
SubjectTemplate englishWriting() {
    return subject(u"2401", u"英文閱讀與寫作", u"英寫", W::Written, 'B', 8);
}

SubjectTemplate homeroom() {
    SubjectTemplate s = subject(u"1801", u"班會", u"班會", W::None, 'A', 1);
    s.homeroom = true;
    return s;
}

// Elective courses still carry the old 5-character codes.
SubjectTemplate elective() { return subject(u"191", u"多元選修", u"選修", W::Written, 'G', 14); }

SubjectTemplate flexible() {
    SubjectTemplate s = subject(u"2001", u"彈性學習", u"彈性", W::Written, 'G', 14);
    s.sevenCharacters = true;
    return s;
}

SubjectTemplate project() {
    SubjectTemplate s = subject(u"2101", u"專題研究", u"專題", W::Written, 'G', 4);
    s.inCatalogue = false;
    return s;
}

QVector<SubjectTemplate> commonSpecialTrack() {
    return {chinese(), english(), maths(),     physics(), chemistry(),
            biology(), history(), geography(), civics()};
}

QVector<SubjectTemplate> generalTrack(int grade, const QString& group) {
    if (grade == 1)
        return {chinese(), english(),    maths(),  physics(),   chemistry(), biology(), earth(),
                history(), geography(),  civics(), computing(), defence(),   sport(),   music(),
                arts(),    technology(), health(), homeroom(),  flexible()};
    QVector<SubjectTemplate> list;
    if (group == QLatin1String("1"))
        list = {chinese(), english(),   mathsB(),  history(),         geography(),      civics(),
                physics(), chemistry(), biology(), classicsReading(), englishWriting(), defence()};
    else
        list = {chinese(), english(), mathsA(),    physics(), chemistry(),      biology(),
                earth(),   history(), geography(), civics(),  englishWriting(), defence()};
    list << sport() << (grade == 2 ? arts() : music()) << homeroom() << elective();
    return list;
}

QVector<SubjectTemplate> vocationalTrack(Track track, int grade) {
    QVector<SubjectTemplate> list{chinese(), english(), maths()};
    const bool business = track == Track::Business || track == Track::DataProcessing;
    if (grade == 1) {
        list << (business ? biology() : physics()) << chemistry() << history();
    } else {
        list << (grade == 2 ? geography() : civics()) << englishWriting();
    }
    list << defence();
    auto pro = [](const char16_t* stem, const char16_t* name, const char16_t* shortName,
                  WeightKind weights) { return subject(stem, name, shortName, weights, 'H', 6); };
    switch (track) {
        case Track::Mechanical:
            list << pro(u"3011", u"機件原理", u"機件", W::Written)
                 << pro(u"3012", u"機械力學", u"力學", W::Written)
                 << pro(u"3013", u"機械製造", u"製造", W::Written)
                 << pro(u"3014", u"機械製圖", u"製圖", W::Practical)
                 << pro(u"3015", u"機械實習", u"機實", W::Practical);
            break;
        case Track::Electrical:
            list << pro(u"3021", u"基本電學", u"電學", W::Written)
                 << pro(u"3022", u"電子學", u"電子", W::Written)
                 << pro(u"3023", u"電工機械", u"電機", W::Written)
                 << pro(u"3024", u"電工實習", u"電實", W::Practical);
            break;
        case Track::Electronics:
            list << pro(u"3021", u"基本電學", u"電學", W::Written)
                 << pro(u"3022", u"電子學", u"電子", W::Written)
                 << pro(u"3031", u"數位邏輯", u"數位", W::Written)
                 << pro(u"3032", u"電子實習", u"子實", W::Practical);
            break;
        case Track::Computing:
            list << pro(u"3041", u"計算機概論", u"計概", W::Written)
                 << pro(u"3031", u"數位邏輯", u"數位", W::Written)
                 << pro(u"3042", u"程式設計", u"程設", W::Written)
                 << pro(u"3043", u"資訊實習", u"資實", W::Practical);
            break;
        case Track::Business:
            list << pro(u"4011", u"商業概論", u"商概", W::Written)
                 << pro(u"4012", u"會計學", u"會計", W::Written)
                 << pro(u"4013", u"經濟學", u"經濟", W::Written)
                 << pro(u"4014", u"商業實務", u"商實", W::Practical);
            break;
        case Track::DataProcessing:
            list << pro(u"4011", u"商業概論", u"商概", W::Written)
                 << pro(u"4012", u"會計學", u"會計", W::Written)
                 << pro(u"3041", u"計算機概論", u"計概", W::Written)
                 << pro(u"4021", u"程式語言", u"程語", W::Written)
                 << pro(u"4022", u"資料處理實習", u"資處", W::Practical);
            break;
        default:  // Automotive
            list << pro(u"5011", u"汽車原理", u"汽原", W::Written)
                 << pro(u"5012", u"汽車電學", u"汽電", W::Written)
                 << pro(u"5013", u"汽車實習", u"汽實", W::Practical);
            break;
    }
    list << sport() << (grade == 1 ? music() : arts()) << homeroom()
         << (grade == 1 ? flexible() : elective());
    return list;
}

const char16_t* gradeNumeral(int grade) {
    switch (grade) {
        case 1:
            return u"一";
        case 2:
            return u"二";
        case 3:
            return u"三";
        default:
            return u"";
    }
}

}  // namespace

std::array<QVariant, 6> weightsFor(WeightKind kind) {
    auto w = [](int a, int b, int c, int d, int e) {
        return std::array<QVariant, 6>{QVariant(double(a)), QVariant(double(b)),
                                       QVariant(double(c)), QVariant(double(d)),
                                       QVariant(double(e)), QVariant(0.0)};
    };
    switch (kind) {
        case WeightKind::Core:
            return w(15, 15, 15, 25, 30);
        case WeightKind::Written:
            return w(20, 20, 0, 30, 30);
        case WeightKind::Once:
            return w(30, 0, 0, 40, 30);
        case WeightKind::Practical:
            return w(0, 0, 0, 60, 40);
        case WeightKind::None:
            break;
    }
    return w(0, 0, 0, 0, 0);
}

QString SubjectTemplate::code(int grade, int semester) const {
    QString c = stem + QString::number(grade) + QString::number(semester);
    if (sevenCharacters) c += u'A';
    return c;
}

QString SubjectTemplate::fullName(int grade, int semester) const {
    return name + u'(' + QString::fromUtf16(gradeNumeral(grade)) + (semester == 1 ? u'上' : u'下') +
           u')';
}

QVector<SubjectTemplate> curriculum(Track track, int grade, const QString& group) {
    switch (track) {
        case Track::General:
            return generalTrack(grade, group);
        case Track::Science: {
            QVector<SubjectTemplate> list =
                generalTrack(grade, grade == 1 ? QString() : QStringLiteral("2"));
            list << project();
            return list;
        }
        case Track::Music: {
            QVector<SubjectTemplate> list = commonSpecialTrack();
            list << subject(u"2201", u"樂理", u"樂理", W::Written, 'F', 6)
                 << subject(u"2202", u"主修", u"主修", W::Practical, 'F', 3)
                 << subject(u"2203", u"合奏", u"合奏", W::Practical, 'F', 3) << sport()
                 << homeroom();
            return list;
        }
        case Track::Art: {
            QVector<SubjectTemplate> list = commonSpecialTrack();
            list << subject(u"2211", u"美術史", u"美史", W::Written, 'F', 6)
                 << subject(u"2212", u"素描", u"素描", W::Practical, 'F', 3)
                 << subject(u"2213", u"水彩", u"水彩", W::Practical, 'F', 3) << sport()
                 << homeroom();
            return list;
        }
        case Track::Sports: {
            QVector<SubjectTemplate> list = commonSpecialTrack();
            list << subject(u"2221", u"運動科學", u"運科", W::Written, 'F', 6)
                 << subject(u"2222", u"專項術科", u"術科", W::Practical, 'F', 3) << sport()
                 << homeroom();
            return list;
        }
        default:
            return vocationalTrack(track, grade);
    }
}

}  // namespace korvex::sample
