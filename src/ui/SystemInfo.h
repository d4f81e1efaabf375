#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace korvex {

// Reads one registry value under HKEY_LOCAL_MACHINE (`keyName` is the key
// path, `valueName` the value). A string value comes back as it is, a
// number in decimal. False (and `value` empty) when the key or the value
// cannot be read, and always on a system without a registry.
bool GetKeyValue(const QString& keyName, const QString& valueName, QString& value);

// Where the system information tool is, as the registry tells it; empty when
// it cannot be found (always so without a registry). `exists` decides
// whether a file is there.
QString findSystemInfoTool(const std::function<bool(const QString&)>& exists);

// Starts the system information tool, or says that it is not available, in
// a box titled with the program's title.
void StartSysInfo(QWidget* parent);

QString systemInfoUnavailableMessage();

}  // namespace korvex
