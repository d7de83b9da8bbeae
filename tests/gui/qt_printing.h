#pragma once

#include <QString>

#include <ostream>

// Lets test failures show Qt strings as text. It sits in the global
// namespace, beside QString, where the test framework looks for it.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
