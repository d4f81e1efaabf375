#include "startup/StudentColumns.h"

namespace korvex {

std::vector<StudentColumn> studentColumns() {
    return {
        {QStringLiteral("address"), QStringLiteral("ALTER TABLE name ADD address nvarchar(150)")},
        {QStringLiteral("father"), QStringLiteral("ALTER TABLE name ADD father nvarchar(20)")},
        {QStringLiteral("zipcode"), QStringLiteral("ALTER TABLE name ADD zipcode nvarchar(10)")},
        {QStringLiteral("addzone"), QStringLiteral("ALTER TABLE name ADD addzone nvarchar(50)")}};
}

}  // namespace korvex
