// The window walk on a real X server with a window manager: other programs'
// windows are found by title and class, topmost first.
#include "PasteTarget.h"
#include "platform/X11DesktopWindows.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorlin;

namespace {

QStringList titles(platform::DesktopWindows& desktop)
{
    QStringList list;
    for (const platform::TopLevelWindow& window : desktop.windowsTopmostFirst())
        list << window.title;
    return list;
}

}  // namespace

TEST(WindowWalk, OtherProgramsWindowsTopmostFirst)
{
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(PASTE_TARGET), {QStringLiteral("Smlouva.odt - LibreOffice Writer")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.canReadLine(); }, 10000));
    second.start(QStringLiteral(PASTE_TARGET), {QStringLiteral("Dopis – žaloba.odt - LibreOffice Writer")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.canReadLine(); }, 10000));

    platform::X11DesktopWindows desktop;
    QStringList found;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        found = titles(desktop);
        return found.size() >= 2 && found[0] == QStringLiteral("Dopis – žaloba.odt - LibreOffice Writer");
    }, 5000)) << found.join(u'|').toStdString();
    EXPECT_TRUE(found.contains(QStringLiteral("Smlouva.odt - LibreOffice Writer")));
    for (const platform::TopLevelWindow& window : desktop.windowsTopmostFirst()) {
        if (window.title.endsWith(QStringLiteral("LibreOffice Writer"))) {
            EXPECT_EQ(window.className, QStringLiteral("paste_target"));
        }
    }

    // Brought up, the first one is topmost.
    const QByteArray id = vorlin::test::runTool(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^Smlouva.odt - LibreOffice Writer$")}).trimmed();
    vorlin::test::runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::fromLatin1(id)});
    EXPECT_TRUE(QTest::qWaitFor([&] { return titles(desktop).value(0) == QStringLiteral("Smlouva.odt - LibreOffice Writer"); }, 5000));
    first.kill();
    second.kill();
    first.waitForFinished();
    second.waitForFinished();
}
