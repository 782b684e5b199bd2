#include "PasteTarget.h"

#include <QTest>

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
    if (!QTest::qWaitFor([&] { return process_.canReadLine(); }, timeoutMs))
        return std::nullopt;
    QByteArray line = process_.readLine();
    if (line.endsWith('\n'))
        line.chop(1);
    const qsizetype blank = line.indexOf(' ');
    Change change;
    change.at = line.left(blank).toLongLong();
    change.text = blank < 0 ? QString() : QString::fromUtf8(line.mid(blank + 1)).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    return change;
}

}  // namespace vorlin::test
