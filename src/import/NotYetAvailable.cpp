// Placeholders until the base-data imports are built; this file goes when they land.
#include "app/AppContext.h"
#include "import/BaseDataImports.h"

namespace korvex {
namespace {
void notYet(AppContext& context) {
    context.window->message(QStringLiteral("此功能尚未提供"), MainWindowInterface::Icon::Information);
}
}  // namespace
void ImportDepartmentsAndGroups(AppContext& context) { notYet(context); }
void ImportClasses(AppContext& context) { notYet(context); }
void ImportStudents(AppContext& context) { notYet(context); }
void ImportSubjects(AppContext& context) { notYet(context); }
void ImportTeachers(AppContext& context) { notYet(context); }
void ImportExamCourses(AppContext& context) { notYet(context); }
}  // namespace korvex
