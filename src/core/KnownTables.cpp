#include "core/KnownTables.h"

namespace korvex {
namespace {

using Kind = KnownColumn::Kind;

KnownTable table(const char16_t* name, std::initializer_list<const char16_t*> text,
                 std::initializer_list<const char16_t*> numbers = {}) {
    KnownTable t{QString::fromUtf16(name), {}};
    for (const char16_t* column : text)
        t.columns.push_back({QString::fromUtf16(column), Kind::Text});
    for (const char16_t* column : numbers)
        t.columns.push_back({QString::fromUtf16(column), Kind::Number});
    return t;
}

}  // namespace

const std::vector<KnownTable>& schoolTables() {
    static const std::vector<KnownTable> tables{
        table(u"sastuden", {u"學號", u"在學科別", u"在學年級", u"在學班次", u"在學座號",
                            u"在學狀態", u"在學學期", u"姓名", u"性別", u"身份證號", u"學期類組別",
                            u"通縣市區", u"通郵遞區號", u"通號碼地址", u"家長姓名"}),
        table(u"z_dept", {u"科別碼", u"科別中文名"}),
        table(u"z_class", {u"班級碼", u"班級簡稱", u"班級名稱", u"班級類組"}),
        table(u"z_ugroup", {u"類組碼", u"類組名稱"}),
        table(u"z_course", {u"科目碼", u"科目中文名", u"科目簡稱"}),
        table(u"z_teach", {u"教師碼", u"姓名", u"身份證號", u"密碼"}),
        table(u"sbcourse", {u"班級碼", u"科目碼", u"教師碼"},
              {u"考試比例1", u"考試比例2", u"考試比例3", u"考試比例4", u"考試比例5", u"考試比例6"}),
        table(u"sbscore", {u"學年度", u"學期別", u"身份證號", u"班級碼", u"科目碼"},
              {u"考試成績1", u"考試成績2", u"考試成績3", u"考試成績4", u"考試成績5", u"考試成績6"}),
        table(u"z_system", {u"學年度", u"學期別"}),
        table(u"z_user", {u"使用者碼", u"使用者密碼", u"使用者權限"}),
        table(u"z_name",
              {u"考試名稱1", u"考試名稱2", u"考試名稱3", u"考試名稱4", u"考試名稱5", u"考試名稱6"}),
    };
    return tables;
}

const std::vector<KnownTable>& examTables() {
    static const std::vector<KnownTable> tables{
        table(u"dep", {u"class", u"name"}),
        table(u"class", {u"class", u"name", u"dep", u"yy"}),
        table(u"name", {u"class", u"seat", u"name", u"sid", u"examno", u"gro"}),
        table(u"subject", {u"class", u"name"}),
        table(u"teacher", {u"tchno", u"name", u"idno", u"passwd"}),
        table(u"course", {u"clsno", u"subjno", u"tchno"},
              {u"ratio1", u"ratio2", u"ratio3", u"ratio4", u"ratio5", u"ratio6"}),
    };
    return tables;
}

KnownTable rosterTable(int slot) {
    KnownTable roster = table(u"",
                              {u"sid", u"class", u"seat", u"examno", u"namec", u"sub", u"tchno",
                               u"gro", u"examsnot", u"abs"},
                              {u"score", u"score1", u"score2", u"spec", u"upload"});
    roster.name = QStringLiteral("periodical%1").arg(slot);
    return roster;
}

}  // namespace korvex
