// Inserting into a real LibreOffice Writer on a real X server: the window is
// listed, "Vložit" pastes the snippet at the document's cursor, and the
// document, read back through the office, holds its text and formatting.
#include "PasteTarget.h"
#include "PrivateWriter.h"
#include "output/EditorInsertion.h"
#include "output/QuickInsertion.h"
#include "rtf/Rtf.h"
#include "platform/UnoOfficeAutomation.h"
#include "platform/X11DesktopWindows.h"
#include "support/ModalAnswerer.h"
#include "ui/MainWindowFixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QClipboard>
#include <QMimeData>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTextDocument>

#include <csignal>

using namespace vorlin;
using namespace vorlin::test;

namespace {

// Three paragraphs: faces, sizes, bold, italic, underline, a colour, a
// centred paragraph, Czech letters.
const char kFormattedBody[] =
    "{\\rtf1\\ansi\\ansicpg1250\\deff0"
    "{\\fonttbl{\\f0\\fnil\\fcharset238 Tahoma;}{\\f1\\fnil\\fcharset238 DejaVu Serif;}}"
    "{\\colortbl ;\\red200\\green0\\blue0;}"
    "\\pard\\f0\\fs24 Krajsk\\'fd \\b soud\\b0  \\i v\\i0  \\ul Brn\\'ec\\ulnone\\par"
    "\\pard\\qc\\f1\\fs32\\cf1 Rozsudek\\cf0\\par"
    "\\pard\\f0\\fs24 \\'8e\\'ef\\'e1r nad S\\'e1zavou}";

// A Writer document as a user writes one (Times New Roman 12, two
// superscripts, a bulleted list, a 2×2 table, a hyperlink after it) in the
// forms Writer puts on the clipboard, made by the office's own export
// filters (a profile of their own).
QMap<QString, QByteArray> writersClipboardForms()
{
    TempDir dir;
    QFile document(QStringLiteral(VORLIN_TEST_DATA_DIR "writers_document.fodt"));
    EXPECT_TRUE(document.open(QIODevice::ReadOnly));
    dir.write(QStringLiteral("dopis.fodt"), document.readAll());
    QMap<QString, QByteArray> forms;
    const std::pair<const char*, const char*> filters[] = {{"text/rtf", "rtf"}, {"text/html", "html:HTML (StarWriter)"}};
    for (const auto& [mime, filter] : filters) {
        QProcess office;
        office.start(QStringLiteral("soffice"), {QStringLiteral("-env:UserInstallation=file://") + dir.file(QStringLiteral("profil")),
                                                 QStringLiteral("--headless"), QStringLiteral("--convert-to"), QString::fromUtf8(filter),
                                                 QStringLiteral("--outdir"), dir.path(), dir.file(QStringLiteral("dopis.fodt"))});
        office.waitForFinished(120000);
        QFile made(dir.file(QStringLiteral("dopis.") + QString::fromUtf8(filter).section(u':', 0, 0)));
        EXPECT_TRUE(made.open(QIODevice::ReadOnly)) << filter;
        forms[QString::fromUtf8(mime)] = made.readAll();
    }
    return forms;
}

// The office the window pastes into, changed by a test for another office
// of the same user.
class OfficeInUse : public platform::OfficeAutomation {
public:
    bool isRunning() override { return target->isRunning(); }
    QStringList openDocuments() override { return target->openDocuments(); }
    void pasteInto(const QString& title, const platform::PastedSnippet& snippet, bool formatted,
                   bool activated) override
    {
        target->pasteInto(title, snippet, formatted, activated);
    }
    platform::OfficeAutomation* target = &platform::NoOffice::instance();
};

class WriterInsertionX11 : public WithPrivateWriter<MainWindow> {
protected:
    void SetUp() override
    {
        WithPrivateWriter::SetUp();
        if (HasFatalFailure())
            return;
        addRows({{"Soud", "adresa", kFormattedBody, "soud"}});
        // The office runs as a user starts it: listening on no pipe of the
        // program's (only on the test's own), which the program asks it to open.
        office = std::make_unique<platform::UnoOfficeAutomation>(QStringLiteral("vorlin_") + writer->pipeName(),
                                                                 writer->profileArguments());
        officeInUse.target = office.get();
        start(false);
        controls->CheckBox1->setChecked(false);
        controls->CheckBox2->setChecked(false);
    }

