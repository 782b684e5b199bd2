#include "ui/richtext/RichEditActions.h"

#include "ui/Icons.h"
#include "ui/shell/Guarded.h"
#include "ui/richtext/DBRichEdit.h"

#include <QAbstractButton>
#include <QScopedValueRollback>
#include <QToolBar>

#include <functional>
#include <utility>

namespace vorlin::ui {

RichEditActions::RichEditActions(DBRichEdit* editor) : QObject(editor), editor_(editor)
{
    using icons::Glyph;
    QWidget* window = editor->window();
    auto action = [window](Glyph glyph, const QString& text) {
        auto* a = new QAction(icons::glyph(glyph), text, window);
        a->setCheckable(true);
        window->addAction(a);
        return a;
    };
    alignLeft = action(Glyph::AlignLeft, QStringLiteral("Align &Left"));
    alignCenter = action(Glyph::AlignCenter, QStringLiteral("&Center"));
    alignRight = action(Glyph::AlignRight, QStringLiteral("Align &Right"));
    bold = action(Glyph::Bold, QStringLiteral("&Bold"));
    italic = action(Glyph::Italic, QStringLiteral("&Italic"));
    underline = action(Glyph::Underline, QStringLiteral("&Underline"));
    // The captions are the actions' names; what the user reads on hovering
    // and what a screen reader says is Czech.
    const std::pair<QAction*, const char*> czech[] = {
        {alignLeft, "Zarovnat vlevo"}, {alignCenter, "Na střed"},  {alignRight, "Zarovnat vpravo"},
        {bold, "Tučné"},               {italic, "Kurzíva"},        {underline, "Podtržené"},
    };
    for (const auto& [a, name] : czech)
        a->setToolTip(QString::fromUtf8(name));
    alignLeft->setChecked(true);
    bold->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    italic->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    underline->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    for (QAction* a : {bold, italic, underline})
        a->setShortcutContext(Qt::WindowShortcut);

    // Toggled, not triggered: the accessibility interface toggles a button,
    // which sets its action's state without triggering it. The state the
    // actions are given to show the selection is no command.
    const auto command = [this](QAction* a, std::function<void()> run) {
        connect(a, &QAction::toggled, this, guarded([this, run = std::move(run)] {
            if (!showing_)
                run();
        }));
    };
    command(alignLeft, [this] { align(Qt::AlignLeft); });
    command(alignCenter, [this] { align(Qt::AlignHCenter); });
    command(alignRight, [this] { align(Qt::AlignRight); });
    for (QAction* a : {bold, italic, underline})
        command(a, [this, a] { toggleStyle(a); });
    connect(editor, &QTextEdit::currentCharFormatChanged, this, &RichEditActions::showFormatting);
    connect(editor, &QTextEdit::cursorPositionChanged, this, &RichEditActions::showFormatting);
}

void RichEditActions::addTo(QToolBar* toolBar) const
{
    toolBar->addAction(alignLeft);
    toolBar->addAction(alignCenter);
    toolBar->addAction(alignRight);
    toolBar->addSeparator();
    toolBar->addAction(bold);
    toolBar->addAction(italic);
    toolBar->addAction(underline);
    for (QAction* a : {alignLeft, alignCenter, alignRight, bold, italic, underline}) {
        auto* button = qobject_cast<QAbstractButton*>(toolBar->widgetForAction(a));
        if (!button)
            continue;
        button->setAccessibleName(a->toolTip());
    }
}

void RichEditActions::toggleStyle(QAction* action)
{
    const QTextCharFormat current = editor_->currentCharFormat();
    if (!editor_->beginEdit()) {
        showFormatting();
        return;
    }
    QTextCharFormat change;
    if (action == bold)
        change.setFontWeight(current.fontWeight() >= QFont::Bold ? QFont::Normal : QFont::Bold);
    else if (action == italic)
        change.setFontItalic(!current.fontItalic());
    else
        change.setFontUnderline(!current.fontUnderline());
    editor_->mergeCurrentCharFormat(change);
    showFormatting();
}

void RichEditActions::align(Qt::Alignment alignment)
{
    if (editor_->beginEdit())
        editor_->setAlignment(alignment);
    showFormatting();
}

void RichEditActions::showFormatting()
{
    const QScopedValueRollback showing(showing_, true);
    const QTextCharFormat format = editor_->currentCharFormat();
    bold->setChecked(format.fontWeight() >= QFont::Bold);
    italic->setChecked(format.fontItalic());
    underline->setChecked(format.fontUnderline());
    const Qt::Alignment alignment = editor_->alignment() & Qt::AlignHorizontal_Mask;
    alignCenter->setChecked(alignment == Qt::AlignHCenter);
    alignRight->setChecked(alignment == Qt::AlignRight);
    alignLeft->setChecked(alignment != Qt::AlignHCenter && alignment != Qt::AlignRight);
}

}  // namespace vorlin::ui
