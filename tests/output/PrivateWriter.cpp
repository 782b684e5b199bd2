#include "PrivateWriter.h"

#include "platform/UnoContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

#include <com/sun/star/awt/FontSlant.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <csignal>
#include <unistd.h>

namespace vorlin::test {

namespace css = com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using platform::fromOffice;
using platform::toOffice;

struct PrivateWriter::Connection {
    Reference<css::frame::XDesktop2> desktop;
};

namespace {

const char kProfileSettings[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="ShowTipOfTheDay" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Setup/Office"><prop oor:name="ooSetupInstCompleted" oor:op="fuse"><value>true</value></prop></item>
</oor:items>
)";

Reference<css::lang::XComponent> documentOf(const Reference<css::frame::XDesktop2>& desktop, const QString& fileName)
{
    const Reference<css::container::XEnumeration> components = desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
        Reference<css::frame::XModel> model(components->nextElement(), UNO_QUERY);
        if (model.is() && fromOffice(model->getURL()).endsWith(u'/' + fileName))
            return Reference<css::lang::XComponent>(model, UNO_QUERY);
    }
    return {};
}

template <class T>
T property(const Reference<css::beans::XPropertySet>& set, const char* name)
{
    T value{};
    set->getPropertyValue(rtl::OUString::createFromAscii(name)) >>= value;
    return value;
}

}  // namespace

QString PrivateWriter::Paragraph::text() const
{
    QString all;
    for (const Run& run : runs)
        all += run.text;
    return all;
}

PrivateWriter::PrivateWriter()
    : pipeName_(QStringLiteral("vorlin_test_%1_%2").arg(::getpid()).arg(quintptr(this), 0, 16))
{
    profile_.write(QStringLiteral("user/registrymodifications.xcu"), kProfileSettings);
}

PrivateWriter::~PrivateWriter()
{
    stop();
}

QStringList PrivateWriter::profileArguments() const
{
    return {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile_.path()).toString()};
}

QString PrivateWriter::windowTitle(const QString& fileName)
{
    return fileName + QStringLiteral(" - LibreOffice Writer");
}

bool PrivateWriter::start(int timeoutMs)
{
    // A group of its own, so that the office's real process goes with it.
    process_.setChildProcessModifier([] { ::setpgid(0, 0); });
    QStringList arguments = profileArguments();
    arguments << QStringLiteral("--norestore") << QStringLiteral("--nologo") << QStringLiteral("--nolockcheck")
              << QStringLiteral("--nodefault") << QStringLiteral("--accept=pipe,name=%1;urp;").arg(pipeName_);
    if (headless)
        arguments << QStringLiteral("--headless");
    // On X11 the office's own X11 face, whatever else is installed: with the
    // GTK 3 face a second office of the user waits some 90 s for the first
    // on the session bus. A test that wants GTK 3 (Wayland) says so.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!headless && !environment.contains(QStringLiteral("SAL_USE_VCLPLUGIN"))
        && !environment.contains(QStringLiteral("WAYLAND_DISPLAY")))
        environment.insert(QStringLiteral("SAL_USE_VCLPLUGIN"), QStringLiteral("gen"));
    process_.setProcessEnvironment(environment);
    process_.start(platform::officeProgramDir() + QStringLiteral("/soffice"), arguments);
    return process_.waitForStarted(10000) && connect(timeoutMs);
}

bool PrivateWriter::connect(int timeoutMs)
{
    const Reference<css::uno::XComponentContext> local = platform::localUnoContext();
    const Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(local);
    const rtl::OUString url = toOffice(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipeName_));
    Reference<css::uno::XComponentContext> remote;
    (void)QTest::qWaitFor([&] {
        try {
            remote.set(resolver->resolve(url), UNO_QUERY);
        } catch (const css::connection::NoConnectException&) {
        }
        return remote.is();
    }, timeoutMs);
    if (!remote.is())
        return false;
    delete connection_;
    connection_ = new Connection{css::frame::Desktop::create(remote)};
    return true;
}

