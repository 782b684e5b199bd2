#include "output/SnippetInsertion.h"

#include "output/EditorInsertion.h"
#include "rtf/Rtf.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextDocument>

namespace vorlin {

SnippetInsertion::SnippetInsertion(Services services, FillFields fillFields, QObject* parent)
    : QObject(parent),
      services_(services),
      fillFields_(std::move(fillFields)),
      quick_(services.windows, this)
{
    connect(&quick_, &QuickInsertion::finished, this, &SnippetInsertion::finished);
}

SnippetInsertion::~SnippetInsertion() = default;

std::unique_ptr<QTextDocument> SnippetInsertion::prepared(const QTextDocument& body, QWidget* over) const
{
    if (fillFields_)
        return fillFields_(body, over);
    return std::unique_ptr<QTextDocument>(body.clone());
}

void SnippetInsertion::offer(const QTextDocument& snippet)
{
    const ClipboardSnippet forms{rtf::write(snippet), snippet.toHtml(), snippet.toPlainText()};
    std::unique_ptr<QMimeData> offered = clipboardForms(forms, true);
    // Where the desktop can take the clipboard for the program (Wayland's
    // data control), it does: a window's own copy needs an input event of
    // its own, which a screen reader's or dictation's press does not give.
    platform::ClipboardControl::Forms taken;
    for (const QString& format : offered->formats())
        taken.append({format.toUtf8(), offered->data(format)});
    QGuiApplication::clipboard()->setMimeData(offered.release());
    offeredText_ = forms.text.toUtf8();
    services_.windows.clipboard.take(taken);
}

bool SnippetInsertion::intoEditor(const QTextDocument& body, QWidget* over, const IntoEditor& how)
{
    const std::optional<EditorKind> kind = insertionKind(how.title);
    if (!kind || inserting_)
        return false;
    const std::unique_ptr<QTextDocument> snippet = prepared(body, over);
    if (!snippet)
        return false;
    inserting_ = true;
    const struct Ends {
        bool& inserting;
        ~Ends() { inserting = false; }
    } ends{inserting_};
    offer(*snippet);
    const bool shown = ShowEditorWindow(how.title, services_.windows.desktop);
    if (*kind == EditorKind::Word) {
        services_.word.pasteIntoActiveDocument(how.formatted);
    } else {
        const Hourglass hourglass;
        services_.windows.office.pasteInto(how.title, {rtf::write(*snippet), snippet->toPlainText()}, how.formatted, shown);
    }
    if (how.maximise)
        MaximizeEditorWindow(how.title, services_.windows.desktop);
    return true;
}

bool SnippetInsertion::ontoClipboard(const QTextDocument& body, QWidget* over)
{
    const std::unique_ptr<QTextDocument> snippet = prepared(body, over);
    if (!snippet)
        return false;
    offer(*snippet);
    return true;
}

QString SnippetInsertion::typeCtrlV()
{
    // Keys typed over an older clipboard would paste the older text.
    if (!platform::clipboardHolds(services_.windows.clipboard, offeredText_))
        return QString::fromUtf8(kClipboardNotHeld);
    if (!services_.windows.keyboard.sendChord(Qt::Key_V, Qt::ControlModifier))
        return QString::fromUtf8(kPressCtrlVByHand);
    return {};
}

void SnippetInsertion::intoWindowWrittenIn(const QTextDocument& prepared, bool formatted, bool restoreClipboard)
{
    quick_.setRestoreClipboard(restoreClipboard);
    quick_.insert({rtf::write(prepared), prepared.toHtml(), prepared.toPlainText()}, formatted);
}

}  // namespace vorlin
