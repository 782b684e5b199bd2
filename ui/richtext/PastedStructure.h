#pragma once

class QTextDocument;

namespace vorlin::ui {

// Makes a pasted document one that a snippet's body stores as it looks:
// lists become paragraphs that start with their bullet or number and a tab,
// tables become one paragraph a row with the cells separated by tabs.
// Pasted RTF arrives so already; pasted HTML is made the same. (A colour no
// one sees, HTML's "transparent", is left to the RTF writer, which writes
// none for it.)
void flattenPastedStructure(QTextDocument& document);

}  // namespace vorlin::ui
