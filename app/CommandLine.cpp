#include "app/CommandLine.h"

#include "common/Error.h"
#include "common/GraphicalSession.h"
#include "common/TextFile.h"
#include "common/Win1250.h"

namespace vorlin {

bool hasGraphicalSession()
{
    return GraphicalSession::current().kind != GraphicalSession::Kind::None
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

CommandLineAnswer answerCommandLine(const QStringList& arguments, const QString& version, bool hasDisplay)
{
    CommandLineAnswer answer;
    const QStringList given = arguments.mid(1);
    for (qsizetype i = 0; i < given.size(); ++i) {
        const QString& argument = given[i];
        if (argument == QStringLiteral("--library") || argument.startsWith(QStringLiteral("--library="))) {
            answer.library = argument.contains(u'=') ? argument.section(u'=', 1) : given.value(++i);
            if (answer.library.trimmed().isEmpty()) {
                answer.run = false;
                answer.status = 2;
                answer.err = QStringLiteral("vorlin: --library potřebuje adresu serveru nebo „local“ / --library needs a "
                                            "server address or \"local\" (vorlin --help)\n");
                return answer;
            }
            continue;
        }
        if (argument == QStringLiteral("--version") || argument == QStringLiteral("-v")) {
            answer.run = false;
            answer.out = QStringLiteral("Vorlin %1\n").arg(version.isEmpty() ? QStringLiteral("(?)") : version);
            return answer;
        }
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            answer.run = false;
            answer.out = QStringLiteral(
                "Použití: vorlin [--quick-insert] [--library URI|local] [--version] [--help]\n"
                "Usage: vorlin [--quick-insert] [--library URI|local] [--version] [--help]\n"
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
                "  --library URI   knihovna na serveru kanceláře pro toto spuštění / the office server's\n"
                "                  library for this run (postgresql://server/vorlin; also VORLIN_LIBRARY);\n"
                "                  --library local: soubor tohoto počítače / this computer's file\n"
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
