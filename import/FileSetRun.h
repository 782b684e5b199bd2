#pragma once

#include "import/ReviewListModel.h"
#include "platform/DocumentConverter.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace vorlin {

// The file-set run without its window: every doc and docx file of a folder
// tree converted to text beside itself by a converter of the run's own, every
// txt file of the tree filtered into the review list, duplicates removed, and
// the text files this run wrote deleted when the user wants. A stop (the
// flag, set by whoever shows the run) takes effect at once during a
// conversion and before the next pattern during the filtering.
class FileSetRun {
public:
    // What the run shows and asks; it waits for each to return.
    struct Hooks {
        std::function<void(const QString& text)> status;
        std::function<void(const QString& text)> notice;  // a message to be read and confirmed
        std::function<bool()> deleteGeneratedFiles;       // "Chcete vymazat vygenerované soubory txt?"
        std::function<void(const QString& text)> showFilteredText;
        std::function<void()> serveEvents;  // the points where the window's events are served
        std::function<void()> listComplete;
    };

    FileSetRun(Hooks hooks, ReviewListModel& items,
               std::function<std::unique_ptr<platform::DocumentConverter>()> makeConverter, int conversionTimeoutMs);

    // The run over the folder (ending in "/") with the patterns of the filter
    // file, which is read when the filtering starts. A converter that cannot
    // start, a bad pattern or an unreadable file end the run with their
    // error; what was found before stays in the list.
    void run(const QString& folder, const QString& filterFile, const bool& stopRequested);

private:
    // The text files this run wrote.
    QStringList convertDocuments(const QStringList& documents, const bool& stopRequested);
    void filter(const QStringList& textFiles, const QString& filterFile, const bool& stopRequested);
    void reportUnnamable(QStringList paths);

    Hooks hooks_;
    ReviewListModel& items_;
    std::function<std::unique_ptr<platform::DocumentConverter>()> makeConverter_;
    int conversionTimeoutMs_;
};

// A filter file's lines: each one pattern exactly as read, as bytes.
QList<QByteArray> filterPatterns(const QString& filterFile);

}  // namespace vorlin
