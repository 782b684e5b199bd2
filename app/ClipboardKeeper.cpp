#include "app/ClipboardKeeper.h"

#include "platform/X11Clipboard.h"

#include <QClipboard>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryFile>

namespace vorlin {

QByteArray packClipboard(const QMimeData& data)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    const QStringList formats = data.formats();
    out << qint32(formats.size());
    for (const QString& format : formats)
        out << format << data.data(format);
    return bytes;
}

std::unique_ptr<QMimeData> unpackClipboard(const QByteArray& bytes)
{
    auto data = std::make_unique<QMimeData>();
    QDataStream in(bytes);
    qint32 count = 0;
    in >> count;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString format;
        QByteArray content;
        in >> format >> content;
        if (in.status() == QDataStream::Ok)
            data->setData(format, content);
    }
    return data;
}

qint64 keepClipboardAfterExit(const QString& executable)
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !clipboard->ownsClipboard() || QGuiApplication::platformName() != QStringLiteral("xcb")
        || platform::clipboardManagerRuns())
        return 0;
    // Readable by this user alone: the copy may be confidential.
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/vorlin-schranka-XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open() || file.write(packClipboard(*data)) < 0 || !file.flush()) {
        file.remove();
        return 0;
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(executable, {QString::fromLatin1(kKeepClipboardOption), file.fileName()}, QString(), &pid)) {
        file.remove();
        return 0;
    }
    return pid;
}

int runClipboardKeeper(int& argc, char** argv, const QString& file)
{
    QGuiApplication app(argc, argv);
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = in.readAll();
    in.remove();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(unpackClipboard(bytes).release());
    QObject::connect(clipboard, &QClipboard::changed, &app, [&](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard())
            app.quit();
    });
    return app.exec();
}

}  // namespace vorlin
