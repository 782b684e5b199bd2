#pragma once

#include "platform/DocumentConverter.h"

#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <mutex>

namespace vorlin::platform {

// A LibreOffice of this converter's own, never the user's: headless, with a
// profile in a temporary folder (removed at the end) and a pipe of its own.
// Documents are loaded hidden and read-only, with their macros and links
// left alone, and stored as "Text (encoded)" in MS_1250 with CR LF.
class PrivateOfficeConverter : public DocumentConverter {
public:
    PrivateOfficeConverter();
    ~PrivateOfficeConverter() override;

    void start() override;
    void convert(const QString& document, const QString& textFile) override;
    void kill() override;
    void stop() override;

    // How long the office may take to open its pipe.
    int startTimeoutMs = 60000;

private:
    struct Connection;
    void killProcess();

    std::unique_ptr<QTemporaryDir> profile_;
    QString pipeName_;
    std::unique_ptr<QProcess> process_;
    std::shared_ptr<Connection> connection_;
    std::mutex mutex_;
};

}  // namespace vorlin::platform
