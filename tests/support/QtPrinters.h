#pragma once

#include <QString>

#include <ostream>

// Texts as texts in the failure reports.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
