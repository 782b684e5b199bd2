// The window walk on a real X server with a window manager: other programs'
// windows are found by title and class, topmost first.
#include "PasteTarget.h"
#include "output/EditorDiscovery.h"
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

QString activeTitle()
{
    return QString::fromUtf8(vorlin::test::runTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")})).trimmed();
}

}  // namespace

TEST(WindowWalk, OtherProgramsWindowsTopmostFirst)
{
    // Each window is waited for until the window manager made it the active
    // one: its own activation request, late under load, would otherwise undo
    // the activation this test asks for.
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(PASTE_TARGET), {QStringLiteral("Smlouva.odt - LibreOffice Writer")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeTitle() == QStringLiteral("Smlouva.odt - LibreOffice Writer"); }, 10000));
    second.start(QStringLiteral(PASTE_TARGET), {QStringLiteral("Dopis – žaloba.odt - LibreOffice Writer")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeTitle() == QStringLiteral("Dopis – žaloba.odt - LibreOffice Writer"); }, 10000));

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

    // Found again by its title, the lower one comes up active and maximised.
    MaximizeEditorWindow(QStringLiteral("Smlouva.odt - LibreOffice Writer"), desktop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return titles(desktop).value(0) == QStringLiteral("Smlouva.odt - LibreOffice Writer"); }, 5000));
    // The window manager raises the window before it names it the active one.
    EXPECT_TRUE(QTest::qWaitFor([&] { return activeTitle() == QStringLiteral("Smlouva.odt - LibreOffice Writer"); }, 5000));
    const QByteArray id = vorlin::test::runTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return vorlin::test::runTool(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::fromLatin1(id), QStringLiteral("_NET_WM_STATE")})
            .contains("_NET_WM_STATE_MAXIMIZED_HORZ");
    }, 5000));
    ShowEditorWindow(QStringLiteral("Dopis – žaloba.odt - LibreOffice Writer"), desktop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return titles(desktop).value(0) == QStringLiteral("Dopis – žaloba.odt - LibreOffice Writer"); }, 5000));

    // The office's recovery dialog and its splash screen, as the office
    // marks them, are no documents to write into.
    const QString recovery = QStringLiteral("LibreOffice 7.4 Document Recovery");
    QProcess dialog;
    dialog.start(QStringLiteral(PASTE_TARGET), {recovery});
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeTitle() == recovery; }, 10000));
    const QString dialogId = QString::fromLatin1(vorlin::test::runTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed());
    for (const char* type : {"_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_WINDOW_TYPE_SPLASH"}) {
        vorlin::test::runTool(QStringLiteral("xprop"), {QStringLiteral("-id"), dialogId, QStringLiteral("-f"), QStringLiteral("_NET_WM_WINDOW_TYPE"),
                                                        QStringLiteral("32a"), QStringLiteral("-set"), QStringLiteral("_NET_WM_WINDOW_TYPE"),
                                                        QString::fromLatin1(type)});
        QStringList listed;
        ListEditorWindows(listed, EditorKind::Writer, desktop);
        EXPECT_EQ(listed.size(), 2) << type << ": " << listed.join(u'|').toStdString();
        EXPECT_FALSE(listed.contains(recovery)) << type;
    }
    dialog.kill();
    dialog.waitForFinished();
    first.kill();
    second.kill();
    first.waitForFinished();
    second.waitForFinished();
}
