#include "PasteTarget.h"

#include <QEventLoop>
#include <QTest>
#include <QTimer>

namespace vorlin::test {

QByteArray runTool(const QString& program, const QStringList& arguments, int* exitCode)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!QTest::qWaitFor([&] { return tool.state() == QProcess::NotRunning; }, 10000)) {
        tool.kill();
        tool.waitForFinished();
    }
    if (exitCode)
        *exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    return tool.readAllStandardOutput();
}

PasteTarget::PasteTarget() = default;

PasteTarget::~PasteTarget()
{
    process_.kill();
    process_.waitForFinished();
}

bool PasteTarget::start()
{
    process_.start(QStringLiteral(PASTE_TARGET), {});
    if (!QTest::qWaitFor([&] { return process_.canReadLine(); }, 10000) || process_.readLine() != "ready\n")
        return false;
    // The new window takes the focus; asking for it again waits until it has.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QByteArray found = runTool(QStringLiteral("xdotool"),
                                         {QStringLiteral("search"), QStringLiteral("--name"),
                                          QStringLiteral("^Cíl vložení$")}).trimmed();
        if (found.isEmpty()) {
            QTest::qWait(100);
            continue;
        }
        const QString window = QString::fromLatin1(found.split('\n').first());
        runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
        const QByteArray active = runTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed();
        if (active == window.toLatin1())
            return true;
        QTest::qWait(100);
    }
    return false;
}

std::optional<PasteTarget::Change> PasteTarget::nextChange(int timeoutMs)
{
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    while (deadline.isActive()) {
        while (process_.canReadLine()) {
            QByteArray line = process_.readLine();
            if (line.endsWith('\n'))
                line.chop(1);
            const QList<QByteArray> parts = line.split(' ');
            if (parts.value(0) == "key")
                lastKeyAt_ = parts.value(1).toLongLong();
            if (parts.value(0) == "formats")
                lastFormats_ = QString::fromUtf8(parts.value(1)).split(u',');
            if (parts.value(0) != "text")
                continue;
            Change change;
            change.at = parts.value(1).toLongLong();
            change.text = QString::fromUtf8(line.mid(parts[0].size() + parts[1].size() + 2));
            change.text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
            return change;
        }
        loop.exec();
    }
    return std::nullopt;
}

}  // namespace vorlin::test