bool PrivateWriter::newDocument(const QString& fileName, const QString& text, int cursorAt)
{
    // Under a heavy load an office with the GTK 3 face on Wayland now and then
    // never finishes making a window: it is given up, started again and
    // asked once more, instead of holding the case until its time limit.
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::atomic<int> outcome{-1};  // -1 running, 0 failed, 1 made
        QString failure;
        std::thread call([&] {
            failure = makeDocument(fileName, text, cursorAt);
            outcome = failure.isEmpty() ? 1 : 0;
        });
        const bool ended = QTest::qWaitFor([&] { return outcome >= 0; }, kDocumentLimitMs);
        if (!ended)
            signal(SIGKILL);  // the call comes back with the office's end
        call.join();
        if (ended) {
            if (outcome == 0)
                ADD_FAILURE() << "new document: " << failure.toStdString();
            return outcome == 1;
        }
        std::fprintf(stderr, "the office did not make the document within %d s: started again\n", kDocumentLimitMs / 1000);
        stop();
        if (!start())
            return false;
    }
    return false;
}

QString PrivateWriter::makeDocument(const QString& fileName, const QString& text, int cursorAt)
{
    if (!connection_)
        return QStringLiteral("no office");
    try {
        const Reference<css::frame::XComponentLoader> loader(connection_->desktop, UNO_QUERY_THROW);
        const Reference<css::lang::XComponent> component = loader->loadComponentFromURL(
            rtl::OUString("private:factory/swriter"), rtl::OUString("_blank"), 0, {});
        const Reference<css::text::XTextDocument> document(component, UNO_QUERY_THROW);
        document->getText()->setString(toOffice(text));
        const Reference<css::frame::XModel> model(component, UNO_QUERY_THROW);
        const Reference<css::text::XTextViewCursorSupplier> view(model->getCurrentController(), UNO_QUERY_THROW);
        const Reference<css::text::XTextViewCursor> cursor = view->getViewCursor();
        cursor->gotoStart(false);
        cursor->goRight(sal_Int16(cursorAt), false);
        const Reference<css::frame::XStorable> storable(component, UNO_QUERY_THROW);
        storable->storeAsURL(toOffice(QUrl::fromLocalFile(profile_.file(fileName)).toString()), {});
        return {};
    } catch (const css::uno::Exception& error) {
        return fromOffice(error.Message);
    }
}

bool PrivateWriter::saveDocument(const QString& path, const QString& text, const char* filterName)
{
    if (!connection_)
        return false;
    try {
        css::beans::PropertyValue hidden;
        hidden.Name = rtl::OUString("Hidden");
        hidden.Value <<= true;
        const Reference<css::frame::XComponentLoader> loader(connection_->desktop, UNO_QUERY_THROW);
        const Reference<css::lang::XComponent> component = loader->loadComponentFromURL(
            rtl::OUString("private:factory/swriter"), rtl::OUString("_blank"), 0,
            css::uno::Sequence<css::beans::PropertyValue>(&hidden, 1));
        Reference<css::text::XTextDocument>(component, UNO_QUERY_THROW)->getText()->setString(toOffice(text));
        css::beans::PropertyValue filter;
        filter.Name = rtl::OUString("FilterName");
        filter.Value <<= rtl::OUString::createFromAscii(filterName);
        Reference<css::frame::XStorable>(component, UNO_QUERY_THROW)
            ->storeToURL(toOffice(QUrl::fromLocalFile(path).toString()), css::uno::Sequence<css::beans::PropertyValue>(&filter, 1));
        Reference<css::util::XCloseable>(component, UNO_QUERY_THROW)->close(true);
        return true;
    } catch (const css::uno::Exception& error) {
        ADD_FAILURE() << "saving " << path.toStdString() << ": " << fromOffice(error.Message).toStdString();
        return false;
    }
}

