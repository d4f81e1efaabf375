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
    if (!m_set || m_set->recordCount() < 1) return QStringLiteral("00");
    // Searched from the first row each time, as a fresh search of the set.
    m_set->moveFirst();
    if (!m_set->find(QStringLiteral("科別碼"), departmentCode)) return QStringLiteral("00");
    return m_set->text(QStringLiteral("科別簡碼"));
}

}  // namespace korvex
