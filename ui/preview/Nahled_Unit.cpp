#include "ui/preview/Nahled_Unit.h"

#include "ui/shell/ErrorBox.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/MessageBox.h"
#include "common/TextFile.h"
#include "data/DM_Unit.h"
#include "rtf/Rtf.h"
#include "ui/Icons.h"
#include "ui/preview/CourtReference.h"
#include "ui/datacontrols/EditShortcuts.h"
#include "ui/fields/FieldDialog.h"
#include "ui/widgets/Named.h"
#include "ui/richtext/RichEditActions.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QVBoxLayout>

namespace vorlin {


const QString TNahled_Form::kSeparator = QStringLiteral("\r\n\r\n") + QString(39, u'=') + QStringLiteral("\r\n");

TNahled_Form::TNahled_Form(TDM& data, ui::FontDialog& fontDialog, QWidget* parent)
    : ui::SecondaryWindow(parent), data_(data), fontDialog_(fontDialog)
{
    setObjectName(QStringLiteral("Nahled_Form"));
    setWindowTitle(QStringLiteral("Náhled textu"));
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        QFont tahoma(QStringLiteral("Tahoma"));
        tahoma.setPointSize(8);
        setFont(tahoma);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar1 = ui::named(new QToolBar(this), "ToolBar1");
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setFixedHeight(29);
    layout->addWidget(ToolBar1);

    DBRichEdit1 = ui::named(new ui::DBRichEdit(this), "Nahled_DBRichEdit1");
    DBRichEdit1->link().setField(QStringLiteral("obsah"));
    DBRichEdit1->link().setDataSource(&data_.Vorlin_DataSource);
    layout->addWidget(DBRichEdit1, 1);

    ui::addEditShortcuts(this, &data_.Vorlin_DataSource);
    DBRichEdit1->setAccessibleName(QStringLiteral("Text záznamu v náhledu"));
    auto* actions = new ui::RichEditActions(DBRichEdit1);
    RichEditAlignLeft1 = ui::named(actions->alignLeft, "RichEditAlignLeft1");
    RichEditAlignCenter1 = ui::named(actions->alignCenter, "RichEditAlignCenter1");
    RichEditAlignRight1 = ui::named(actions->alignRight, "RichEditAlignRight1");
    RichEditBold1 = ui::named(actions->bold, "RichEditBold1");
    RichEditItalic1 = ui::named(actions->italic, "RichEditItalic1");
    RichEditUnderline1 = ui::named(actions->underline, "RichEditUnderline1");
    actions->addTo(ToolBar1);
    ToolButton8 = ui::named(ToolBar1->addAction(ui::icons::glyph(ui::icons::Glyph::Font), QStringLiteral("Písmo")),
                            "ToolButton8");
    ToolBar1->addSeparator();
    // The designed widths, or more where the face in use needs it for the caption.
    Button1 = ui::named(new QPushButton(QStringLiteral("sp.zn. Nejvyšší soud"), ToolBar1), "Button1");
    Button1->setFixedWidth(std::max(114, Button1->sizeHint().width()));
    Button2 = ui::named(new QPushButton(QStringLiteral("======"), ToolBar1), "Button2");
    Button2->setFixedWidth(std::max(64, Button2->sizeHint().width()));
    ToolBar1->addWidget(Button1);
    ToolBar1->addWidget(Button2);
    auto* field = ui::named(new QPushButton(QStringLiteral("Pole"), ToolBar1), "FieldButton");
    field->setToolTip(QStringLiteral("Vložit do textu pole, které se vyplní při vkládání"));
    ToolBar1->addWidget(field);
    connect(field, &QPushButton::clicked, this, ui::guarded([this] { ui::FieldDialog::insertInto(*DBRichEdit1, this); }));

    connect(ToolButton8, &QAction::triggered, this, ui::guarded(this, &TNahled_Form::ToolButton8Click));
    connect(Button1, &QPushButton::clicked, this, ui::guarded(this, &TNahled_Form::Button1Click));
    connect(Button2, &QPushButton::clicked, this, ui::guarded(this, &TNahled_Form::Button2Click));

    resize(602, 443);
}

void TNahled_Form::showWindow()
{
    showOver(home());
    DBRichEdit1->setFocus(Qt::ActiveWindowFocusReason);
}

void TNahled_Form::insertAtCursor(const QString& text)
{
    // Nothing to insert (an empty clipboard) changes nothing: no edit starts.
    if (text.isEmpty() || !DBRichEdit1->beginEdit())
        return;
    QTextCursor cursor = DBRichEdit1->textCursor();
    cursor.setPosition(cursor.selectionStart());
    DBRichEdit1->setTextCursor(cursor);
    DBRichEdit1->ensureCursorVisible();
    // One step to undo, after the user's own steps, which stay: an edit
    // block of its own, which the text typed just before does not join.
    // The editor's undo joins typing that follows an insertion to it; a
    // block that ends in a change of format (here one changing nothing)
    // is joined by nothing.
    QTextCursor insertion = DBRichEdit1->textCursor();
    const int start = insertion.position();
    insertion.beginEditBlock();
    insertion.insertText(text);
    QTextCursor inserted(insertion);
    inserted.setPosition(start, QTextCursor::KeepAnchor);
    inserted.mergeCharFormat(QTextCharFormat());
    insertion.endEditBlock();
    DBRichEdit1->setTextCursor(insertion);
}

void TNahled_Form::Button1Click()
{
    // Linux programs put bare LF line breaks on the clipboard; the helper
    // reads them as the Windows clipboard's CR LF.
    insertAtCursor(courtReference(withCrLfLineEnds(QGuiApplication::clipboard()->text()), QLocale()));
}

void TNahled_Form::Button2Click()
{
    insertAtCursor(kSeparator);
}

void TNahled_Form::ToolButton8Click()
{
    if (!fontDialog_.execute(this))
        return;
    db::Query& query = data_.Vorlin_ADOQuery;
    if (!query.isEditing())
        query.edit();
    DBRichEdit1->applyFont(fontDialog_.font());
}

void TNahled_Form::FormClose()
{
    db::Query& query = data_.Vorlin_ADOQuery;
    // What was typed last goes into the row first: the question is about
    // all of it, and a "Ne" leaves it in the main window's editor.
    if (DBRichEdit1->link().isModified())
        DBRichEdit1->link().writeBack();
    if (query.state() == db::Query::State::Edit
        && MessageBox::askYesNo(this, MessageBox::Warning, QStringLiteral("Warning"),
                                QStringLiteral("Chcete změny uložit?."), MessageBox::Yes))
        query.post();
    if (query.state() == db::Query::State::Insert)
        Q_EMIT newRowBodyLeft(rtf::write(*DBRichEdit1->document()));
}

void TNahled_Form::closeEvent(QCloseEvent* event)
{
    // A save that meets a colleague's change asks as "Uložit" does; a row
    // that could not be saved keeps the window open with it.
    if (runShowingErrors([this] { FormClose(); }))
        event->accept();
    else
        event->ignore();
}

}  // namespace vorlin
