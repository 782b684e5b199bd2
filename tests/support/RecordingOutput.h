#pragma once

#include "platform/DesktopWindows.h"
#include "platform/OfficeAutomation.h"
#include "platform/WordAutomation.h"

#include "support/QtPrinters.h"

#include <QStringList>

namespace vorlin::test {

// The desktop, the office and Word of the output tests: nothing happens,
// every call is written into one shared log, in order, and a call may be
// made to fail.
class CallLog {
public:
    QStringList calls;
    // A call whose log line starts with this fails, after being logged,
    // with this message.
    QString failAt;
    QString failure = QStringLiteral("Chyba v kanceláři");

    void record(const QString& call)
    {
        calls << call;
        if (!failAt.isEmpty() && call.startsWith(failAt))
            throw platform::OfficeError(failure);
    }
};

// An object of the office known by its name.
class NamedObject : public platform::OfficeObject {
public:
    explicit NamedObject(QString name) : name(std::move(name)) {}
    QString name;
};

inline platform::OfficeRef named(const QString& name)
{
    return std::make_shared<const NamedObject>(name);
}

inline QString nameOf(const platform::OfficeRef& ref)
{
    const auto* object = dynamic_cast<const NamedObject*>(ref.get());
    return object ? object->name : QStringLiteral("null");
}

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
    }

    CallLog& log;
    QList<platform::TopLevelWindow> windows;
};

class RecordingOffice : public platform::OfficeAutomation {
public:
    explicit RecordingOffice(CallLog& log) : log(log) {}

    platform::OfficeRef connect() override
    {
        log.record(QStringLiteral("connect"));
        return named(QStringLiteral("ServiceManager"));
    }
    platform::OfficeRef createInstance(const platform::OfficeRef& serviceManager, const QString& serviceName) override
    {
        log.record(QStringLiteral("createInstance %1 %2").arg(nameOf(serviceManager), serviceName));
        return named(serviceName.section(u'.', -1));
    }
    platform::OfficeRef currentFrame(const platform::OfficeRef& desktop) override
    {
        log.record(QStringLiteral("currentFrame %1").arg(nameOf(desktop)));
        return frameTitles.isEmpty() ? platform::OfficeRef() : named(QStringLiteral("Frame"));
    }
    QString frameTitle(const platform::OfficeRef& frame) override
    {
        log.record(QStringLiteral("frameTitle %1").arg(nameOf(frame)));
        // Each question gets the next title; the last one stays.
        return frameTitles.size() > 1 ? frameTitles.takeFirst() : frameTitles.value(0);
    }
    platform::OfficeRef frameTitled(const platform::OfficeRef& desktop, const QString& title) override
    {
        log.record(QStringLiteral("frameTitled %1 %2").arg(nameOf(desktop), title));
        return documents.contains(title) ? named(QStringLiteral("Frame")) : platform::OfficeRef();
    }
    QByteArray documentState(const platform::OfficeRef& frame) override
    {
        log.record(QStringLiteral("documentState %1").arg(nameOf(frame)));
        return QByteArray::number(pastes);
    }
    void executeDispatch(const platform::OfficeRef& dispatcher, const platform::OfficeRef& frame,
                         const QString& commandUrl, const QString& targetFrameName, qint32 searchFlags,
                         const QList<platform::OfficeRef>& arguments) override
    {
        QStringList list;
        for (const platform::OfficeRef& argument : arguments)
            list << nameOf(argument);
        log.record(QStringLiteral("executeDispatch %1 %2 %3 \"%4\" %5 [%6]")
                       .arg(nameOf(dispatcher), nameOf(frame), commandUrl, targetFrameName)
                       .arg(searchFlags)
                       .arg(list.join(QStringLiteral(", "))));
        if (pastesArrive)
            ++pastes;
    }
    platform::OfficeRef propertyValue(const platform::OfficeRef& reflection, const QString& name,
                                      const QVariant& value) override
    {
        const QString property = QStringLiteral("%1=%2:%3").arg(name, value.toString(), QString::fromLatin1(value.typeName()));
        log.record(QStringLiteral("propertyValue %1 %2").arg(nameOf(reflection), property));
        return named(property);
    }
    void release() override { log.record(QStringLiteral("release")); }

    CallLog& log;
    // The titles the current frame shows, one per question; none: no frame.
    QStringList frameTitles{QStringLiteral("Dopis.odt - LibreOffice Writer")};
    // The documents the office shows, whatever its current frame.
    QStringList documents{QStringLiteral("Dopis.odt - LibreOffice Writer")};
    // Whether a dispatched paste changes the document.
    bool pastesArrive = true;
    int pastes = 0;
};

class RecordingWord : public platform::WordAutomation {
public:
    explicit RecordingWord(CallLog& log) : log(log) {}

    platform::OfficeRef activeApplication() override
    {
        log.record(QStringLiteral("activeApplication"));
        return named(QStringLiteral("Application"));
    }
    platform::OfficeRef selection(const platform::OfficeRef& application) override
    {
        log.record(QStringLiteral("selection %1").arg(nameOf(application)));
        return named(QStringLiteral("Selection"));
    }
    void paste(const platform::OfficeRef& selection) override
    {
        log.record(QStringLiteral("paste %1").arg(nameOf(selection)));
    }
    void pasteAndFormat(const platform::OfficeRef& selection, qint32 pasteType) override
    {
        log.record(QStringLiteral("pasteAndFormat %1 %2").arg(nameOf(selection)).arg(pasteType));
    }

    CallLog& log;
};

}  // namespace vorlin::test