    void TearDown() override
    {
        if (HasFailure()) {
            const QString shot = QDir::currentPath() + u'/'
                + QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name()) + QStringLiteral(".png");
            runTool(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
            std::fprintf(stderr, "screenshot: %s\n", qPrintable(shot));
        }
        MainWindow::TearDown();
    }

    // A document whose window the listing shows, the cursor after "Vážený pane, ".
    void openDocument(const QString& fileName)
    {
        ASSERT_TRUE(writer->newDocument(fileName, QStringLiteral("Vážený pane, Konec"), 13));
        const QString title = PrivateWriter::windowTitle(fileName);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            for (const auto& window : desktop.windowsTopmostFirst())
                if (window.title == title)
                    return true;
            return false;
        }, 20000)) << "no window " << title.toStdString();
    }

    MainWindowServices services() override
    {
        return {.desktopWindows = desktop, .office = officeInUse, .word = word};
    }

    // "Vložit"; what the error box said, empty when nothing failed.
    QString insert()
    {
        ModalAnswerer answerer;
        controls->Button35->click();
        return answerer.seen().isEmpty() ? QString() : answerer.seen()[0].text;
    }

    void chooseInList(const QString& title)
    {
        controls->Button2->click();
        const QList<QListWidgetItem*> found = controls->Word_ListBox->findItems(title, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << items(controls->Word_ListBox).join(u'|').toStdString();
        controls->Word_ListBox->setCurrentItem(found.first());
    }

    static const PrivateWriter::Run* run(const QList<PrivateWriter::Paragraph>& paragraphs, const QString& text)
    {
        for (const auto& paragraph : paragraphs)
            for (const auto& r : paragraph.runs)
                if (r.text == text)
                    return &r;
        return nullptr;
    }

    std::unique_ptr<platform::UnoOfficeAutomation> office;
    OfficeInUse officeInUse;
    platform::UnregisteredWord word;
    platform::X11DesktopWindows desktop;
};


}  // namespace

TEST_F(WriterInsertionX11, TheSnippetLandsWithItsFormattingAtTheCursor)
{
    openDocument(QStringLiteral("Dopis.odt"));
    EXPECT_TRUE(office->isRunning());
    EXPECT_TRUE(office->openDocuments().contains(PrivateWriter::windowTitle(QStringLiteral("Dopis.odt"))));
    chooseInList(PrivateWriter::windowTitle(QStringLiteral("Dopis.odt")));
    EXPECT_EQ(insert(), QString());

    const auto paragraphs = writer->paragraphs(QStringLiteral("Dopis.odt"));
    ASSERT_EQ(PrivateWriter::texts(paragraphs), QStringLiteral("Vážený pane, Krajský soud v Brně|Rozsudek|Žďár nad SázavouKonec"));
    struct Expected {
        const char* text;
        const char* font;
        double height;
        double weight;
        int posture;
        int underline;
        qint32 colour;
    };
    const Expected expected[] = {
        {"Krajský ", "Tahoma", 12, 100, 0, 0, -1},
        {"soud", "Tahoma", 12, 150, 0, 0, -1},
        {"v", "Tahoma", 12, 100, 2, 0, -1},
        {"Brně", "Tahoma", 12, 100, 0, 1, -1},
        {"Rozsudek", "DejaVu Serif", 16, 100, 0, 0, 0xC80000},
        {"Žďár nad Sázavou", "Tahoma", 12, 100, 0, 0, -1},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.text);
        const PrivateWriter::Run* found = run(paragraphs, QString::fromUtf8(e.text));
        ASSERT_TRUE(found);
        EXPECT_EQ(found->font, QString::fromUtf8(e.font));
        EXPECT_EQ(found->height, e.height);
        EXPECT_EQ(found->weight, e.weight);
        EXPECT_EQ(found->posture, e.posture);
        EXPECT_EQ(found->underline, e.underline);
        EXPECT_EQ(found->colour, e.colour);
    }
    EXPECT_EQ(paragraphs[1].adjust, 3) << "the middle paragraph is centred";
    EXPECT_EQ(paragraphs[2].adjust, 0);
    // The document's own text keeps its own face.
    EXPECT_EQ(run(paragraphs, QStringLiteral("Konec"))->font, run(paragraphs, QStringLiteral("Vážený pane, "))->font);
    EXPECT_TRUE(form->isVisible());
}

