// Another program's clipboard for the quick-insert tests: it offers a text in
// three forms (plain, HTML and one of its own), prints "ready" and stays.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    auto* data = new QMimeData;
    data->setText(QStringLiteral("Předchozí obsah"));
    data->setHtml(QStringLiteral("<b>Předchozí</b> obsah"));
    data->setData(QStringLiteral("application/x-vorlin-zkouska"), QByteArray("\x01\x02 vlastní", 10));
    QApplication::clipboard()->setMimeData(data);
    QTimer::singleShot(0, [] {
        std::puts("ready");
        std::fflush(stdout);
    });
    return app.exec();
}
