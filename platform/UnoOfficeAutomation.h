#pragma once

#include "platform/OfficeAutomation.h"

#include <QStringList>

#include <memory>

namespace vorlin::platform {

// The user's own LibreOffice reached through UNO over a named pipe of this
// user. When nothing listens on the pipe, the office is asked to open it (a
// running office takes the request over; otherwise the office starts). Every
// call runs away from the GUI thread, which keeps serving the clipboard the
// office may ask this program for meanwhile.
class UnoOfficeAutomation : public OfficeAutomation {
public:
    // The office's own command-line arguments come before the pipe's (a
    // private profile for tests, say).
    explicit UnoOfficeAutomation(QString pipeName = sessionPipeName(), QStringList officeArguments = {});
    ~UnoOfficeAutomation() override;

    // The pipe of this user's office in this graphical session: pipes are
    // per user only, and an office on another display would paste that
    // display's clipboard.
    static QString sessionPipeName();

    OfficeRef connect() override;
    OfficeRef createInstance(const OfficeRef& serviceManager, const QString& serviceName) override;
    OfficeRef currentFrame(const OfficeRef& desktop) override;
    QString frameTitle(const OfficeRef& frame) override;
    OfficeRef frameTitled(const OfficeRef& desktop, const QString& title) override;
    QByteArray documentState(const OfficeRef& frame) override;
    void executeDispatch(const OfficeRef& dispatcher, const OfficeRef& frame, const QString& commandUrl,
                         const QString& targetFrameName, qint32 searchFlags, const QList<OfficeRef>& arguments) override;
    OfficeRef propertyValue(const OfficeRef& reflection, const QString& name, const QVariant& value) override;
    void release() override;

    // How long a starting office may take to open its pipe.
    int startTimeoutMs = 60000;
    // How long any other call may take before the office counts as frozen.
    int callTimeLimitMs = 10000;

private:
    struct Bridge;
    template <class Call>
    auto officeCall(Call&& call);
    QString notAnswering() const;
    QString pipeName_;
    QStringList officeArguments_;
    std::unique_ptr<Bridge> bridge_;
};

}  // namespace vorlin::platform