QList<PrivateWriter::Paragraph> PrivateWriter::paragraphs(const QString& fileName)
{
    QList<Paragraph> list;
    if (!connection_)
        return list;
    try {
        const Reference<css::text::XTextDocument> document(documentOf(connection_->desktop, fileName), UNO_QUERY_THROW);
        const Reference<css::container::XEnumeration> paragraphs =
            Reference<css::container::XEnumerationAccess>(document->getText(), UNO_QUERY_THROW)->createEnumeration();
        while (paragraphs->hasMoreElements()) {
            const Any element = paragraphs->nextElement();
            const Reference<css::beans::XPropertySet> paragraphProperties(element, UNO_QUERY_THROW);
            Paragraph paragraph;
            paragraph.adjust = property<sal_Int16>(paragraphProperties, "ParaAdjust");
            const Reference<css::container::XEnumeration> portions =
                Reference<css::container::XEnumerationAccess>(element, UNO_QUERY_THROW)->createEnumeration();
            while (portions->hasMoreElements()) {
                const Any portion = portions->nextElement();
                const Reference<css::beans::XPropertySet> properties(portion, UNO_QUERY_THROW);
                Run run;
                run.text = fromOffice(Reference<css::text::XTextRange>(portion, UNO_QUERY_THROW)->getString());
                if (run.text.isEmpty())
                    continue;
                run.font = fromOffice(property<rtl::OUString>(properties, "CharFontName"));
                run.height = property<float>(properties, "CharHeight");
                run.weight = property<float>(properties, "CharWeight");
                run.posture = int(property<css::awt::FontSlant>(properties, "CharPosture"));
                run.underline = property<sal_Int16>(properties, "CharUnderline");
                run.colour = property<sal_Int32>(properties, "CharColor");
                run.highlight = property<sal_Int32>(properties, "CharBackColor");
                run.escapement = property<sal_Int16>(properties, "CharEscapement");
                paragraph.runs << run;
            }
            list << paragraph;
        }
    } catch (const css::uno::Exception& error) {
        ADD_FAILURE() << "reading " << fileName.toStdString() << ": " << fromOffice(error.Message).toStdString();
    }
    return list;
}

void PrivateWriter::stop()
{
    if (connection_) {
        try {
            const Reference<css::container::XEnumeration> components =
                connection_->desktop->getComponents()->createEnumeration();
            while (components->hasMoreElements()) {
                Reference<css::util::XCloseable> closeable(components->nextElement(), UNO_QUERY);
                if (closeable.is())
                    closeable->close(true);
            }
            connection_->desktop->terminate();
        } catch (const css::uno::Exception&) {
            // An office that went away already is stopped.
        }
        delete connection_;
        connection_ = nullptr;
    }
    if (process_.state() != QProcess::NotRunning) {
        if (!process_.waitForFinished(10000))
            ::kill(-pid_t(process_.processId()), SIGKILL);
        process_.waitForFinished(5000);
    }
    // An office started by the program under test is no child of this one:
    // it is known by its profile on its command line.
    if (!QTest::qWaitFor([this] { return officeProcesses().isEmpty(); }, 10000)) {
        for (const pid_t pid : officeProcesses())
            ::kill(pid, SIGKILL);
        (void)QTest::qWaitFor([this] { return officeProcesses().isEmpty(); }, 5000);
    }
}

void PrivateWriter::signal(int number) const
{
    for (const pid_t pid : officeProcesses())
        ::kill(pid, number);
}

QList<pid_t> PrivateWriter::officeProcesses() const
{
    const QByteArray profile = profileArguments().first().toUtf8();
    QList<pid_t> pids;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = pid_t(entry.toInt(&number));
        if (!number)
            continue;
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains(profile))
            pids << pid;
    }
    return pids;
}

QString PrivateWriter::texts(const QList<Paragraph>& paragraphs)
{
    QStringList list;
    for (const auto& paragraph : paragraphs)
        list << paragraph.text();
    return list.join(u'|');
}

}  // namespace vorlin::test
