#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vorlin::updlink {

// A version as dotted whole numbers ("2.10.1"); nothing when the text is not
// one (blanks around it are allowed).
std::optional<std::vector<unsigned long>> parseVersion(const std::string& text);

// Whether the offered version is newer than the installed one; missing
// trailing parts count as 0 ("2.1" equals "2.1.0").
bool isNewer(const std::vector<unsigned long>& offered, const std::vector<unsigned long>& installed);

// The first line of a text, without its line end.
std::string firstLine(const std::string& text);

}  // namespace vorlin::updlink
