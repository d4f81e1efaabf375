#include "sample/SamplePeople.h"

#include <QStringList>
#include <array>

namespace korvex::sample {
namespace {

// Common Taiwanese surnames, the most frequent listed more than once so
// that they come up about as often as they do in a real class list.
const QStringList& surnames() {
    static const QStringList list =
        QStringLiteral(
            "陳 陳 陳 林 林 林 黃 黃 張 張 李 李 王 王 吳 劉 蔡 楊 許 鄭 謝 郭 洪 曾 邱 廖 賴 周 "
            "徐 "
            "蘇 葉 莊 呂 江 何 蕭 羅 高 潘 簡 朱 鍾 游 彭 詹 胡 施 沈 余 盧 梁 趙 顏 柯 翁 魏 孫 "
            "戴 "
            "范 方 宋 鄧 杜 傅 侯 曹 薛 丁 卓 阮 馬 董 溫 唐 藍 石 蔣 古 紀 姚 連 馮 歐陽")
            .split(u' ');
    return list;
}

const QStringList& maleChars() {
    static const QStringList list =
        QStringLiteral(
            "家 志 建 俊 明 偉 文 宏 冠 宇 承 翰 哲 睿 柏 彥 凱 軒 昱 廷 宗 育 祥 信 傑 豪 仁 "
            "瑋 皓 翔 博 政 安 佑 霖 恩 威 銘 鴻 誠 毅 昌 聖 泓 浩 振 達 瀚 緯 峻 崇 嘉 德")
            .split(u' ');
    return list;
}

const QStringList& femaleChars() {
    static const QStringList list =
        QStringLiteral(
            "怡 婷 雅 筱 佳 欣 宜 靜 涵 萱 琪 庭 穎 瑜 珊 慧 玲 芳 君 彤 晴 妤 芸 瑄 柔 蓁 "
            "韻 嘉 詩 淑 美 惠 雯 心 語 思 昀 安 恩 亭 姿 婕 綺 羽 薇 瑩 潔 馨 蕙 如 琳 真")
            .split(u' ');
    return list;
}

struct District {
    const char16_t* area;
    const char16_t* zip;
};

// Districts around the school, with their postal codes.
const std::array<District, 24> kDistricts{{
    {u"臺北市中正區", u"100"}, {u"臺北市大同區", u"103"}, {u"臺北市中山區", u"104"},
    {u"臺北市松山區", u"105"}, {u"臺北市大安區", u"106"}, {u"臺北市萬華區", u"108"},
    {u"臺北市信義區", u"110"}, {u"臺北市士林區", u"111"}, {u"臺北市北投區", u"112"},
    {u"臺北市內湖區", u"114"}, {u"臺北市南港區", u"115"}, {u"臺北市文山區", u"116"},
    {u"新北市板橋區", u"220"}, {u"新北市汐止區", u"221"}, {u"新北市新店區", u"231"},
    {u"新北市永和區", u"234"}, {u"新北市中和區", u"235"}, {u"新北市土城區", u"236"},
    {u"新北市三重區", u"241"}, {u"新北市新莊區", u"242"}, {u"新北市蘆洲區", u"247"},
    {u"新北市淡水區", u"251"}, {u"桃園市桃園區", u"330"}, {u"基隆市仁愛區", u"200"},
}};

const QStringList& roads() {
    static const QStringList list =
        QStringLiteral(
            "中山路 中正路 民生東路 民權東路 和平東路 復興南路 忠孝東路 信義路 仁愛路 光復南路 "
            "羅斯福路 南京東路 林森北路 文化路 中華路 成功路 民族路 自強街 建國北路 重慶北路 "
            "承德路 延平北路 環河南路 木柵路 景美街 新生南路 基隆路 長安東路 八德路 敦化北路")
            .split(u' ');
    return list;
}

const std::array<const char16_t*, 5> kSections{{u"", u"一段", u"二段", u"三段", u"四段"}};

// Letter values of the ID checksum (A=10 ... Z=33, in the order the
// household registration assigned them).
int letterValue(QChar letter) {
    static const QString order = QStringLiteral("ABCDEFGHJKLMNPQRSTUVXYWZIO");
    const int index = int(order.indexOf(letter));
    return index < 0 ? -1 : 10 + index;
}

int checksumWithoutLast(const QString& id) {
    const int value = letterValue(id.at(0));
    int sum = value / 10 + (value % 10) * 9;
    for (int i = 1; i <= 8; ++i) sum += id.at(i).digitValue() * (9 - i);
    return sum;
}

}  // namespace

QString SamplePeople::surname() { return m_random.pick(surnames()); }

QString SamplePeople::personName(bool male, const QString& familyName) {
    const QStringList& chars = male ? maleChars() : femaleChars();
    QString name = familyName.isEmpty() ? surname() : familyName;
    name += m_random.pick(chars);
    // About one name in eight has a single-character given name.
    if (!m_random.chance(0.12)) name += m_random.pick(chars);
    return name;
}

Address SamplePeople::address() {
    const District& district = kDistricts[m_random.between(0, int(kDistricts.size()) - 1)];
    QString street = m_random.pick(roads());
    if (street.endsWith(u'路')) street += QString::fromUtf16(kSections[m_random.between(0, 4)]);
    if (m_random.chance(0.45)) street += QStringLiteral("%1巷").arg(m_random.between(1, 320));
    if (m_random.chance(0.2)) street += QStringLiteral("%1弄").arg(m_random.between(1, 40));
    street += QStringLiteral("%1號").arg(m_random.between(1, 420));
    if (m_random.chance(0.6)) street += QStringLiteral("%1樓").arg(m_random.between(2, 15));
    return {QString::fromUtf16(district.area), QString::fromUtf16(district.zip), street};
}

QString SamplePeople::nationalId(bool male) {
    // Mostly Taipei (A) and New Taipei (F) registrations, some from elsewhere.
    static const QString letters = QStringLiteral("AAAAAFFFFFFHCGKBEDT");
    for (;;) {
        QString id(letters.at(m_random.between(0, int(letters.size()) - 1)));
        id += male ? u'1' : u'2';
        for (int i = 0; i < 7; ++i) id += QChar(u'0' + m_random.between(0, 9));
        id += QChar(u'0' + (10 - checksumWithoutLast(id + u'0') % 10) % 10);
        if (!m_ids.contains(id)) {
            m_ids.insert(id);
            return id;
        }
    }
}

bool validNationalId(const QString& id) {
    if (id.size() != 10 || letterValue(id.at(0)) < 0) return false;
    for (int i = 1; i < 10; ++i)
        if (!id.at(i).isDigit()) return false;
    return (checksumWithoutLast(id) + id.at(9).digitValue()) % 10 == 0;
}

}  // namespace korvex::sample
