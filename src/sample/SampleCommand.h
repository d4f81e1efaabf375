#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvex {

// korvex-sample's command line (arguments without the program name):
//   create --folder DIR [--students N] [--vocational] [--seed S]
//   grade --folder DIR --exam N [--seed S]
// Prints one summary line on success; messages go to `err`.
// Exit status: 0 done, 1 failed, 2 bad usage.
int runSampleCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

QString sampleUsage();

}  // namespace korvex
