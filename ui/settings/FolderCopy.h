#pragma once

#include <QString>

#include <functional>

namespace vorlin {

// Copies a folder with everything in it into another folder, as the backup of
// the data folder does. Each file goes to a temporary name first and is
// renamed when whole, so a failure (a full disk) leaves no half-written file
// under a final name. Before a file of an earlier copy is replaced the caller
// is asked.
class FolderCopy {
public:
    enum class Answer { Yes, YesToAll, No, Cancel };

    // Asked before an existing file is replaced.
    std::function<Answer(const QString& target)> askReplace = [](const QString&) { return Answer::Yes; };
    // Told after every piece copied: bytes done and in all; false stops the copy.
    std::function<bool(qint64 done, qint64 total)> progress = [](qint64, qint64) { return true; };
    // Copies one file itself, for files that need care (an open database);
    // false when it does not take this file.
    std::function<bool(const QString& source, const QString& temporary)> copySpecial =
        [](const QString&, const QString&) { return false; };
    // Files not copied at all (the passing pieces of a database written meanwhile).
    std::function<bool(const QString& source)> leaveOut = [](const QString&) { return false; };

    // True when everything was copied (files the user chose to keep count as
    // copied); false on a failure or a cancel, with the reason in error.
    bool copy(const QString& sourceFolder, const QString& targetFolder);

    const QString& error() const { return error_; }

private:
    bool copyFile(const QString& source, const QString& target, qint64 total);

    QString error_;
    bool replaceAll_ = false;
    qint64 done_ = 0;
};

}  // namespace vorlin
