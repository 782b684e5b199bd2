#pragma once

#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vorlin::test {

// A fresh folder for one test, removed afterwards. path() ends in "/", as the
// program's folders do.
class TempDir {
public:
    TempDir() { EXPECT_TRUE(dir_.isValid()); }

    QString path() const { return dir_.path() + u'/'; }
    QString file(const QString& name) const { return path() + name; }

    void write(const QString& name, const QByteArray& bytes) const
    {
        const QString target = file(name);
        QDir().mkpath(QFileInfo(target).path());
        QFile out(target);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << target.toStdString();
        out.write(bytes);
    }

    QByteArray read(const QString& name) const
    {
        QFile in(file(name));
        if (!in.open(QIODevice::ReadOnly))
            return {};
        return in.readAll();
    }

private:
    QTemporaryDir dir_;
};

}  // namespace vorlin::test
