#pragma once

#include "platform/ClipboardControl.h"
#include "platform/DesktopWindows.h"
#include "platform/Keyboard.h"
#include "platform/OfficeAutomation.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

class QMimeData;

namespace vorlin {

// A snippet in the forms the clipboard offers it: RTF for word processors,
// HTML for browsers and mail programs, plain text for the rest.
struct ClipboardSnippet {
    QByteArray rtf;
    QString html;
    QString text;
};

// The forms offered on the clipboard; formatted, RTF and HTML beside the text.
std::unique_ptr<QMimeData> clipboardForms(const ClipboardSnippet& snippet, bool formatted);

// Puts a snippet chosen in the quick-insert pop-up where the user was
// writing: the window that had the focus when the pop-up was asked for.
// A Writer document gets it from the office directly; any other window
// through the clipboard and one Ctrl+V, typed once that window has the focus
// again; the paste counts as done when the program there takes the text
// from the clipboard. The clipboard's earlier contents (all their forms) can
// come back after that. When anything fails the snippet stays on the
// clipboard and the message names the window and what failed.
class QuickInsertion : public QObject {
    Q_OBJECT
public:
    struct Services {
        platform::Keyboard& keyboard;
        platform::DesktopWindows& desktop;
        platform::OfficeAutomation& office;
        // Reads the clipboard through the desktop, to check it before Ctrl+V.
        platform::ClipboardControl& clipboard = platform::NoClipboardControl::instance();
    };
    // How long each wait may take before it counts as failed.
    struct Limits {
        int focusMs = 2000;
        int pasteMs = 3000;
        int quietMs = 250;  // after the first request for the text, before the clipboard goes back
    };

    explicit QuickInsertion(Services services, QObject* parent = nullptr);
    explicit QuickInsertion(Services services, Limits limits, QObject* parent = nullptr);
    ~QuickInsertion() override;

    void setRestoreClipboard(bool restore) { restoreClipboard_ = restore; }

    // The window with the focus now is where the next snippet goes (called
    // before the pop-up shows).
    void rememberTarget();
    const std::optional<platform::TopLevelWindow>& target() const { return target_; }
    // The remembered window gets the focus back (after the pop-up was left
    // without a choice).
    void returnFocus();

    // Starts putting the snippet into the remembered window; finished()
    // tells how it ended. A run still going is given up first.
    void insert(const ClipboardSnippet& snippet, bool formatted);
    bool isRunning() const { return step_ != Step::Idle; }

Q_SIGNALS:
    // Empty when the snippet arrived, else the message for the user.
    void finished(const QString& failure);

private:
    enum class Step { Idle, AwaitingFocus, AwaitingPaste };
    void insertIntoWriter(const ClipboardSnippet& snippet, bool formatted);
    void offerOnClipboard(const ClipboardSnippet& snippet, bool formatted);
    void advance();
    bool targetHasFocus();
    void textTaken();
    void succeed();
    void fail(const QString& reason);

    Services services_;
    Limits limits_;
    bool restoreClipboard_ = true;
    std::optional<platform::TopLevelWindow> target_;
    Step step_ = Step::Idle;
    QTimer poll_;
    QTimer quiet_;
    QElapsedTimer stepClock_;
    bool activationAsked_ = false;
    bool chordSent_ = false;
    std::unique_ptr<QMimeData> previous_;  // the clipboard before, when it goes back
    QPointer<QMimeData> offered_;  // ours while the clipboard holds it
    QByteArray offeredText_;
};

// A failure message: the window by its title, what failed, and where the
// snippet is now.
QString quickInsertionFailure(const std::optional<platform::TopLevelWindow>& window, const QString& reason);

}  // namespace vorlin
