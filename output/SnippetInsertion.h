#pragma once

#include "output/EditorDiscovery.h"
#include "output/QuickInsertion.h"

#include "platform/WordAutomation.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QTextDocument;
class QWidget;

namespace vorlin {

// Every insertion of a snippet, whichever control asks for it: the main
// window's "Vložit" (into an editor it lists), its "Kopírovat text do
// schránky" (onto the clipboard, Ctrl+V typed later when the user wants
// it) and the quick-insert pop-up's Enter (into the window written in).
// Each fills the snippet's fields in first (the user may give up there),
// offers the snippet on the clipboard in the same forms, and types Ctrl+V
// only while the clipboard holds it. An insertion into Writer is one
// conversation with the office; meanwhile the window repaints but takes no
// input, so no second insertion begins.
class SnippetInsertion : public QObject {
    Q_OBJECT
public:
    // What an insertion into a window needs, and Word beside it.
    struct Services {
        QuickInsertion::Services windows;
        platform::WordAutomation& word;
    };
    // The body with its fields filled in by the user over the window;
    // nothing when they gave up. Without fields, a copy of the body.
    using FillFields = std::function<std::unique_ptr<QTextDocument>(const QTextDocument& body, QWidget* over)>;

    SnippetInsertion(Services services, FillFields fillFields, QObject* parent = nullptr);
    ~SnippetInsertion() override;

    // The snippet as it goes out: its fields filled in; nothing when the
    // user gave up.
    std::unique_ptr<QTextDocument> prepared(const QTextDocument& body, QWidget* over) const;

    // "Vložit": into the document of the editor listed under the title, its
    // window shown first (maximised after, when asked). False when nothing
    // was inserted because the user gave up or the title is no editor's.
    struct IntoEditor {
        QString title;
        bool formatted = true;
        bool maximise = false;
    };
    bool intoEditor(const QTextDocument& body, QWidget* over, const IntoEditor& how);

    // "Kopírovat text do schránky": the snippet on the clipboard; false when
    // the user gave up.
    bool ontoClipboard(const QTextDocument& body, QWidget* over);
    // The Ctrl+V after that copy, typed only while the clipboard still
    // holds the snippet: nothing, or what the user is to be told.
    QString typeCtrlV();

    // The pop-up's Enter: a prepared snippet into the window written in,
    // remembered when the pop-up was asked for; finished() tells how it
    // ended.
    QuickInsertion& windowWrittenIn() { return quick_; }
    void intoWindowWrittenIn(const QTextDocument& prepared, bool formatted, bool restoreClipboard);

Q_SIGNALS:
    void finished(const QString& failure);

private:
    void offer(const QTextDocument& snippet);

    Services services_;
    FillFields fillFields_;
    QuickInsertion quick_;
    QByteArray offeredText_;  // what the Ctrl+V after a copy is to paste
    bool inserting_ = false;
};

// The messages of the Ctrl+V after a copy.
inline constexpr char kPressCtrlVByHand[] =
    "Tento systém nedovoluje stisknout Ctrl+V za vás. Text je ve schránce, vložte ho klávesami Ctrl+V.";
inline constexpr char kClipboardNotHeld[] =
    "Ctrl+V nebylo odesláno: schránka neobsahuje vybraný vorlin (systém ji programu nepředal, nebo ji mezitím "
    "převzal jiný program). Zkopírujte text znovu.";

}  // namespace vorlin
