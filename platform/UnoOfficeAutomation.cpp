#include "platform/UnoOfficeAutomation.h"

#include "common/AwayFromGuiThread.h"
#include "common/GraphicalSession.h"
#include "common/PrivateFiles.h"
#include "platform/OwnOfficePipe.h"
#include "platform/RunningOffice.h"
#include "platform/UnoContext.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QProcess>

#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/datatransfer/UnsupportedFlavorException.hpp>
#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/connection/XConnection.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XFramesSupplier.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>

#include <cppuhelper/implbase1.hxx>

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

namespace vorlin::platform {

namespace css = com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

// The conversation with Writer during one request: the connection, the
// office's service manager and its desktop.
// One insertion's conversation with the office, run on one worker: the
// deadline it must keep (moved on while an office starts) and the
// connections it holds, cut when it is given up, which makes a waiting call
// return.
struct UnoOfficeAutomation::Conversation {
    std::mutex mutex;
    std::vector<Reference<css::connection::XConnection>> pipes;
    std::atomic<std::int64_t> deadline{0};

    static std::int64_t now()
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void allow(int ms) { deadline = now() + ms; }
    bool expired() const { return now() > deadline; }
    void hold(const Reference<css::connection::XConnection>& pipe)
    {
        const std::lock_guard lock(mutex);
        pipes.push_back(pipe);
    }
    void cut()
    {
        const std::lock_guard lock(mutex);
        for (const Reference<css::connection::XConnection>& pipe : pipes) {
            try {
                pipe->close();
            } catch (const css::uno::Exception&) {
            }
        }
    }
};

struct UnoOfficeAutomation::WriterConnection {
    WriterConnection() = default;
    explicit WriterConnection(Conversation* within) : conversation(within) {}
    WriterConnection(const WriterConnection&) = delete;
    WriterConnection& operator=(const WriterConnection&) = delete;

    Reference<css::connection::XConnection> pipe;
    Reference<css::lang::XComponent> bridge;
    Reference<css::lang::XMultiServiceFactory> serviceManager;
    Reference<css::frame::XDesktop> desktop;
    Conversation* conversation = nullptr;  // the insertion it serves, if any

    // Lets go of the connection; the office keeps running.
    ~WriterConnection()
    {
        desktop.clear();
        serviceManager.clear();
        if (!bridge.is())
            return;
        try {
            awayFromGuiThread([&] { bridge->dispose(); });
        } catch (const css::uno::Exception&) {
            // A bridge the office already closed has nothing left to let go of.
        }
    }
};

namespace {

// A snippet offered to the office as the clipboard would offer it: as RTF
// (under both its names) and as text, or as text alone.
class SnippetTransferable : public cppu::WeakImplHelper1<css::datatransfer::XTransferable> {
public:
    SnippetTransferable(const PastedSnippet& snippet, bool formatted)
        : rtf_(reinterpret_cast<const sal_Int8*>(snippet.rtf.constData()), sal_Int32(snippet.rtf.size())),
          text_(toOffice(snippet.text)), formatted_(formatted)
    {
    }

    Any SAL_CALL getTransferData(const css::datatransfer::DataFlavor& flavor) override
    {
        if (formatted_ && isRtf(flavor))
            return Any(rtf_);
        if (isText(flavor))
            return Any(text_);
        throw css::datatransfer::UnsupportedFlavorException();
    }

    css::uno::Sequence<css::datatransfer::DataFlavor> SAL_CALL getTransferDataFlavors() override
    {
        const auto bytes = cppu::UnoType<css::uno::Sequence<sal_Int8>>::get();
        const css::datatransfer::DataFlavor text(rtl::OUString("text/plain;charset=utf-16"), rtl::OUString("Text"),
                                                 cppu::UnoType<rtl::OUString>::get());
        if (!formatted_)
            return css::uno::Sequence<css::datatransfer::DataFlavor>(&text, 1);
        const css::datatransfer::DataFlavor flavors[] = {
            css::datatransfer::DataFlavor(rtl::OUString("text/rtf"), rtl::OUString("Rich Text Format"), bytes),
            css::datatransfer::DataFlavor(rtl::OUString("text/richtext"), rtl::OUString("Rich Text Format"), bytes),
            text};
        return css::uno::Sequence<css::datatransfer::DataFlavor>(flavors, 3);
    }

