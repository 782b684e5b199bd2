#pragma once

#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <memory>

namespace vorlin::test {

// A small HTTP server on 127.0.0.1 that serves from its own thread while
// the program waits: every request gets one status and body after a delay.
class TinyHttpServer : public QThread {
public:
    TinyHttpServer(QByteArray status, QByteArray body, int delayMs = 0)
        : status_(std::move(status)), body_(std::move(body)), delayMs_(delayMs)
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
            {
                QMutexLocker lock(&mutex_);
                lastPath_ = request.split(' ').value(1);
            }
            for (int waited = 0; waited < delayMs_ && !isInterruptionRequested(); waited += 10)
                QThread::msleep(10);
            socket->write("HTTP/1.1 " + status_ + "\r\nContent-Length: " + QByteArray::number(body_.size())
                          + "\r\nConnection: close\r\n\r\n" + body_);
            socket->waitForBytesWritten(1000);
            socket->disconnectFromHost();
        }
    }

private:
    QByteArray status_;
    QByteArray body_;
    int delayMs_;
    QAtomicInt port_ = 0;
    mutable QMutex mutex_;
    QByteArray lastPath_;
};

}  // namespace vorlin::test
