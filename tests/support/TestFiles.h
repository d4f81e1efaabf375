#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace korvex::test {

// Whole-file helpers for the settings tests, which check the exact bytes.
inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return file.readAll();
}

}  // namespace korvex::test
