// The delayed Ctrl+V into a web page on a real X server: Chromium shows an
// editable page served from this test, the program copies a formatted
// snippet and types Ctrl+V, and the page sends back the HTML it now holds.
#include "PasteTarget.h"
#include "platform/XTestKeyboard.h"
#include "support/TempDir.h"
#include "ui/MainWindowFixture.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

using namespace vorlin;
using namespace vorlin::test;

namespace {

// A web mail's editor, as small as it gets: whatever changes in it is posted
// back; "ready" once it has the focus.
const char kPage[] = R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>Posta</title></head>
<body><div id="e" contenteditable="true" style="min-height:300px;border:1px solid"></div><script>
const e = document.getElementById('e');
const send = (text) => fetch('/', {method: 'POST', body: text});
e.addEventListener('input', () => send(e.innerHTML));
window.addEventListener('load', () => { e.focus(); send('ready'); });
</script></body></html>)";

// Serves the page and takes what it posts, over loopback.
class PageServer : public QObject {
public:
    PageServer()
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
    }

    QString url() const { return QStringLiteral("http://127.0.0.1:%1/").arg(server_.serverPort()); }
    QStringList posted;

private:
    void serve(QTcpSocket* socket)
    {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        const qsizetype headerEnd = request.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QByteArray header = request.left(headerEnd).toLower();
        const qsizetype lengthAt = header.indexOf("content-length:");
        const int length = lengthAt < 0 ? 0 : header.mid(lengthAt + 15, header.indexOf("\r\n", lengthAt) - lengthAt - 15).trimmed().toInt();
        if (request.size() < headerEnd + 4 + length)
            return;
        QByteArray body = kPage;
        if (request.startsWith("POST")) {
            posted << QString::fromUtf8(request.mid(headerEnd + 4, length));
            body.clear();
        }
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
        pending_.remove(socket);
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

class BrowserPasteX11 : public MainWindow {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("chromium")).isEmpty())
            GTEST_SKIP() << "no chromium on this system";
        addRows({{"Podpis", "podpis",
                  "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fnil\\fcharset238 Tahoma;}}{\\colortbl ;\\red200\\green0\\blue0;}"
                  "\\pard\\f0\\fs24 {\\b JUDr. \\'8e\\'e1k} {\\cf1 advok\\'e1t}\\par}",
                  "podpis"}});
        start(false);
    }

    void TearDown() override
    {
        if (browser.state() != QProcess::NotRunning) {
            browser.kill();
            browser.waitForFinished(5000);
        }
        MainWindow::TearDown();
    }

    MainWindowServices services() override { return {.keyboard = keyboard}; }

    platform::XTestKeyboard keyboard;
    PageServer page;
    QProcess browser;
    TempDir profile;
};

}  // namespace

TEST_F(BrowserPasteX11, AWebMailKeepsTheBoldAndTheColour)
{
    browser.start(QStringLiteral("chromium"),
                  {QStringLiteral("--no-sandbox"), QStringLiteral("--no-first-run"), QStringLiteral("--no-default-browser-check"),
                   QStringLiteral("--disable-gpu"), QStringLiteral("--password-store=basic"),
                   QStringLiteral("--user-data-dir=") + profile.path(), QStringLiteral("--window-size=800,600"),
                   QStringLiteral("--app=") + page.url()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.posted.contains(QStringLiteral("ready")); }, 60000))
        << "the page did not come up";
    const QString browserWindow =
        QString::fromLatin1(runTool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"),
                                                                QStringLiteral("Posta")})).split(u'\n').first().trimmed();
    ASSERT_FALSE(browserWindow.isEmpty());

    controls->CheckBox3->setChecked(true);
    controls->Edit1->setText(QStringLiteral("1"));
    controls->Button3->click();
    runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), browserWindow});
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.posted.size() > 1; }, 10000)) << "nothing arrived in the page";
    const QString html = page.posted.last();
    EXPECT_TRUE(html.contains(QStringLiteral("JUDr. Žák"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("font-weight: 700")) || html.contains(QStringLiteral("<b>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("color: rgb(200, 0, 0)"))) << html.toStdString();
}
