// A window of another program for the X11 tests of the delayed Ctrl+V and
// of the window walk: a text editor titled "Cíl vložení" (or the first
// argument) that prints "ready" once shown, "key" and
// the time in milliseconds when Ctrl+V arrives, "formats" and the forms the
// clipboard offered to a paste, and at every change "text",
// the time and its text on one line (line breaks as "\n").
#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdio>

namespace {

void say(const QString& what)
{
    std::printf("%s\n", what.toUtf8().constData());
    std::fflush(stdout);
}

QString now()
{
    return QString::number(QDateTime::currentMSecsSinceEpoch());
}

class Editor : public QPlainTextEdit {
protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste))
                say(QStringLiteral("key ") + now());
        }
        return QPlainTextEdit::event(event);
    }

    void insertFromMimeData(const QMimeData* source) override
    {
        QStringList formats = source->formats();
        formats.sort();
        say(QStringLiteral("formats ") + formats.join(u','));
        QPlainTextEdit::insertFromMimeData(source);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Editor editor;
    editor.setWindowTitle(argc > 1 ? QString::fromUtf8(argv[1]) : QStringLiteral("Cíl vložení"));
    editor.resize(400, 200);
    QObject::connect(&editor, &QPlainTextEdit::textChanged, [&editor] {
        QString text = editor.toPlainText();
        text.replace(u'\n', QStringLiteral("\\n"));
        say(QStringLiteral("text ") + now() + u' ' + text);
    });
    editor.show();
    editor.activateWindow();
    QTimer::singleShot(0, [] { say(QStringLiteral("ready")); });
    return app.exec();
}