    sal_Bool SAL_CALL isDataFlavorSupported(const css::datatransfer::DataFlavor& flavor) override
    {
        return (formatted_ && isRtf(flavor)) || isText(flavor);
    }

private:
    static bool isRtf(const css::datatransfer::DataFlavor& flavor)
    {
        return flavor.MimeType.startsWith("text/rtf") || flavor.MimeType.startsWith("text/richtext");
    }

    static bool isText(const css::datatransfer::DataFlavor& flavor)
    {
        return flavor.MimeType.startsWith("text/plain") && flavor.DataType == cppu::UnoType<rtl::OUString>::get();
    }

    css::uno::Sequence<sal_Int8> rtf_;
    rtl::OUString text_;
    bool formatted_;
};

template <class Call>
auto unoCall(Call&& call)
{
    return [&] {
        try {
            return call();
        } catch (const css::uno::Exception& error) {
            throw OfficeError(describeCaughtUnoError(error));
        }
    };
}

// The frame's title, when it shows a document (the Start Center is a frame
// too, but holds none to paste into).
QString documentTitle(const Reference<css::frame::XFrame>& frame)
{
    const Reference<css::frame::XController> controller = frame.is() ? frame->getController() : nullptr;
    const Reference<css::frame::XTitle> title(frame, UNO_QUERY);
    if (!controller.is() || !controller->getModel().is() || !title.is())
        return {};
    return fromOffice(title->getTitle());
}

void bringToFront(const Reference<css::frame::XFrame>& frame)
{
    const Reference<css::awt::XTopWindow> top(frame->getContainerWindow(), UNO_QUERY);
    if (top.is())
        top->toFront();
    frame->activate();
}

bool showsTextDocument(const Reference<css::frame::XFrame>& frame)
{
    const Reference<css::frame::XController> controller = frame->getController();
    return controller.is() && Reference<css::text::XTextDocument>(controller->getModel(), UNO_QUERY).is();
}

QList<Reference<css::frame::XFrame>> documentFrames(const Reference<css::frame::XDesktop>& desktop)
{
    const Reference<css::frame::XFramesSupplier> supplier(desktop, UNO_QUERY_THROW);
    const Reference<css::container::XIndexAccess> frames(supplier->getFrames(), UNO_QUERY_THROW);
    QList<Reference<css::frame::XFrame>> result;
    for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
        Reference<css::frame::XFrame> frame;
        frames->getByIndex(i) >>= frame;
        if (!documentTitle(frame).isEmpty())
            result << frame;
    }
    return result;
}

// What the frame's document holds at this moment, reduced to a value that any
// change of its text, its undo list or its cursor changes: a paste into a
// table cell or a text frame leaves the body's text as it was.
QByteArray documentState(const Reference<css::frame::XFrame>& frame)
{
    const Reference<css::frame::XController> controller = frame->getController();
    if (!controller.is())
        throw css::uno::RuntimeException(rtl::OUString("the document was closed"));
    QCryptographicHash state(QCryptographicHash::Sha1);
    const Reference<css::text::XTextDocument> text(controller->getModel(), UNO_QUERY);
    if (text.is())
        state.addData(QByteArrayView(fromOffice(text->getText()->getString()).toUtf8()));
    const Reference<css::document::XUndoManagerSupplier> undo(controller->getModel(), UNO_QUERY);
    if (undo.is()) {
        for (const rtl::OUString& action : undo->getUndoManager()->getAllUndoActionTitles())
            state.addData(QByteArrayView(fromOffice(action).toUtf8() + '\n'));
    }
    const Reference<css::text::XTextViewCursorSupplier> view(controller, UNO_QUERY);
    if (view.is()) {
        const css::awt::Point at = view->getViewCursor()->getPosition();
        state.addData(QByteArrayView(QByteArray::number(at.X) + ',' + QByteArray::number(at.Y)));
    }
    return state.result();
}

}  // namespace

UnoOfficeAutomation::UnoOfficeAutomation(QString pipeName, QStringList officeArguments)
    : pipeName_(std::move(pipeName)), officeArguments_(std::move(officeArguments))
{
}

QString UnoOfficeAutomation::sessionPipeName()
{
    return QStringLiteral("vorlin_") + graphicalSessionName();
}

template <class Call>
auto UnoOfficeAutomation::officeCall(const WriterConnection& writer, Call&& call)
{
    // A frozen office must not freeze the program: the call is abandoned by
    // cutting the connection, which makes the waiting call return.
    const Reference<css::connection::XConnection> pipe = writer.pipe;
    try {
        WaitLimits limits;
        limits.timeLimitMs = callTimeLimitMs;
        limits.abandon = [pipe] {
            try {
                pipe->close();
            } catch (const css::uno::Exception&) {
            }
        };
        return awayFromGuiThread(unoCall(call), limits);
    } catch (const CallTimedOut&) {
        throw OfficeError(notAnswering());
    }
}

