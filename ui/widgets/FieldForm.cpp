#include "ui/widgets/FieldForm.h"

#include "common/Paths.h"
#include "fields/FilledFields.h"
#include "fields/RememberedValues.h"
#include "ui/shell/ErrorBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace vorlin::ui {

using fields::Evaluated;
using fields::Field;
using fields::FieldType;
using fields::RememberedValues;

struct FieldForm::Line {
    Field field;
    QLineEdit* edit = nullptr;    // typed values
    QComboBox* choice = nullptr;  // a choice's options
    QLabel* problem = nullptr;
    QLabel* explanation = nullptr;
    // What is wrong shows once the user typed into the line or tried to
    // insert: an untouched empty line is no mistake yet.
    bool checked = false;
};

namespace {

// Where a line's value is remembered: a salutation's correction for the
// name it corrects, any other value for the field's name.
QString rememberedKey(const Field& field)
{
    if (field.type == FieldType::Salutation && !field.options.isEmpty())
        return RememberedValues::salutationKey(field.options);
    return RememberedValues::fieldKey(field.name);
}

}  // namespace

FieldForm::FieldForm(const QTextDocument& body, RememberedValues& remembered, const QDate& today, QWidget* parent)
    : QDialog(parent), body_(body), remembered_(remembered), today_(today)
{
    setObjectName(QStringLiteral("FieldForm"));
    setWindowTitle(QStringLiteral("Vyplnit pole vorlinu"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    for (const Field& field : fields::distinctFields(fields::scanFields(body.toPlainText()).fields)) {
        auto line = std::make_unique<Line>();
        line->field = field;
        const QString starting = fields::startingInput(field, remembered.value(rememberedKey(field)), today);
        QWidget* input = nullptr;
        if (field.type == FieldType::Choice) {
            line->choice = new QComboBox(this);
            line->choice->addItems(fields::fieldChoices(field));
            line->choice->setCurrentText(starting);
            connect(line->choice, &QComboBox::currentTextChanged, this, [this, shown = line.get()] {
                shown->checked = true;
                showValues();
            });
            input = line->choice;
        } else {
            line->edit = new QLineEdit(starting, this);
            connect(line->edit, &QLineEdit::textChanged, this, [this, shown = line.get()] {
                shown->checked = true;
                showValues();
            });
            input = line->edit;
        }
        input->setAccessibleName(fields::inputCaption(field));
        line->problem = new QLabel(this);
        line->problem->setStyleSheet(QStringLiteral("color: #c00000;"));
        line->problem->setWordWrap(true);
        line->explanation = new QLabel(this);
        line->explanation->setStyleSheet(QStringLiteral("color: #606060;"));
        line->explanation->setWordWrap(true);
        auto* column = new QVBoxLayout;
        column->setSpacing(1);
        column->addWidget(input);
        column->addWidget(line->problem);
        column->addWidget(line->explanation);
        form->addRow(fields::inputCaption(field) + u':', column);
        lines_.push_back(std::move(line));
    }
    auto* previewCaption = new QLabel(QStringLiteral("Vyplněný text:"), this);
    layout->addWidget(previewCaption);
    preview_ = new QTextEdit(this);
    preview_->setObjectName(QStringLiteral("FieldPreview"));
    preview_->setReadOnly(true);
    preview_->setAccessibleName(QStringLiteral("Vyplněný text"));
    preview_->setMinimumHeight(90);
    preview_->setMaximumHeight(160);
    layout->addWidget(preview_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* insert = buttons->addButton(QStringLiteral("Vložit"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    insert->setDefault(true);
    auto* hint = new QLabel(QStringLiteral("Ctrl+Enter vloží text i s hodnotami, které neprošly kontrolou."), this);
    hint->setStyleSheet(QStringLiteral("color: #606060;"));
    layout->addWidget(hint);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &FieldForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FieldForm::reject);
    for (const auto keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &FieldForm::acceptAsTyped);
    showValues();
    resize(560, sizeHint().height());
    if (!lines_.empty())
        (lines_.front()->edit ? static_cast<QWidget*>(lines_.front()->edit) : lines_.front()->choice)->setFocus();
}

FieldForm::~FieldForm() = default;

QString FieldForm::typed(const Line& line) const
{
    return line.edit ? line.edit->text() : line.choice->currentText();
}

Evaluated FieldForm::evaluated(const Line& line) const
{
    return fields::evaluateField(line.field, typed(line), today_);
}

void FieldForm::showValues()
{
    for (const auto& line : lines_) {
        const Evaluated value = evaluated(*line);
        const bool wrong = line->checked && !value.problem.isEmpty();
        line->problem->setText(wrong ? value.problem : QString());
        line->problem->setVisible(wrong);
        line->explanation->setText(value.explanation);
        line->explanation->setVisible(!value.explanation.isEmpty());
    }
    // The editor deletes the filled text it showed before: its child.
    std::unique_ptr<QTextDocument> filled = filledBody();
    filled->setParent(preview_);
    preview_->setDocument(filled.release());
}

std::unique_ptr<QTextDocument> FieldForm::filledBody() const
{
    std::unique_ptr<QTextDocument> filled(body_.clone());
    fields::fillFields(*filled, [this](const Field& field) -> std::optional<QString> {
        for (const auto& line : lines_)
            if (fields::sameFieldName(line->field.name, field.name))
                return evaluated(*line).value;
        return std::nullopt;
    });
    return filled;
}

void FieldForm::accept()
{
    QWidget* firstWrong = nullptr;
    for (const auto& line : lines_) {
        line->checked = true;
        if (!firstWrong && !evaluated(*line).problem.isEmpty())
            firstWrong = line->edit ? static_cast<QWidget*>(line->edit) : line->choice;
    }
    if (firstWrong) {
        showValues();
        firstWrong->setFocus();
        return;  // Ctrl+Enter inserts anyway
    }
    acceptAsTyped();
}

void FieldForm::acceptAsTyped()
{
    for (const auto& line : lines_) {
        QString reason;
        if (!remembered_.keep(rememberedKey(line->field), typed(*line), &reason))
            qWarning("The field values could not be kept: %s", qPrintable(reason));
    }
    QDialog::accept();
}

bool FieldForm::hasFields(const QTextDocument& body)
{
    const fields::FieldScan scan = fields::scanFields(body.toPlainText());
    return !scan.fields.isEmpty() || !scan.escapes.isEmpty();
}

std::unique_ptr<QTextDocument> FieldForm::bodyToInsert(const QTextDocument& body, QWidget* parent)
{
    if (fields::scanFields(body.toPlainText()).fields.isEmpty()) {
        std::unique_ptr<QTextDocument> plain(body.clone());
        fields::fillFields(*plain, [](const Field&) { return std::nullopt; });  // "{{{{" → "{{"
        return plain;
    }
    fields::RememberedValues remembered(paths().dataDir + QStringLiteral("pole.json"));
    FieldForm form(body, remembered, QDate::currentDate(), parent);
    if (form.exec() != QDialog::Accepted)
        return nullptr;
    return form.filledBody();
}

}  // namespace vorlin::ui
