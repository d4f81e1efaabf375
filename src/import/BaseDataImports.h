#pragma once

namespace korvex {

struct AppContext;

// The six base-data imports of the first menu (items 1 to 6): each fills one
// table of exam.mdb from the school database.
void ImportDepartmentsAndGroups(AppContext& context);
void ImportClasses(AppContext& context);
void ImportStudents(AppContext& context);
void ImportSubjects(AppContext& context);
void ImportTeachers(AppContext& context);
void ImportExamCourses(AppContext& context);

}  // namespace korvex
