#pragma once

namespace korvex {

struct AppContext;
struct BaseDataImport;

// The six base-data imports of the first menu (items 1 to 6): each fills one
// table of exam.mdb from the school database.
void ImportDepartmentsAndGroups(AppContext& context);
void ImportClasses(AppContext& context);
void ImportStudents(AppContext& context);
void ImportSubjects(AppContext& context);
void ImportTeachers(AppContext& context);
void ImportExamCourses(AppContext& context);

// Each import as a declaration (what the imports above run), for whoever
// needs its statements without running it: the self-check sends each of
// them once with one row and rolls back. A declaration may refer to the
// context: it is used while the context lives.
BaseDataImport departmentsAndGroupsImport(AppContext& context);
BaseDataImport classesImport(AppContext& context);
BaseDataImport studentsImport(AppContext& context);
BaseDataImport subjectsImport(AppContext& context);
BaseDataImport teachersImport(AppContext& context);
BaseDataImport examCoursesImport(AppContext& context);

}  // namespace korvex