// Copied from Writer with a list, a table, superscripts and a hyperlink,
// pasted into a new snippet as RTF or as HTML: the same text is shown,
// stored and inserted, with no highlighting that was not there.
TEST_F(WriterInsertionX11, WritersListTableAndSuperscriptsArePastedStoredAndInsertedAsShown)
{
    const QMap<QString, QByteArray> forms = writersClipboardForms();
    const QString shown = QStringLiteral("Plocha 25 m2 a 3 m3.\n•\tprvní bod\n•\tdruhý bod\nA1\tB1\nA2\tB2\nPo tabulce odkaz konec.");
    for (auto form = forms.begin(); form != forms.end(); ++form) {
        SCOPED_TRACE(form.key().toStdString());
        auto* copied = new QMimeData;
        copied->setData(form.key(), form.value());
        QGuiApplication::clipboard()->setMimeData(copied);
        controls->DBNavigator1->press(ui::DBNavigator::Insert);
        controls->Jmeno_DBEdit->setText(QStringLiteral("Z Writeru ") + form.key());
        controls->DBRichEdit1->setFocus();
        controls->DBRichEdit1->paste();
        EXPECT_EQ(controls->DBRichEdit1->toPlainText(), shown);
        controls->DBNavigator1->press(ui::DBNavigator::Post);

        const QString stored = query().value(QStringLiteral("obsah")).toString();
        EXPECT_FALSE(stored.contains(QStringLiteral("\\highlight"))) << stored.toStdString();
        EXPECT_EQ(stored.count(QStringLiteral("\\super")), 2) << stored.toStdString();
        QTextDocument back;
        rtf::loadBody(stored, back);
        EXPECT_EQ(back.toPlainText(), shown);

        const QString fileName = QStringLiteral("Vlozeno%1.odt").arg(form.key() == QStringLiteral("text/rtf") ? 1 : 2);
        openDocument(fileName);
        chooseInList(PrivateWriter::windowTitle(fileName));
        EXPECT_EQ(insert(), QString());
        const auto paragraphs = writer->paragraphs(fileName);
        EXPECT_EQ(PrivateWriter::texts(paragraphs),
                  QStringLiteral("Vážený pane, Plocha 25 m2 a 3 m3.|•\tprvní bod|•\tdruhý bod|A1\tB1|A2\tB2|Po tabulce odkaz konec.Konec"));
        for (const auto& paragraph : paragraphs)
            for (const auto& r : paragraph.runs)
                EXPECT_EQ(r.highlight, -1) << "a highlighted run: " << r.text.toStdString();
        for (const char* raised : {"2", "3"}) {
            ASSERT_TRUE(run(paragraphs, QString::fromUtf8(raised)));
            EXPECT_GT(run(paragraphs, QString::fromUtf8(raised))->escapement, 0) << raised;
        }
    }
}

TEST_F(WriterInsertionX11, WithoutFormattingOnlyThePlainTextArrives)
{
    openDocument(QStringLiteral("Prosty.odt"));
    chooseInList(PrivateWriter::windowTitle(QStringLiteral("Prosty.odt")));
    controls->CheckBox4->setChecked(false);
    EXPECT_EQ(insert(), QString());

    const auto paragraphs = writer->paragraphs(QStringLiteral("Prosty.odt"));
    ASSERT_EQ(PrivateWriter::texts(paragraphs), QStringLiteral("Vážený pane, Krajský soud v Brně|Rozsudek|Žďár nad SázavouKonec"));
    const PrivateWriter::Run* own = run(paragraphs, QStringLiteral("Vážený pane, Krajský soud v Brně"));
    ASSERT_TRUE(own) << "the pasted text took formatting of its own";
    const PrivateWriter::Run* middle = run(paragraphs, QStringLiteral("Rozsudek"));
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->font, own->font);
    EXPECT_EQ(middle->height, own->height);
    EXPECT_EQ(middle->colour, -1);
    EXPECT_EQ(paragraphs[1].adjust, 0);
}

