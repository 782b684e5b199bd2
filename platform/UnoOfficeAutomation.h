#pragma once

#include "platform/OfficeAutomation.h"

#include <QStringList>

namespace vorlin::platform {

// The user's own LibreOffice reached through UNO over a named pipe of this
// user and session (and of the office's profile, when the user runs offices
// with profiles of their own). When nothing listens on the pipe, the office is asked to
// open it (a running office takes the request over; otherwise the office
// starts). Every call runs away from the GUI thread, which keeps serving its
// events meanwhile, and is given up after a time limit; an insertion is one
// conversation on one worker. Each request has a connection of its own, let
// go when it ends.
class UnoOfficeAutomation : public OfficeAutomation {
public:
    // The office's own command-line arguments come before the pipe's (a
    // private profile for tests, say).
    explicit UnoOfficeAutomation(QString pipeName = sessionPipeName(), QStringList officeArguments = {});

    // The pipe of this user's office in this graphical session: pipes are
    // per user only, and an office on another display would paste that
    // display's clipboard.
    static QString sessionPipeName();

    bool isRunning() override;
    QStringList openDocuments() override;
    void pasteInto(const QString& title, const PastedSnippet& snippet, bool formatted, bool activated) override;

    // How long a starting office may take to open its pipe.
    int startTimeoutMs = 60000;
    // How long any other call may take before the office counts as frozen.
    int callTimeLimitMs = 10000;
    // How long the office may take to make a just activated window its
    // current frame, and a pasted document to show the change.
    static constexpr int kWriterFrameWaitMs = 1000;
    static constexpr int kWriterChangeWaitMs = 1500;

private:
    struct Conversation;
    struct WriterConnection;
    // One insertion, on the worker of its conversation.
    void converse(Conversation& conversation, const QString& title, const PastedSnippet& snippet, bool formatted,
                  bool activated);
    // An office: the pipe the program asks it to open, the arguments that
    // make a start with them reach it (its profile).
    struct Office {
        QString pipeName;
        QStringList arguments;
    };
    Office ownOffice() const;
    // The user's other offices that show windows here (a profile of their own).
    QList<Office> otherOfficesHere() const;
    // When nobody listens on the office's pipe: give up, ask the office if
    // it runs here (one started from the menu listens on none), or ask it,
    // started if it does not run.
    enum class Reach { Listening, Running, Always };
    // Fills the conversation: the office's service manager over the pipe,
    // its desktop. False when nobody listens and the reach gives up.
    bool ConnectWriter(WriterConnection& writer, Reach reach, const Office& office);
    template <class Call>
    auto officeCall(const WriterConnection& writer, Call&& call);
    QString notAnswering() const;

    QString pipeName_;
    QStringList officeArguments_;
};

}  // namespace vorlin::platform
