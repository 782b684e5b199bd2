#include "import/FileSetRun.h"

#include "common/TextFile.h"
#include "common/Win1250.h"
#include "import/Candidates.h"
#include "import/FileGathering.h"
#include "import/WatchedConversion.h"
#include "regex/RegExpr.h"

#include <QFile>
#include <QFileInfo>

namespace vorlin {

QList<QByteArray> filterPatterns(const QString& filterFile)
{
    // Written here in Windows-1250, or as UTF-8 by a Linux editor: the
    // patterns match Windows-1250 text either way.
    const QByteArray bytes = foreignTextAsWin1250(readWholeFile(filterFile));
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines << bytes.mid(start, i - start);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

FileSetRun::FileSetRun(Hooks hooks, ReviewListModel& items,
                       std::function<std::unique_ptr<platform::DocumentConverter>()> makeConverter,
                       int conversionTimeoutMs)
    : hooks_(std::move(hooks)), items_(items), makeConverter_(std::move(makeConverter)),
      conversionTimeoutMs_(conversionTimeoutMs)
{
}

void FileSetRun::run(const QString& folder, const QString& filterFile, const bool& stopRequested)
{
    QStringList documents;
    QStringList unnamable;
    hooks_.status(QStringLiteral("Hledám soubory doc."));
    gatherFiles(documents, folder, QStringLiteral("*.doc"), stopRequested, &unnamable);
    hooks_.status(QStringLiteral("Hledám soubory docx."));
    gatherFiles(documents, folder, QStringLiteral("*.docx"), stopRequested, &unnamable);

    const QStringList written = convertDocuments(documents, stopRequested);

    hooks_.serveEvents();
    if (stopRequested)
        return;
    hooks_.status(QStringLiteral("Vyhledávám soubory txt."));
    QStringList textFiles;
    gatherFiles(textFiles, folder, QStringLiteral("*.txt"), stopRequested, &unnamable);
    filter(textFiles, filterFile, stopRequested);
    reportUnnamable(unnamable);
    // Only what this run wrote is offered for deletion: a text file that was
    // there before may be the user's own.
    if (hooks_.deleteGeneratedFiles()) {
        for (const QString& textFile : written)
            QFile::remove(textFile);
    }
    hooks_.status(QStringLiteral("Hotovo."));
}

QStringList FileSetRun::convertDocuments(const QStringList& documents, const bool& stopRequested)
{
    QStringList written;
    // Two offices convert two documents at once, one on each core.
    std::vector<std::unique_ptr<platform::DocumentConverter>> converters;
    converters.push_back(makeConverter_());
    if (documents.size() >= 2 && converters.front()->convertsBesideAnother()) {
        converters.push_back(makeConverter_());
        converters.back()->prepare();  // starts while the first one does
    }
    converters.front()->start();
    // Once started, the converters are stopped whatever happens.
    const struct StopAtEnd {
        std::vector<std::unique_ptr<platform::DocumentConverter>>& converters;
        ~StopAtEnd()
        {
            for (const auto& converter : converters)
                converter->stop();
        }
    } stopAtEnd{converters};
    // Without the second office the documents go one by one.
    if (converters.size() > 1) {
        try {
            converters.back()->start();
        } catch (const platform::OfficeError& error) {
            qWarning("The second office did not start: %s", qPrintable(error.message()));
            converters.back()->stop();
            converters.pop_back();
        }
    }
    const qsizetype count = documents.size();
    for (qsizetype i = 0; i < count && !stopRequested;) {
        std::vector<Conversion> together;
        for (; i < count && together.size() < converters.size(); ++i) {
            const QString textFile = documents[i] + QStringLiteral(".txt");
            if (QFileInfo::exists(textFile))
                continue;
            hooks_.status(QStringLiteral("Převádím soubor %1 na text. Jedná se o %2. soubor z %3.")
                              .arg(documents[i])
                              .arg(i + 1)
                              .arg(count));
            together.push_back({converters[together.size()].get(), documents[i], textFile, ConversionEnd::Stopped, nullptr});
        }
        if (together.empty())
            break;
        convertWatched(together, conversionTimeoutMs_, stopRequested);
        for (const Conversion& conversion : together) {
            if (conversion.end == ConversionEnd::Converted) {
                written << conversion.textFile;
                continue;
            }
            // What the stopped or failed office had begun; a half-written
            // text would pass for the document's.
            QFile::remove(conversion.textFile);
            if (!conversion.error)
                continue;
            try {
                std::rethrow_exception(conversion.error);
            } catch (const platform::OfficeError& error) {
                hooks_.notice(QStringLiteral("Chyba při převodu souboru MS WOrd na text. \n%1\n%2")
                                  .arg(conversion.document, error.message()));
            }
        }
        hooks_.serveEvents();
    }
    return written;
}

void FileSetRun::filter(const QStringList& textFiles, const QString& filterFile, const bool& stopRequested)
{
    TRegExpr engine;
    const QList<QByteArray> patterns = filterPatterns(filterFile);
    items_.clear();
    try {
        const qsizetype count = textFiles.size();
        for (qsizetype i = 0; i < count; ++i) {
            const QByteArray text = withCrLfLineEnds(foreignTextAsWin1250(readWholeFile(textFiles[i])));
            QString shown = win1250::decode(text);
            shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            hooks_.showFilteredText(shown);
            for (qsizetype j = 0; j < patterns.size() && !stopRequested; ++j) {
                hooks_.status(QStringLiteral("Zpracovávám %1/%2 soubor %3 filtrem č. %4.")
                                  .arg(i + 1)
                                  .arg(count)
                                  .arg(textFiles[i])
                                  .arg(j + 1));
                engine.setExpression(patterns[j]);
                const QString tag = QString::number(j + 1) + QStringLiteral(". filtr|");
                if (!engine.exec(text))
                    continue;
                items_.add(tag + win1250::decode(engine.match()));
                while (engine.execNext()) {
                    items_.add(tag + win1250::decode(engine.match()));
                    hooks_.serveEvents();
                }
                hooks_.serveEvents();
            }
        }
    } catch (...) {
        items_.flush();  // what was found before the error stays
        throw;
    }
    hooks_.status(QStringLiteral("Promazávám duplikáty."));
    items_.flush();
    QStringList sorted = items_.texts();
    candidates::removeDuplicates(sorted);
    items_.replaceAll(sorted);
    hooks_.listComplete();
}

void FileSetRun::reportUnnamable(QStringList paths)
{
    paths.removeDuplicates();
    if (paths.isEmpty())
        return;
    constexpr qsizetype kListed = 20;
    QString text = QStringLiteral("Tyto složky a soubory nebyly zpracovány, protože jejich název není "
                                  "v kódování UTF-8 (přejmenujte je):\n")
        + QStringList(paths.mid(0, kListed)).join(u'\n');
    if (paths.size() > kListed)
        text += QStringLiteral("\n… a dalších %1.").arg(paths.size() - kListed);
    hooks_.notice(text);
}

}  // namespace vorlin
