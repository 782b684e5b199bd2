#include "app/CommandLine.h"

#include "common/Error.h"
#include "common/TextFile.h"
#include "common/Win1250.h"

namespace vorlin {

bool hasGraphicalSession()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

CommandLineAnswer answerCommandLine(const QStringList& arguments, const QString& version, bool hasDisplay)
{
    CommandLineAnswer answer;
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QStringLiteral("--version") || argument == QStringLiteral("-v")) {
            answer.run = false;
            answer.out = QStringLiteral("Vorlin %1\n").arg(version.isEmpty() ? QStringLiteral("(?)") : version);
            return answer;
        }
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            answer.run = false;
            answer.out = QStringLiteral(
                "Použití: vorlin [--quick-insert] [--version] [--help]\n"
                "Usage: vorlin [--quick-insert] [--version] [--help]\n"
                "\n"
                "Vorlin uchovává opakovaně používané texty (adresy, podpisy, odstavce) a vkládá je do\n"
                "textového editoru nebo přes schránku. Data: $XDG_DATA_HOME/Vorlin/ (jinak\n"
                "~/.local/share/Vorlin/). Druhé spuštění ukáže okno již běžícího Vorlinu.\n"
                "\n"
                "Vorlin keeps reusable texts (addresses, signatures, paragraphs) and puts them into a\n"
                "word processor or through the clipboard. Data: $XDG_DATA_HOME/Vorlin/ (else\n"
                "~/.local/share/Vorlin/). A second start shows the window of the running Vorlin.\n"
                "\n"
                "  --quick-insert  otevře okno rychlého vložení / open the quick-insert pop-up\n"
                "  --version       print the version\n"
                "  --help          print this help\n");
            return answer;
        }
        if (argument == QStringLiteral("--quick-insert")) {
            answer.quickInsert = true;
            continue;
        }
        // Options Qt takes itself (-platform, -display, ...) pass through.
        if (argument.startsWith(u'-') && argument.startsWith(QStringLiteral("--"))) {
            answer.run = false;
            answer.status = 2;
            answer.err = QStringLiteral("vorlin: neznámá volba / unknown option: %1 (vorlin --help)\n").arg(argument);
            return answer;
        }
    }
    if (!hasDisplay) {
        answer.run = false;
        answer.status = 2;
        answer.err = QStringLiteral("Vorlin potřebuje grafické prostředí (není nastaveno DISPLAY ani WAYLAND_DISPLAY)"
                                    " / Vorlin needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set.\n");
    }
    return answer;
}

}  // namespace vorlin
