#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace vorlin {

// One running copy per user and display. A second start finds the first
// through a local socket, asks it to show its window (or to open the
// quick-insert pop-up) and ends; the socket
// left behind by a copy that crashed does not block the next start. The
// socket lives in a folder only the user can enter, and neither end talks to
// a process of another user; without such a folder every start runs alone.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Request { Show, QuickInsert };

    explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);

    // The socket of this user's copy on this display; empty when the user
    // has no private folder for it.
    static QString defaultName();

    // True when a running copy took the request.
    bool handOverToRunningCopy(Request request = Request::Show, int timeoutMs = 1000) const;

    // Takes the socket for this copy; false when that is not possible (the
    // program then runs without being found by later starts).
    bool listen();

Q_SIGNALS:
    void showRequested();
    void quickInsertRequested();

private:
    QString name_;
    QLocalServer server_;
};

}  // namespace vorlin