// A snippet with fields goes in filled through the form, each value in the
// format of the field it stands for.
TEST_F(WriterInsertionX11, ASnippetWithFieldsLandsFilledInEachFieldsFormat)
{
    query().edit();
    query().setValue(QStringLiteral("obsah"),
                     QStringLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Tahoma;}}"
                                    "\\pard\\f0\\fs24 dne \\b\\{\\{datum: slovy\\}\\}\\b0 , I\\'c8O \\i\\{\\{I\\'c8O\\}\\}\\i0 , "
                                    "\\ul\\{\\{osloven\\'ed: Petr\\}\\}\\ulnone\\par}"));
    query().post();
    openDocument(QStringLiteral("Pole.odt"));
    chooseInList(PrivateWriter::windowTitle(QStringLiteral("Pole.odt")));
    ModalAnswerer answerer([](QWidget* dialog) {
        for (QLineEdit* line : dialog->findChildren<QLineEdit*>()) {
            if (line->accessibleName() == QStringLiteral("datum"))
                line->setText(QStringLiteral("3. 12. 2026"));
            if (line->accessibleName() == QStringLiteral("IČO"))
                line->setText(QStringLiteral("6947"));
        }
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    });
    controls->Button35->click();
    ASSERT_EQ(answerer.seen().size(), 1);  // the form, no error after it
    EXPECT_EQ(answerer.seen()[0].title, QStringLiteral("Vyplnit pole vorlinu"));

    const auto paragraphs = writer->paragraphs(QStringLiteral("Pole.odt"));
    ASSERT_EQ(PrivateWriter::texts(paragraphs), QStringLiteral("Vážený pane, dne 3. prosince 2026, IČO 00006947, PetřeKonec"));
    const struct {
        const char* text;
        double weight;
        int posture;
        int underline;
    } expected[] = {{"3. prosince 2026", 150, 0, 0}, {"00006947", 100, 2, 0}, {"Petře", 100, 0, 1}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.text);
        const PrivateWriter::Run* found = run(paragraphs, QString::fromUtf8(e.text));
        ASSERT_TRUE(found);
        EXPECT_EQ(found->font, QStringLiteral("Tahoma"));
        EXPECT_EQ(found->weight, e.weight);
        EXPECT_EQ(found->posture, e.posture);
        EXPECT_EQ(found->underline, e.underline);
    }
}

TEST_F(WriterInsertionX11, TheSnippetGoesToTheDocumentWhateverTheClipboardHolds)
{
    // Another program copied something meanwhile (or, on Wayland, the office
    // never had the focus to see the clipboard).
    openDocument(QStringLiteral("Formaty.odt"));
    QGuiApplication::clipboard()->setText(QStringLiteral("cizí schránka"));
    const QString title = PrivateWriter::windowTitle(QStringLiteral("Formaty.odt"));
    const platform::PastedSnippet snippet{"{\\rtf1\\ansi z {\\b RTF}}", QStringLiteral("z textu")};
    office->pasteInto(title, snippet, true, false);
    const auto formatted = writer->paragraphs(QStringLiteral("Formaty.odt"));
    EXPECT_EQ(PrivateWriter::texts(formatted), QStringLiteral("Vážený pane, z RTFKonec"));
    ASSERT_TRUE(run(formatted, QStringLiteral("RTF")));
    EXPECT_EQ(run(formatted, QStringLiteral("RTF"))->weight, 150);
    office->pasteInto(title, snippet, false, false);
    EXPECT_EQ(PrivateWriter::texts(writer->paragraphs(QStringLiteral("Formaty.odt"))), QStringLiteral("Vážený pane, z RTFz textuKonec"));
}

