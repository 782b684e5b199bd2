#pragma once

#include <QString>
#include <QStringList>

namespace vorlin::candidates {

// What a candidate stores: the text after its first "|" (the file-set run's
// "2. filtr|" tag), or the whole candidate when it holds none.
QString textOf(const QString& candidate);

// The text as a snippet: every "[enter]" becomes a blank and a line break.
QString storedText(const QString& text);

// A candidate as the review list draws it, on one line: "[enter]" for each
// CR LF.
QString drawnText(const QString& candidate);

// Removes neighbours that are equal from their first comma on (whole
// candidates when they hold no comma); letter case counts. The earlier of
// two equal neighbours goes.
void removeDuplicates(QStringList& sorted);

}  // namespace vorlin::candidates