QString UnoOfficeAutomation::notAnswering() const
{
    return QStringLiteral("LibreOffice neodpovídá (déle než %1 s), program na něj přestal čekat. Až LibreOffice "
                          "opět odpoví, zkontrolujte dokument, do kterého se vkládalo.")
        .arg(callTimeLimitMs / 1000);
}

UnoOfficeAutomation::Office UnoOfficeAutomation::ownOffice() const
{
    return {pipeName_, officeArguments_};
}

QList<UnoOfficeAutomation::Office> UnoOfficeAutomation::otherOfficesHere() const
{
    // Each profile's office opens a pipe of its own: two offices cannot
    // listen on one name.
    const QString own = officeProfile(officeArguments_);
    QList<Office> others;
    for (const QString& profile : officeProfilesHere()) {
        if (profile == own)
            continue;
        const QByteArray key = QCryptographicHash::hash(profile.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
        Office office{pipeName_ + u'_' + QString::fromLatin1(key), {}};
        if (!profile.isEmpty())
            office.arguments << QStringLiteral("-env:UserInstallation=") + profile;
        others << office;
    }
    return others;
}

bool UnoOfficeAutomation::ConnectWriter(WriterConnection& writer, Reach reach, const Office& office)
{
    if (!officeInstalled())
        throw OfficeError(QStringLiteral("Invalid class string, ProgID: \"com.sun.star.ServiceManager\""));
    bool refused = false;
    writer.pipe = awayFromGuiThread(unoCall([&] {
        // Nobody listens: the office opens the pipe, started if need be. A
        // start with the office's own profile hands the request to the
        // office that runs with it, which starts nothing.
        bool asked = false;
        std::chrono::steady_clock::time_point deadline;
        try {
            return connectToPipe(office.pipeName, [&] {
                if (!asked) {
                    refused = reach == Reach::Listening
                        || (reach == Reach::Running && !officeProfilesHere().contains(officeProfile(office.arguments)));
                    if (refused)
                        return false;
                    QStringList arguments = office.arguments;
                    arguments << QStringLiteral("--accept=pipe,name=%1;urp;").arg(office.pipeName);
                    if (!startDetachedForUser(officeProgramDir() + QStringLiteral("/soffice"), arguments))
                        throw OfficeError(QStringLiteral("Server execution failed"));
                    asked = true;
                    // An office that runs opens the pipe at once; one that does
                    // not within the call limit counts as frozen.
                    const int waitMs = reach == Reach::Running ? callTimeLimitMs : startTimeoutMs;
                    deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
                    if (writer.conversation)
                        writer.conversation->allow(waitMs + callTimeLimitMs);
                }
                return std::chrono::steady_clock::now() < deadline;
            });
        } catch (const css::connection::NoConnectException&) {
            if (refused)
                return Reference<css::connection::XConnection>();
            throw;
        }
    }));
    if (!writer.pipe.is())
        return false;
    if (writer.conversation)
        writer.conversation->hold(writer.pipe);
    // A frozen office takes the connection but never answers on it.
    officeCall(writer, [&] {
        const PipeBridge bridge = bridgeOver(writer.pipe, "StarOffice.ServiceManager");
        writer.bridge = bridge.bridge;
        writer.serviceManager.set(bridge.instance, UNO_QUERY_THROW);
        writer.desktop.set(writer.serviceManager->createInstance(rtl::OUString("com.sun.star.frame.Desktop")),
                           UNO_QUERY_THROW);
    });
    return true;
}

bool UnoOfficeAutomation::isRunning()
{
    try {
        WriterConnection writer;
        return ConnectWriter(writer, Reach::Running, ownOffice()) || !otherOfficesHere().isEmpty();
    } catch (const Error&) {
        return false;  // one that does not answer
    }
}

QStringList UnoOfficeAutomation::openDocuments()
{
    // Every office of the user that shows windows here, whatever its profile.
    QStringList titles;
    for (const Office& office : QList<Office>{ownOffice()} + otherOfficesHere()) {
        WriterConnection writer;
        try {
            if (!ConnectWriter(writer, Reach::Running, office))
                continue;
        } catch (const ForeignPipeError&) {
            throw;  // the user learns that another user's program waits there
        } catch (const Error&) {
            continue;  // not installed, or not answering the connection
        }
        titles << officeCall(writer, [&] {
            QStringList shown;
            for (const Reference<css::frame::XFrame>& frame : documentFrames(writer.desktop))
                if (showsTextDocument(frame))
                    shown << documentTitle(frame);
            return shown;
        });
    }
    return titles;
}

namespace {

// Only the document with that title in the office: another office must not
// get a paste meant for a document it does not show.
Reference<css::frame::XFrame> frameTitled(const Reference<css::frame::XDesktop>& desktop, const QString& title)
{
    for (const Reference<css::frame::XFrame>& candidate : documentFrames(desktop))
        if (documentTitle(candidate) == title)
            return candidate;
    return {};
}

}  // namespace

void UnoOfficeAutomation::pasteInto(const QString& title, const PastedSnippet& snippet, bool formatted, bool activated)
{
    // One conversation on one worker, its polling done there: the window
    // keeps repainting and answering the clipboard meanwhile, takes no
    // input (so no second insertion), and the whole is given up once the
    // office stops answering for the call limit.
    Conversation conversation;
    conversation.allow(callTimeLimitMs);
    WaitLimits limits;
    limits.stopWhen = [&conversation] { return conversation.expired(); };
    limits.abandon = [&conversation] { conversation.cut(); };
    try {
        awayFromGuiThread([&] { converse(conversation, title, snippet, formatted, activated); }, limits);
    } catch (const CallStopped&) {
        throw OfficeError(notAnswering());
    }
}

void UnoOfficeAutomation::converse(Conversation& conversation, const QString& title, const PastedSnippet& snippet,
                                   bool formatted, bool activated)
{
    // Each step that answered gives the next the whole call limit.
    const auto answered = [&] { conversation.allow(callTimeLimitMs); };
    // The office that shows the document: the program's own, else another
    // of the user's here (one run with a profile of its own), else the
    // program's own started now, which shows no document yet.
    auto writer = std::make_unique<WriterConnection>(&conversation);
    Reference<css::frame::XFrame> frame;
    const bool ownRuns = ConnectWriter(*writer, Reach::Running, ownOffice());
    if (ownRuns)
        frame = officeCall(*writer, [&] { return frameTitled(writer->desktop, title); });
    for (const Office& office : frame.is() ? QList<Office>() : otherOfficesHere()) {
        auto other = std::make_unique<WriterConnection>(&conversation);
        if (!ConnectWriter(*other, Reach::Running, office))
            continue;
        frame = officeCall(*other, [&] { return frameTitled(other->desktop, title); });
        if (frame.is()) {
            writer = std::move(other);
            break;
        }
    }
    if (!frame.is() && !ownRuns) {
        ConnectWriter(*writer, Reach::Always, ownOffice());
        frame = officeCall(*writer, [&] { return frameTitled(writer->desktop, title); });
    }
    if (!frame.is())
        throw OfficeError(
            QStringLiteral("Dokument „%1“ se v LibreOffice nepodařilo najít, nic do něj nebylo vloženo.").arg(title));
    answered();
    // The office learns that the desktop activated one of its windows a
    // moment after the desktop reports it; its cursor is the one it shows.
    if (activated) {
        QElapsedTimer waited;
        waited.start();
        while (!waited.hasExpired(kWriterFrameWaitMs)
               && officeCall(*writer, [&] { return documentTitle(writer->desktop->getCurrentFrame()); }) != title)
            pauseServingEvents(10);
    }
    // A desktop that shows no windows to others (Wayland) is asked by the
    // office itself to bring the document up; the paste goes to the
    // document's frame whether the desktop grants that or not.
    if (!activated)
        officeCall(*writer, [&] { bringToFront(frame); });
    answered();
    const QByteArray before = officeCall(*writer, [&] { return documentState(frame); });
    // Handed to the document's own view, as a paste from the clipboard would
    // be, with the same import (RTF, or the plain text).
    officeCall(*writer, [&] {
        const Reference<css::datatransfer::XTransferableSupplier> view(frame->getController(), UNO_QUERY_THROW);
        view->insertTransferable(new SnippetTransferable(snippet, formatted));
    });
    answered();
    // The office reports no failure of a paste: the document tells.
    QElapsedTimer waited;
    waited.start();
    while (officeCall(*writer, [&] { return documentState(frame); }) == before) {
        if (waited.hasExpired(kWriterChangeWaitMs))
            throw OfficeError(
                QStringLiteral("LibreOffice do dokumentu „%1“ nic nevložil.").arg(title));
        pauseServingEvents(50);
    }
}

}  // namespace vorlin::platform