TEST_F(WriterInsertionX11, TheQuickInsertionGoesIntoTheFocusedDocumentAndLeavesTheMainWindowAlone)
{
    openDocument(QStringLiteral("Rychle.odt"));
    const QString title = PrivateWriter::windowTitle(QStringLiteral("Rychle.odt"));
    for (const auto& window : desktop.windowsTopmostFirst())
        if (window.title == title)
            desktop.activate(window.id, false);
    const QRect placed = form->geometry();
    // No keyboard: the snippet must come through the office, not by Ctrl+V.
    QuickInsertion quick({platform::NoKeyboard::instance(), desktop, officeInUse});
    quick.rememberTarget();
    ASSERT_TRUE(quick.target().has_value());
    ASSERT_EQ(quick.target()->title, title);
    QSignalSpy ended(&quick, &QuickInsertion::finished);
    QTextDocument body;
    rtf::loadBody(QString::fromLatin1(kFormattedBody), body);
    quick.insert({rtf::write(body), body.toHtml(), body.toPlainText()}, true);
    ASSERT_TRUE(!ended.isEmpty() || ended.wait(15000));
    EXPECT_EQ(ended[0][0].toString(), QString());

    const auto paragraphs = writer->paragraphs(QStringLiteral("Rychle.odt"));
    EXPECT_EQ(PrivateWriter::texts(paragraphs), QStringLiteral("Vážený pane, Krajský soud v Brně|Rozsudek|Žďár nad SázavouKonec"));
    ASSERT_TRUE(run(paragraphs, QStringLiteral("soud")));
    EXPECT_EQ(run(paragraphs, QStringLiteral("soud"))->weight, 150);
    ASSERT_TRUE(run(paragraphs, QStringLiteral("Rozsudek")));
    EXPECT_EQ(run(paragraphs, QStringLiteral("Rozsudek"))->colour, 0xC80000);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMaximized());
    EXPECT_EQ(form->geometry(), placed);
}

TEST_F(WriterInsertionX11, OfTwoDocumentsTheChosenOneGetsTheSnippet)
{
    openDocument(QStringLiteral("Prvni.odt"));
    openDocument(QStringLiteral("Druhy.odt"));
    // The first document lies under the second, which had the focus last.
    chooseInList(PrivateWriter::windowTitle(QStringLiteral("Prvni.odt")));
    EXPECT_EQ(insert(), QString());

    EXPECT_EQ(PrivateWriter::texts(writer->paragraphs(QStringLiteral("Prvni.odt"))),
              QStringLiteral("Vážený pane, Krajský soud v Brně|Rozsudek|Žďár nad SázavouKonec"));
    EXPECT_EQ(PrivateWriter::texts(writer->paragraphs(QStringLiteral("Druhy.odt"))), QStringLiteral("Vážený pane, Konec"));
}

TEST_F(WriterInsertionX11, WithTheBoxesTickedTheDocumentEndsMaximisedAndActiveAndTheWindowPutAway)
{
    openDocument(QStringLiteral("Velky.odt"));
    const QString title = PrivateWriter::windowTitle(QStringLiteral("Velky.odt"));
    chooseInList(title);
    controls->CheckBox1->setChecked(true);
    controls->CheckBox2->setChecked(true);
    EXPECT_EQ(insert(), QString());
    // Put away: hidden into the tray, or minimised where no tray runs.
    EXPECT_TRUE(!form->isVisible() || form->isMinimized());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return QString::fromUtf8(runTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")})).trimmed() == title;
    }, 5000));
    const QString active = QString::fromLatin1(runTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return runTool(QStringLiteral("xprop"), {QStringLiteral("-id"), active, QStringLiteral("_NET_WM_STATE")})
            .contains("_NET_WM_STATE_MAXIMIZED_HORZ");
    }, 5000));
    EXPECT_EQ(PrivateWriter::texts(writer->paragraphs(QStringLiteral("Velky.odt"))),
              QStringLiteral("Vážený pane, Krajský soud v Brně|Rozsudek|Žďár nad SázavouKonec"));
}

