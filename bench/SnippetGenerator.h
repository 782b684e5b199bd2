#pragma once

#include <QString>

namespace vorlin::bench {

// Fills a copy of the delivered database with generated snippets: Czech
// names and keywords, kinds from the usual list, RTF bodies of about the
// given size. Reuses the file when it already holds that many rows.
void generateSnippetDatabase(const QString& seedDatabase, const QString& target, int rows, int bodyBytes);

}  // namespace vorlin::bench
