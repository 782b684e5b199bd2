// A window of another program for the X11 tests of the delayed Ctrl+V: a
// text editor titled "Cíl vložení" that prints "ready" once shown, then, at
// every change, the time in milliseconds and its text on one line (line
// breaks as "\n").
#include <QApplication>
#include <QDateTime>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QPlainTextEdit editor;
    editor.setWindowTitle(QStringLiteral("Cíl vložení"));
    editor.resize(400, 200);
    QObject::connect(&editor, &QPlainTextEdit::textChanged, [&editor] {
        QString text = editor.toPlainText();
        text.replace(u'\n', QStringLiteral("\\n"));
        std::printf("%lld %s\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()),
                    text.toUtf8().constData());
        std::fflush(stdout);
    });
    editor.show();
    editor.activateWindow();
    QTimer::singleShot(0, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return app.exec();
}
