#pragma once

#include "platform/DocumentConverter.h"

#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <memory>
#include <mutex>

namespace vorlin::platform {

// A LibreOffice of this converter's own, never the user's: headless, with a
// profile in a temporary folder (removed at the end) and a pipe of its own,
// both fresh at every start. It reaches no network, its memory is bounded and
// it ends with the program; a start removes what a killed run left behind.
// Documents are loaded hidden and read-only, with their macros and links
// left alone, and stored as "Text (encoded)" in MS_1250 with CR LF.
// start(), kill() and stop() belong to the thread that lives longest (the
// GUI thread): the office dies with the thread that started it.
class PrivateOfficeConverter : public DocumentConverter {
public:
    PrivateOfficeConverter();
    ~PrivateOfficeConverter() override;

    void prepare() override;
    void start() override;
    void convert(const QString& document, const QString& textFile) override;
    void kill() override;
    void stop() override;
    bool running() const override;
    bool convertsBesideAnother() const override { return true; }

    // Removes the profiles and pipes of runs that were killed with their
    // office: they are named after the program's process, which is gone.
    static void removeLeftoversOfEndedRuns();

    // The office's process, 0 when none runs.
    qint64 processId() const;

    // How long the office may take to open its pipe.
    int startTimeoutMs = 60000;
    // Off the network by a namespace of its own where the system allows it;
    // false keeps it off by the system-call filter alone.
    bool networkNamespace = true;

private:
    struct Connection;
    // A fresh profile and pipe, and the office started on them.
    void launchFresh();
    void launch();
    void killProcess();

    std::unique_ptr<QTemporaryDir> profile_;
    QString pipeName_;
    bool prepared_ = false;  // launched by prepare(), not yet waited for
    QObject life_;  // what prepare() asked for dies with the converter
    std::atomic<bool> lost_ = false;
    std::unique_ptr<QProcess> process_;
    std::shared_ptr<Connection> connection_;
    std::mutex mutex_;
};

}  // namespace vorlin::platform
