#pragma once

#include <QString>
#include <ostream>

// Texts as they read in a failed expectation's output, in quotes (gtest
// otherwise prints a QString as its bytes).
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
