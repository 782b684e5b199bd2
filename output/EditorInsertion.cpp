#include "output/EditorInsertion.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QCursor>
#include <QGuiApplication>

namespace vorlin {

using platform::OfficeRef;

WriterConnection writerConnection;

std::optional<EditorKind> insertionKind(const QString& title)
{
    if (title.contains(QStringLiteral("Microsoft Word")))
        return EditorKind::Word;
    if (title.contains(QStringLiteral("OpenOffice.org")) || title.contains(QStringLiteral("LibreOffice")))
        return EditorKind::Writer;
    return std::nullopt;
}

void PasteIntoWord(platform::WordAutomation& word, bool formatted)
{
    const OfficeRef application = word.activeApplication();
    const OfficeRef selection = word.selection(application);
    if (formatted)
        word.paste(selection);
    else
        word.pasteAndFormat(selection, kWordPasteAsPlainText);
}

namespace {

// The hourglass from here to the end of the scope, drawn before the wait.
class Hourglass {
public:
    Hourglass()
    {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return;
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        shown_ = true;
        QCoreApplication::processEvents();
    }
    ~Hourglass()
    {
        if (shown_)
            QGuiApplication::restoreOverrideCursor();
    }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    bool shown_ = false;
};

}  // namespace

void ConnectWriter(platform::OfficeAutomation& office)
{
    Hourglass hourglass;
    writerConnection.serviceManager = office.connect();
    writerConnection.desktop = CreateWriterService(office, QStringLiteral("com.sun.star.frame.Desktop"));
    writerConnection.dispatcher = CreateWriterService(office, QStringLiteral("com.sun.star.frame.DispatchHelper"));
}

OfficeRef CreateWriterService(platform::OfficeAutomation& office, const QString& serviceName)
{
    return office.createInstance(writerConnection.serviceManager, serviceName);
}

void AwaitWriterFrame(platform::OfficeAutomation& office, const QString& title)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const OfficeRef frame = office.currentFrame(writerConnection.desktop);
        if ((frame && office.frameTitle(frame) == title) || waited.hasExpired(kWriterFrameWaitMs))
            return;
        QEventLoop pause;
        QTimer::singleShot(10, &pause, &QEventLoop::quit);
        pause.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

void PasteIntoWriter(platform::OfficeAutomation& office, const QString& title, bool formatted)
{
    const OfficeRef frame = office.frameTitled(writerConnection.desktop, title);
    if (!frame)
        throw platform::OfficeError(
            QStringLiteral("Dokument „%1“ se v LibreOffice nepodařilo najít, nic do něj nebylo vloženo.").arg(title));
    const QByteArray before = office.documentState(frame);
    if (formatted) {
        DispatchToFrame(office, frame, QStringLiteral(".uno:Paste"), {});
    } else {
        // The format as a number: the office pastes plain text for format 1
        // and nothing at all for the text "1".
        QList<OfficeRef> arguments(2);
        arguments[0] = MakePropertyValue(office, QStringLiteral("SelectedFormat"), QVariant::fromValue(quint32(1)));
        DispatchToFrame(office, frame, QStringLiteral(".uno:ClipboardFormatItems"), arguments);
    }
    // The office reports no failure of a paste: the document tells.
    QElapsedTimer waited;
    waited.start();
    while (office.documentState(frame) == before) {
        if (waited.hasExpired(kWriterChangeWaitMs))
            throw platform::OfficeError(
                QStringLiteral("LibreOffice do dokumentu „%1“ nic nevložil (schránku nepřevzal).").arg(title));
        QEventLoop pause;
        QTimer::singleShot(50, &pause, &QEventLoop::quit);
        pause.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

void DispatchToFrame(platform::OfficeAutomation& office, const OfficeRef& frame, const QString& commandUrl,
                     const QList<OfficeRef>& arguments)
{
    office.executeDispatch(writerConnection.dispatcher, frame, commandUrl, QString(), 0, arguments);
}

OfficeRef MakePropertyValue(platform::OfficeAutomation& office, const QString& name, const QVariant& value)
{
    const OfficeRef reflection = CreateWriterService(office, QStringLiteral("com.sun.star.reflection.CoreReflection"));
    return office.propertyValue(reflection, name, value);
}

void ReleaseWriter(platform::OfficeAutomation& office)
{
    writerConnection = {};
    office.release();
}

}  // namespace vorlin
