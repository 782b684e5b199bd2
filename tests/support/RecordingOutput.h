#pragma once

#include "platform/DesktopWindows.h"
#include "platform/OfficeAutomation.h"
#include "platform/WordAutomation.h"

#include "support/QtPrinters.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMap>
#include <QMimeData>
#include <QSet>
#include <QStringList>

namespace vorlin::test {

// The desktop, the office and Word of the output tests. The desktop writes
// its calls into a log and keeps which window is active and maximised; the
// office and Word keep what was pasted into their documents.
class CallLog {
public:
    QStringList calls;

    void record(const QString& call) { calls << call; }
};

class RecordingDesktop : public platform::DesktopWindows {
public:
    explicit RecordingDesktop(CallLog& log) : log(log) {}

    QList<platform::TopLevelWindow> windowsTopmostFirst() override
    {
        log.record(QStringLiteral("walk"));
        return windows;
    }
    void activate(quint32 id, bool maximise) override
    {
        log.record(QStringLiteral("activate %1%2").arg(id).arg(maximise ? QStringLiteral(" maximised") : QString()));
        active = id;
        if (maximise)
            maximised << id;
    }

    CallLog& log;
    QList<platform::TopLevelWindow> windows;
    quint32 active = 0;
    QSet<quint32> maximised;
};

// What a paste would put into a document: the clipboard's plain text, marked
// "[formátováno]" when it went in with its rich text.
inline QString pastedClipboard(bool formatted)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    return formatted && data->hasFormat(QStringLiteral("text/rtf")) ? QStringLiteral("[formátováno]") + data->text()
                                                                     : data->text();
}

// The user's office: documents by title, each holding what was pasted into it.
class FakeOffice : public platform::OfficeAutomation {
public:
    bool isRunning() override { return running; }
    QStringList openDocuments() override { return running ? documents.keys() : QStringList(); }
    // The snippet's text, marked "[formátováno]" when it went in with its RTF.
    void pasteInto(const QString& title, const platform::PastedSnippet& snippet, bool formatted,
                   bool activated) override
    {
        lastActivated = activated;
        if (!failure.isEmpty())
            throw platform::OfficeError(failure);
        if (!documents.contains(title))
            throw platform::OfficeError(QStringLiteral("Dokument „%1“ se v LibreOffice nepodařilo najít, nic do něj nebylo vloženo.").arg(title));
        documents[title] += (formatted && !snippet.rtf.isEmpty() ? QStringLiteral("[formátováno]") : QString())
            + snippet.text;
    }

    bool running = true;
    QMap<QString, QString> documents;
    QString failure;  // every paste fails with it when set
    bool lastActivated = false;
};

// Word with one active document.
class FakeWord : public platform::WordAutomation {
public:
    void pasteIntoActiveDocument(bool formatted) override
    {
        if (!registered)
            platform::UnregisteredWord::instance().pasteIntoActiveDocument(formatted);
        document += pastedClipboard(formatted);
    }
    QString document;
    bool registered = true;  // false: as on a system without Word
};

}  // namespace vorlin::test
