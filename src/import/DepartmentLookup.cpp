#include "import/DepartmentLookup.h"

#include "db/Recordset.h"

namespace korvex {

DepartmentLookup::DepartmentLookup() = default;
DepartmentLookup::~DepartmentLookup() = default;

bool DepartmentLookup::open(Connection& school) {
    m_set = OpenRecordset(school, QStringLiteral("select 科別碼,科別簡碼 from z_dept"));
    return m_set != nullptr;
}

QString DepartmentLookup::shortCode(const QString& departmentCode) {
    if (!m_set || !m_set->findFirst(QStringLiteral("科別碼"), departmentCode))
        return QStringLiteral("00");
    return m_set->text(QStringLiteral("科別簡碼"));
}

}  // namespace korvex
