#include "startup/StudentColumns.h"

namespace korvex {

QStringList studentColumnStatements() {
    return {QStringLiteral("ALTER TABLE name ADD address nvarchar(150)"),
            QStringLiteral("ALTER TABLE name ADD father nvarchar(20)"),
            QStringLiteral("ALTER TABLE name ADD zipcode nvarchar(10)"),
            QStringLiteral("ALTER TABLE name ADD addzone nvarchar(50)")};
}

}  // namespace korvex
