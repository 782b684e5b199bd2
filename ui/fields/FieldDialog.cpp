#include "ui/fields/FieldDialog.h"

#include "fields/FieldSyntax.h"
#include "ui/richtext/DBRichEdit.h"
#include "ui/shell/Dialogs.h"
#include "ui/widgets/PlainLabel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vorlin::ui {

using fields::FieldType;

namespace {

// What the options of each type look like.
QString optionsExample(FieldType type)
{
    switch (type) {
    case FieldType::Text: return QStringLiteral("výchozí text, nebo 2. pád (jméno pole v jiném pádě)");
    case FieldType::Choice: return QStringLiteral("žalobce|žalovaný, nebo žalobce|žalobkyně podle jméno");
    case FieldType::Date: return QStringLiteral("slovy, nebo 07.12.2026");
    case FieldType::Deadline: return QStringLiteral("15 dnů od doručení");
    case FieldType::DataBoxDelivery: return QStringLiteral("slovy, nebo 07.12.2026");
    case FieldType::Salutation: return QStringLiteral("Petr Novák, nebo titulem JUDr. Jana Nováková");
    default: return QString();
    }
}

}  // namespace

FieldDialog::FieldDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FieldDialog"));
    setWindowTitle(QStringLiteral("Vložit pole"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    name_ = new QLineEdit(this);
    name_->setAccessibleName(QStringLiteral("Název pole"));
    // A name holds no ":", "{" or "}": they would end it.
    name_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^:{}]*")), name_));
    type_ = new QComboBox(this);
    type_->setAccessibleName(QStringLiteral("Druh pole"));
    for (const FieldType type : fields::fieldTypes())
        type_->addItem(fields::fieldTypeName(type), int(type));
    options_ = new QLineEdit(this);
    options_->setAccessibleName(QStringLiteral("Možnosti pole"));
    written_ = plainLabel(this);
    written_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("Název pole:"), name_);
    form->addRow(QStringLiteral("Druh:"), type_);
    form->addRow(QStringLiteral("Možnosti:"), options_);
    form->addRow(QStringLiteral("Zapíše se:"), written_);
    auto* buttons = new QDialogButtonBox(this);
    insert_ = buttons->addButton(QStringLiteral("Vložit"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    insert_->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(type_, &QComboBox::currentIndexChanged, this, &FieldDialog::typeChosen);
    connect(name_, &QLineEdit::textChanged, this, &FieldDialog::showWritten);
    connect(options_, &QLineEdit::textChanged, this, &FieldDialog::showWritten);
    typeChosen();
    resize(440, sizeHint().height());
}

void FieldDialog::typeChosen()
{
    const auto type = FieldType(type_->currentData().toInt());
    // A name nobody typed follows the type: "datum", "lhůta".
    if (name_->text().isEmpty() || name_->text() == lastTypeName_)
        name_->setText(type == FieldType::Text || type == FieldType::Choice ? QString() : fields::fieldTypeName(type));
    lastTypeName_ = name_->text();
    options_->setPlaceholderText(optionsExample(type));
    showWritten();
}

void FieldDialog::showWritten()
{
    const bool named = !name_->text().trimmed().isEmpty();
    written_->setText(named ? fieldText() : QStringLiteral("(pole potřebuje název)"));
    insert_->setEnabled(named);
}

QString FieldDialog::fieldText() const
{
    return fields::fieldText(name_->text(), FieldType(type_->currentData().toInt()), options_->text());
}

void FieldDialog::insertInto(DBRichEdit& editor, QWidget* parent)
{
    FieldDialog dialog(parent);
    if (runDialog(dialog) != QDialog::Accepted || !editor.beginEdit())
        return;
    QTextCursor cursor = editor.textCursor();
    cursor.insertText(dialog.fieldText());
    editor.setTextCursor(cursor);
    editor.setFocus();
}

}  // namespace vorlin::ui
