#pragma once

#include "support/TempDir.h"

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace vorlin::test {

// A LibreOffice Writer of the office tests: its own profile (no tip of the
// day, nothing restored) and its own pipe, stopped and removed at the end.
class PrivateWriter {
public:
    PrivateWriter();
    ~PrivateWriter();

    const QString& pipeName() const { return pipeName_; }
    // The office's arguments that make it this one: its profile.
    QStringList profileArguments() const;

    // Starts the office and connects to it; false when it did not come.
    bool start(int timeoutMs = 60000);
    // Without windows (before start): for making documents without a display.
    bool headless = false;
    // Connects to an office already listening on the pipe.
    bool connect(int timeoutMs);

    // A new document in a window of its own, saved as that file name in the
    // profile's folder (which makes it the window's title), holding the text
    // with the cursor after `cursorAt` characters.
    bool newDocument(const QString& fileName, const QString& text, int cursorAt);
    static QString windowTitle(const QString& fileName);

    // A document holding the text (one paragraph a line), saved at the path
    // with the office's export filter ("MS Word 97", "MS Word 2007 XML").
    bool saveDocument(const QString& path, const QString& text, const char* filterName);

    struct Run {
        QString text;
        QString font;
        double height = 0;
        double weight = 0;    // 100 normal, 150 bold
        int posture = 0;      // 0 none, 2 italic
        int underline = 0;    // 0 none, 1 single
        qint32 colour = -1;   // -1 automatic
        qint32 highlight = -1;  // the background; -1 none
        int escapement = 0;   // > 0 raised (superscript), < 0 lowered
    };
    struct Paragraph {
        int adjust = 0;       // 0 left, 1 right, 2 block, 3 centre
        QList<Run> runs;
        QString text() const;
    };
    // The paragraphs' texts joined by "|".
    static QString texts(const QList<Paragraph>& paragraphs);
    // The document's paragraphs run by run, read from the office.
    QList<Paragraph> paragraphs(const QString& fileName);

    // Closes the documents without saving and ends the office.
    void stop();

    // Sends the signal to the office's processes (SIGSTOP freezes it).
    void signal(int number) const;

private:
    static constexpr int kDocumentLimitMs = 30000;
    // The document made; the office's complaint when it failed.
    QString makeDocument(const QString& fileName, const QString& text, int cursorAt);
    // The office's processes, found by their profile.
    QList<pid_t> officeProcesses() const;

    struct Connection;
    TempDir profile_;
    QString pipeName_;
    QProcess process_;
    Connection* connection_ = nullptr;
};

// A fixture with one private Writer for all the cases of its suite, started
// before the first; a case fails at once when it did not start.
template <class Fixture>
class WithPrivateWriter : public Fixture {
protected:
    static void SetUpTestSuite()
    {
        writer = new PrivateWriter;
        writerStarted = writer->start();
    }

    static void TearDownTestSuite()
    {
        delete writer;
        writer = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(writerStarted) << "the office did not start"; }

    static inline PrivateWriter* writer = nullptr;
    static inline bool writerStarted = false;
};

}  // namespace vorlin::test
