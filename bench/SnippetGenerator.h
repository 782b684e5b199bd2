#pragma once

#include <QString>

namespace vorlin::bench {

// Fills a copy of the delivered database with generated snippets: Czech
// names and keywords, kinds from the usual list, RTF bodies of about the
// given size. Reuses the file when it already holds that many rows.
void generateSnippetDatabase(const QString& seedDatabase, const QString& target, int rows, int bodyBytes);

// A data folder under the benchmarks' own folder holding that many
// generated snippets (2 KB bodies) and the delivered kinds file; the
// program's paths are set to it.
void useGeneratedDataFolder(int rows, int bodyBytes = 2048);

}  // namespace vorlin::bench
