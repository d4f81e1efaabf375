#include "SampleStart.h"

#include <gtest/gtest.h>
#include <QDir>

#include "ops/AppContext.h"
#include "sample/SampleSchool.h"
#include "settings/SettingsFile.h"
#include "startup/StartupSteps.h"

namespace korvex::test {

bool startSampleSchool(AppContext& context, const QString& folder, int students, int seed) {
    SampleSchool::Options options;
    options.students = students;
    options.seed = std::uint64_t(seed);
    QString error;
    if (!SampleSchool::create(folder, options, nullptr, &error)) {
        ADD_FAILURE() << error.toStdString();
        return false;
    }
    context.appPath = folder;
    context.settings = readSettingsFile(QDir(folder).filePath(QStringLiteral("ASSISTANT.INI")));
    LoadTermContext(context);
    if (!context.schoolConnected) {
        ADD_FAILURE() << "the sample school did not connect: "
                      << context.schoolFailure.toStdString();
        return false;
    }
    prepareShortCodes(context);
    return true;
}

}  // namespace korvex::test
