#pragma once

#include "output/EditorDiscovery.h"
#include "platform/OfficeAutomation.h"
#include "platform/WordAutomation.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace vorlin {

// Which word processor a listed window belongs to, decided from its title
// alone: Word when it holds "Microsoft Word", else Writer when it holds
// "OpenOffice.org" or "LibreOffice" (case counts); none otherwise.
std::optional<EditorKind> insertionKind(const QString& title);

// Word's paste at its cursor: the clipboard with its formatting, or as plain
// text (Word's paste type 22).
void PasteIntoWord(platform::WordAutomation& word, bool formatted);
inline constexpr qint32 kWordPasteAsPlainText = 22;

// The conversation with Writer during one insertion; empty between them.
struct WriterConnection {
    platform::OfficeRef serviceManager;
    platform::OfficeRef desktop;
    platform::OfficeRef dispatcher;
};
extern WriterConnection writerConnection;

// Fills the connection: the service manager of the user's office (started
// when it does not run), its desktop and a dispatch helper. The hourglass
// shows meanwhile.
void ConnectWriter(platform::OfficeAutomation& office);

// Waits, for at most a second, until Writer's current frame is the window
// with this title: the office learns that the desktop activated one of its
// windows a moment after the desktop reports it.
void AwaitWriterFrame(platform::OfficeAutomation& office, const QString& title);
inline constexpr int kWriterFrameWaitMs = 1000;

// Writer pastes at the cursor of the document with this title: the
// clipboard with its formatting (".uno:Paste"), or its plain text
// (".uno:ClipboardFormatItems" with the format number 1). Nothing is pasted
// when the connected office shows no such document (another office of the
// user, on another display, answered); a paste after which the document
// holds what it held before is reported, not taken for a success.
void PasteIntoWriter(platform::OfficeAutomation& office, const QString& title, bool formatted);
inline constexpr int kWriterChangeWaitMs = 1500;

// One command to that frame.
void DispatchToFrame(platform::OfficeAutomation& office, const platform::OfficeRef& frame, const QString& commandUrl,
                     const QList<platform::OfficeRef>& arguments);

// A new com.sun.star.beans.PropertyValue, made through a new reflection service.
platform::OfficeRef MakePropertyValue(platform::OfficeAutomation& office, const QString& name,
                                      const QVariant& value);

platform::OfficeRef CreateWriterService(platform::OfficeAutomation& office, const QString& serviceName);

// Empties the connection; the office keeps running.
void ReleaseWriter(platform::OfficeAutomation& office);

}  // namespace vorlin
