#include "ui/widgets/RichEditActions.h"

#include "ui/Icons.h"
#include "ui/widgets/DBRichEdit.h"

#include <QToolBar>

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

    connect(alignLeft, &QAction::triggered, this, [this] { align(Qt::AlignLeft); });
    connect(alignCenter, &QAction::triggered, this, [this] { align(Qt::AlignHCenter); });
    connect(alignRight, &QAction::triggered, this, [this] { align(Qt::AlignRight); });
    for (QAction* a : {bold, italic, underline})
        connect(a, &QAction::triggered, this, [this, a] { toggleStyle(a); });
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
    for (QAction* a : {alignLeft, alignCenter, alignRight, bold, italic, underline})
        if (QWidget* button = toolBar->widgetForAction(a))
            button->setAccessibleName(a->toolTip());
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