TEST_F(WriterInsertionX11, AnOfficeWithAProfileOfItsOwnIsListedAndPastedIntoAlone)
{
    // The chosen document lives in an office the user started with a
    // profile of its own, not in the one the program asks first; that one
    // shows a document too, which must get nothing.
    PrivateWriter other;
    ASSERT_TRUE(other.start());
    ASSERT_TRUE(other.newDocument(QStringLiteral("Cizi.odt"), QStringLiteral("Cizí text"), 4));
    openDocument(QStringLiteral("Vlastni.odt"));
    platform::UnoOfficeAutomation otherOffice(other.pipeName(), other.profileArguments());
    officeInUse.target = &otherOffice;
    const QString title = PrivateWriter::windowTitle(QStringLiteral("Vlastni.odt"));
    EXPECT_TRUE(otherOffice.openDocuments().contains(title));
    chooseInList(title);
    EXPECT_EQ(insert(), QString());
    EXPECT_EQ(PrivateWriter::texts(other.paragraphs(QStringLiteral("Cizi.odt"))), QStringLiteral("Cizí text"));
    EXPECT_EQ(PrivateWriter::texts(writer->paragraphs(QStringLiteral("Vlastni.odt"))),
              QStringLiteral("Vážený pane, Krajský soud v Brně|Rozsudek|Žďár nad SázavouKonec"));
}

TEST_F(WriterInsertionX11, AFrozenOfficeIsGivenUpAndLaterGetsNothing)
{
    openDocument(QStringLiteral("Zamrzly.odt"));
    chooseInList(PrivateWriter::windowTitle(QStringLiteral("Zamrzly.odt")));
    office->callTimeLimitMs = 2000;
    writer->signal(SIGSTOP);
    QElapsedTimer took;
    took.start();
    const QString error = insert();
    EXPECT_TRUE(error.startsWith(QStringLiteral("LibreOffice neodpovídá (déle než 2 s)"))) << error.toStdString();
    EXPECT_LT(took.elapsed(), 8000);
    writer->signal(SIGCONT);
    EXPECT_TRUE(form->isVisible());
    // The office, running again, pastes nothing late; the next click works.
    QTest::qWait(1500);
    EXPECT_EQ(PrivateWriter::texts(writer->paragraphs(QStringLiteral("Zamrzly.odt"))), QStringLiteral("Vážený pane, Konec"));
    EXPECT_EQ(insert(), QString());
    EXPECT_EQ(PrivateWriter::texts(writer->paragraphs(QStringLiteral("Zamrzly.odt"))),
              QStringLiteral("Vážený pane, Krajský soud v Brně|Rozsudek|Žďár nad SázavouKonec"));
}

TEST_F(WriterInsertionX11, AnOfficeThatDoesNotRunIsStartedByTheFirstInsertion)
{
    // A listing made while the office still ran; it has ended since.
    PrivateWriter stopped;
    platform::UnoOfficeAutomation otherOffice(stopped.pipeName(), stopped.profileArguments());
    officeInUse.target = &otherOffice;
    EXPECT_FALSE(otherOffice.openDocuments().contains(PrivateWriter::windowTitle(QStringLiteral("Zavreny.odt"))));
    controls->Word_ListBox->addItem(PrivateWriter::windowTitle(QStringLiteral("Zavreny.odt")));
    controls->Word_ListBox->setCurrentRow(0);
    controls->CheckBox2->setChecked(true);

    // It starts without a document, so there is nothing to paste into, and
    // the user is told so.
    EXPECT_EQ(insert(), QStringLiteral("Dokument „%1“ se v LibreOffice nepodařilo najít, nic do něj nebylo vloženo.")
              .arg(PrivateWriter::windowTitle(QStringLiteral("Zavreny.odt"))));
    EXPECT_TRUE(form->isVisible()) << "hidden after a failed insertion";
    EXPECT_TRUE(stopped.connect(5000)) << "the office did not start";
}

