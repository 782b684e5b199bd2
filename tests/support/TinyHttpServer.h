#pragma once

#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <functional>
#include <memory>
#include <utility>

namespace vorlin::test {

// A small HTTP server on 127.0.0.1 that serves from its own thread while
// the program waits: every request gets one status and body after a delay,
// or the status (with more header lines, if any) and body its path is
// answered with, all at once or a byte every `trickleMs`.
class TinyHttpServer : public QThread {
public:
    using Answer = std::function<std::pair<QByteArray, QByteArray>(const QByteArray& path)>;

    TinyHttpServer(QByteArray status, QByteArray body, int delayMs = 0)
        : TinyHttpServer([status, body](const QByteArray&) { return std::pair(status, body); }, delayMs)
    {
    }
    explicit TinyHttpServer(Answer answer, int delayMs = 0, int trickleMs = 0)
        : answer_(std::move(answer)), delayMs_(delayMs), trickleMs_(trickleMs)
    {
        start();
        while (port_.loadAcquire() == 0)
            QThread::msleep(1);
    }
    ~TinyHttpServer() override
    {
        requestInterruption();
        wait();
    }
    QByteArray address() const { return "http://127.0.0.1:" + QByteArray::number(port_.loadAcquire()); }
    QByteArray url() const { return address() + "/vorlin.txt"; }
    // The path of the last request ("/rest/ekonomicke-subjekty/27074358").
    QByteArray lastPath() const
    {
        QMutexLocker lock(&mutex_);
        return lastPath_;
    }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        port_.storeRelease(server.serverPort());
        while (!isInterruptionRequested()) {
            if (!server.waitForNewConnection(50))
                continue;
            std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
            QByteArray request;
            while (!request.contains("\r\n\r\n") && socket->waitForReadyRead(1000))
                request += socket->readAll();
            const QByteArray path = request.split(' ').value(1);
            {
                QMutexLocker lock(&mutex_);
                lastPath_ = path;
            }
            const auto [status, body] = answer_(path);
            for (int waited = 0; waited < delayMs_ && !isInterruptionRequested(); waited += 10)
                QThread::msleep(10);
            socket->write("HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size())
                          + "\r\nConnection: close\r\n\r\n" + (trickleMs_ ? QByteArray() : body));
            for (qsizetype sent = 0; trickleMs_ && sent < body.size() && !isInterruptionRequested()
                                     && socket->state() == QAbstractSocket::ConnectedState;
                 ++sent) {
                socket->write(body.sliced(sent, 1));
                socket->waitForBytesWritten(1000);
                QThread::msleep(trickleMs_);
            }
            socket->waitForBytesWritten(1000);
            socket->disconnectFromHost();
        }
    }

private:
    Answer answer_;
    int delayMs_;
    int trickleMs_ = 0;
    QAtomicInt port_ = 0;
    mutable QMutex mutex_;
    QByteArray lastPath_;
};

}  // namespace vorlin::test
