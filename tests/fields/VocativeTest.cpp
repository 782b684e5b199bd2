// Names in the vocative, measured on a list of common Czech names.
#include "fields/Vocative.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>

using namespace vorlin::fields;

TEST(Vocative, CommonCzechNamesAreAddressedRightAlmostAlways)
{
    QFile file(QStringLiteral(VORLIN_SOURCE_DIR "tests/fields/data/vocatives.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    int names = 0;
    QStringList wrong;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList pair = line.split(u'\t');
        ASSERT_EQ(pair.size(), 2) << line.toStdString();
        ++names;
        const QString got = vocativeOf(pair[0]);
        if (got != pair[1])
            wrong << pair[0] + QStringLiteral(" → ") + got + QStringLiteral(" (") + pair[1] + u')';
    }
    ASSERT_GE(names, 300);
    const double accuracy = 100.0 * (names - wrong.size()) / names;
    std::printf("vocative_accuracy_%d_names: %.1f %%\n", names, accuracy);
    for (const QString& miss : wrong)
        std::printf("  %s\n", qPrintable(miss));
    EXPECT_GE(accuracy, 95.0);
}

TEST(Vocative, EachWordOfANameAndItsCaseAsTyped)
{
    EXPECT_EQ(vocativeOf(QStringLiteral("Petr  Novák")), QStringLiteral("Petře Nováku"));
    EXPECT_EQ(vocativeOf(QStringLiteral("pavel")), QStringLiteral("pavle"));
    EXPECT_EQ(vocativeOf(QStringLiteral("Jana Nováková-Dvořáková")), QStringLiteral("Jano Nováková-Dvořáková"));
    EXPECT_EQ(vocativeOf(QString()), QString());
}