namespace {

// Keys as the user types them, through the X server to the active window.
void typeKeys(const QStringList& keys)
{
    runTool(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--clearmodifiers")} + keys);
    QTest::qWait(30);
}

}  // namespace

// A working day without the mouse: search, choose, insert into Writer, copy,
// edit, save, drop an edit, open the preview; every control reached by Tab.
TEST_F(WriterInsertionX11, TheDaysJobNeedsNoMouse)
{
    openDocument(QStringLiteral("Klavesnice.odt"));
    const QString title = PrivateWriter::windowTitle(QStringLiteral("Klavesnice.odt"));
    bool previewShown = false;
    QObject::connect(form.get(), &TVorlin_Form::previewRequested, [&] { previewShown = true; });
    controls->Button4->setEnabled(true);
    const auto activate = [&] {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                                            QString::number(form->winId())});
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    };
    // Tab until the control has the focus, as the user looks for it.
    const auto tabTo = [&](QWidget* target) {
        for (int i = 0; i < 40 && QApplication::focusWidget() != target; ++i)
            typeKeys({QStringLiteral("Tab")});
        ASSERT_EQ(QApplication::focusWidget(), target) << "not reached by Tab: " << target->objectName().toStdString();
    };
    activate();
    ASSERT_EQ(QApplication::focusWidget(), controls->Jmeno_Edit) << "the search box has no focus at start";

    typeKeys({QStringLiteral("S"), QStringLiteral("o"), QStringLiteral("u"), QStringLiteral("d")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return controls->Jmeno_Edit->text() == QStringLiteral("Soud"); }, 2000));
    EXPECT_EQ(query().recordCount(), 1);

    tabTo(controls->Button2);
    typeKeys({QStringLiteral("space")});
    tabTo(controls->Word_ListBox);
    const QList<QListWidgetItem*> listed = controls->Word_ListBox->findItems(title, Qt::MatchExactly);
    ASSERT_EQ(listed.size(), 1);
    while (controls->Word_ListBox->currentItem() != listed.first() && controls->Word_ListBox->currentRow() + 1 < controls->Word_ListBox->count())
        typeKeys({QStringLiteral("Down")});
    tabTo(controls->Button35);
    typeKeys({QStringLiteral("space")});
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return PrivateWriter::texts(writer->paragraphs(QStringLiteral("Klavesnice.odt"))).startsWith(QStringLiteral("Vážený pane, Krajský soud"));
    }, 10000)) << PrivateWriter::texts(writer->paragraphs(QStringLiteral("Klavesnice.odt"))).toStdString();

    activate();
    tabTo(controls->Button3);
    typeKeys({QStringLiteral("space")});
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("Krajský soud v Brně")));

    // Tab passes through the body editor, which types nothing for it.
    tabTo(controls->DBRichEdit1);
    typeKeys({QStringLiteral("Tab")});
    EXPECT_NE(QApplication::focusWidget(), controls->DBRichEdit1);
    EXPECT_FALSE(query().isEditing()) << "Tab started an edit";
    tabTo(controls->DBRichEdit1);
    typeKeys({QStringLiteral("ctrl+End"), QStringLiteral("X"), QStringLiteral("ctrl+Tab"), QStringLiteral("ctrl+s")});
    EXPECT_FALSE(query().isEditing());
    EXPECT_TRUE(valueInFile(1, QStringLiteral("obsah")).toString().contains(QStringLiteral("X\\tab")))
        << valueInFile(1, QStringLiteral("obsah")).toString().toStdString();
    typeKeys({QStringLiteral("Y"), QStringLiteral("Escape")});
    EXPECT_FALSE(query().isEditing());
    EXPECT_FALSE(valueInFile(1, QStringLiteral("obsah")).toString().contains(QStringLiteral("Y")));
    EXPECT_FALSE(controls->DBRichEdit1->toPlainText().contains(u'Y'));

    tabTo(controls->Button4);
    typeKeys({QStringLiteral("space")});
    EXPECT_TRUE(previewShown);
}
