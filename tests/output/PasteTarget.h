#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorlin::test {

// The editor window of another process (paste_target), started and read.
class PasteTarget {
public:
    PasteTarget();
    ~PasteTarget();

    // Started, shown and made the active window; false when it did not come.
    bool start();

    // The editor's text after the next change, with the time it came (in
    // milliseconds since the epoch), waiting for it while this process serves
    // its events (the clipboard among them) in an event loop of its own.
    struct Change {
        qint64 at = 0;
        QString text;
    };
    std::optional<Change> nextChange(int timeoutMs);

    // When the last Ctrl+V reached the editor, or 0.
    qint64 lastKeyAt() const { return lastKeyAt_; }
    // The forms the clipboard offered to the last paste.
    const QStringList& lastFormats() const { return lastFormats_; }

private:
    QProcess process_;
    qint64 lastKeyAt_ = 0;
    QStringList lastFormats_;
};

// Runs a helper program (xdotool, xclip, setxkbmap) to its end while this
// process serves its events; its standard output.
QByteArray runTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr);

}  // namespace vorlin::test
