#pragma once

// A stand-in for the desktop's portal on a private session bus, started by a
// case: a Python script that answers as the portal does and writes down
// every call it receives.
#include "support/TempDir.h"

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace vorlin::test {

class StandInPortal : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (QProcess* process : {&portal, &bus}) {
            process->kill();
            process->waitForFinished(3000);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("portal-test"));
    }

    // A private bus with the script's portal, granting or refusing; the
    // connection to it.
    QDBusConnection startPortal(const char* script, const char* mode)
    {
        bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                  QStringLiteral("--print-address=1")});
        EXPECT_TRUE(bus.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        portal.setProcessEnvironment(environment);
        portal.start(QStringLiteral("/usr/bin/python3"), {QString::fromUtf8(script), log(), QString::fromLatin1(mode)});
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls().contains(QStringLiteral("ready")); }, 10000))
            << portal.readAllStandardError().toStdString();
        return QDBusConnection::connectToBus(address, QStringLiteral("portal-test"));
    }

    QString log() const { return dir.file(QStringLiteral("portal.log")); }

    // The calls the portal received since "ready".
    QStringList calls() const
    {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    TempDir dir;
    QProcess bus;
    QProcess portal;
};

}  // namespace vorlin::test
