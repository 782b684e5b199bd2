#include "ui/fields/FieldForm.h"

#include "common/Paths.h"
#include "data/Settings.h"
#include "data/SettingsFile.h"
#include "fields/CompanyLookup.h"
#include "fields/FilledFields.h"
#include "fields/Identifiers.h"
#include "fields/NameCases.h"
#include "fields/PersonName.h"
#include "fields/RememberedValues.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/ErrorBox.h"
#include "ui/widgets/PlainLabel.h"
#include "ui/widgets/ShownText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScrollArea>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
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
    QLineEdit* declined = nullptr;  // a typed name's salutation, as it goes into the text
    QList<QLineEdit*> details;      // an ECLI's year of the decision and its ordinal
    QLabel* problem = nullptr;
    QLabel* explanation = nullptr;
    // What is wrong shows once the user typed into the line or tried to
    // insert: an untouched empty line is no mistake yet.
    bool checked = false;
    bool typedByUser = false;
    bool fromRegister = false;  // holds the register's value for the IČO asked before
    bool chosenByUser = false;  // a choice that no longer follows a name's gender
    QString registerNote;  // what the business register said about this line
};

namespace {

// The most lines a form shows at once; more scroll, in this height.
constexpr int kLinesShownWhole = 12;
constexpr int kLinesShownHeight = 420;

// Where a line's value is remembered: a salutation's correction for the
// name it corrects, any other value for the field's name.
QString rememberedKey(const Field& field)
{
    if (field.type == FieldType::Salutation && !field.options.isEmpty())
        return RememberedValues::salutationKey(field.options);
    return RememberedValues::fieldKey(field.name);
}

}  // namespace

FieldForm::FieldForm(const QTextDocument& body, RememberedValues& remembered, const QDate& today,
                     std::unique_ptr<fields::CompanyLookup> lookup, QWidget* parent)
    : QDialog(parent), body_(body), remembered_(remembered), today_(today)
{
    setObjectName(QStringLiteral("FieldForm"));
    setWindowTitle(QStringLiteral("Vyplnit pole vorlinu"));
    auto* layout = new QVBoxLayout(this);
    auto* linesPanel = new QWidget(this);
    auto* form = new QFormLayout(linesPanel);
    form->setContentsMargins(0, 0, 0, 0);
    QList<Field> asked = fields::distinctFields(fields::scanFields(body.toPlainText()).fields);
    const qsizetype allFields = asked.size();
    if (asked.size() > kMostFieldsInForm)
        asked.resize(kMostFieldsInForm);
    for (const Field& field : asked) {
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
                shown->chosenByUser = shown->chosenByUser || !filling_;
                showLine(*shown);
                previewPause_->start();
            });
            input = line->choice;
        } else {
            line->edit = new QLineEdit(starting, this);
            connect(line->edit, &QLineEdit::textChanged, this, [this, shown = line.get()] {
                shown->checked = true;
                shown->typedByUser = shown->typedByUser || !filling_;
                showLine(*shown);
                previewPause_->start();
            });
            input = line->edit;
        }
        input->setAccessibleName(fields::inputCaption(field));
        if (field.type == FieldType::Salutation && fields::salutationName(field).isEmpty())
            addDeclinedLine(*line);
        if (field.type == FieldType::Ecli)
            addDecisionDetails(*line);
        line->problem = plainLabel(this);
        line->problem->setStyleSheet(QStringLiteral("color: #c00000;"));
        line->problem->setWordWrap(true);
        line->explanation = plainLabel(this);
        line->explanation->setStyleSheet(QStringLiteral("color: #606060;"));
        line->explanation->setWordWrap(true);
        line->problem->hide();  // until there is something to say
        line->explanation->hide();
        auto* column = new QVBoxLayout;
        column->setSpacing(1);
        column->addWidget(input);
        if (line->declined) {
            auto* declinedRow = new QHBoxLayout;
            declinedRow->addWidget(plainLabel(this, QStringLiteral("V oslovení:")));
            declinedRow->addWidget(line->declined, 1);
            column->addLayout(declinedRow);
        }
        if (!line->details.isEmpty()) {
            auto* detailsRow = new QHBoxLayout;
            for (QLineEdit* detail : line->details) {
                detailsRow->addWidget(plainLabel(this, detail->accessibleName() + u':'));
                detailsRow->addWidget(detail, 1);
            }
            column->addLayout(detailsRow);
        }
        column->addWidget(line->problem);
        column->addWidget(line->explanation);
        form->addRow(plainLabel(this, shownPrefix(fields::inputCaption(field)) + u':'), column);
        lineByName_.insert(fields::fieldNameKey(field.name), line.get());
        lines_.push_back(std::move(line));
    }
    if (allFields > asked.size()) {
        // A body of thousands of fields is no form a person fills in: the
        // rest stay in the text as written, and the form says so.
        auto* left = plainLabel(this, QStringLiteral("Text má %1 různých polí; formulář ukazuje prvních %2, ostatní "
                                                     "zůstanou v textu tak, jak jsou napsána.")
                                          .arg(QLocale(QLocale::Czech).toString(allFields))
                                          .arg(kMostFieldsInForm));
        left->setObjectName(QStringLiteral("FieldsLeftOut"));
        left->setStyleSheet(QStringLiteral("color: #c00000;"));
        left->setWordWrap(true);
        layout->addWidget(left);
    }
    if (lines_.size() <= kLinesShownWhole) {
        layout->addWidget(linesPanel);
    } else {
        // More lines than a screen takes scroll; the filled text and the
        // buttons stay in view beneath them.
        auto* linesArea = new QScrollArea(this);
        linesArea->setWidgetResizable(true);
        linesArea->setFrameShape(QFrame::NoFrame);
        linesArea->setWidget(linesPanel);
        linesArea->setMinimumHeight(kLinesShownHeight);
        layout->addWidget(linesArea, 1);
    }
    // The filled text follows the typing once it pauses: a long body is
    // not filled again for every letter.
    previewPause_ = new QTimer(this);
    previewPause_->setSingleShot(true);
    previewPause_->setInterval(200);
    connect(previewPause_, &QTimer::timeout, this, &FieldForm::showPreview);
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
    keepProblem_ = plainLabel(this);
    keepProblem_->setStyleSheet(QStringLiteral("color: #c00000;"));
    keepProblem_->setWordWrap(true);
    keepProblem_->hide();
    layout->addWidget(keepProblem_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &FieldForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FieldForm::reject);
    for (const auto& keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &FieldForm::acceptAsTyped);
    for (const auto& line : lines_)
        followGender(*line);
    setUpLookup(std::move(lookup));
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
    if (line.declined)
        return {line.declined->text(), {}, {}};  // the user's word over the rules'
    QString input = typed(line);
    for (const QLineEdit* detail : line.details)
        input += QStringLiteral(", ") + detail->text();
    return fields::evaluateField(line.field, input, today_);
}

void FieldForm::followGender(Line& line)
{
    // A choice of a man's and a woman's word follows the gender of the
    // name it names, until the user chooses by hand.
    Line* source = line.choice && !line.field.genderOf.isEmpty()
        ? lineByName_.value(fields::fieldNameKey(line.field.genderOf))
        : nullptr;
    if (!source || !source->edit)
        return;
    const auto follow = [this, shown = &line, source] {
        if (shown->chosenByUser || source->edit->text().trimmed().isEmpty())
            return;
        filling_ = true;
        shown->choice->setCurrentIndex(fields::genderOfName(source->edit->text()) == fields::Gender::Female ? 1 : 0);
        filling_ = false;
    };
    follow();
    connect(source->edit, &QLineEdit::textChanged, this, follow);
}

void FieldForm::addDecisionDetails(Line& line)
{
    // An ECLI names the decision's year (this one unless typed) and its
    // ordinal (the file number's page, else the first).
    auto* year = new QLineEdit(QString::number(today_.year()), this);
    year->setAccessibleName(QStringLiteral("Rok rozhodnutí"));
    auto* ordinal = new QLineEdit(this);
    ordinal->setAccessibleName(QStringLiteral("Pořadí"));
    ordinal->setPlaceholderText(QStringLiteral("1"));
    for (QLineEdit* detail : {year, ordinal}) {
        line.details << detail;
        connect(detail, &QLineEdit::textChanged, this, [this, shown = &line] {
            shown->checked = true;
            showLine(*shown);
            previewPause_->start();
        });
    }
}

void FieldForm::addDeclinedLine(Line& line)
{
    // The typed name's vocative, editable: a correction is remembered for
    // that name and offered the next time it is typed.
    line.declined = new QLineEdit(this);
    line.declined->setAccessibleName(fields::inputCaption(line.field) + QStringLiteral(" v 5. pádě"));
    const auto decline = [this, shown = &line] {
        const QString name = shown->edit->text();
        const std::optional<QString> corrected =
            name.trimmed().isEmpty()
                ? std::nullopt
                : remembered_.value(RememberedValues::salutationKey(fields::salutationCorrectionKey(shown->field, name)));
        shown->declined->setText(corrected ? *corrected : fields::salutationOf(shown->field, name));
    };
    decline();
    connect(line.edit, &QLineEdit::textChanged, this, decline);
    connect(line.declined, &QLineEdit::textChanged, this, [this, shown = &line] {
        showLine(*shown);
        previewPause_->start();
    });
}

void FieldForm::showLine(Line& line)
{
    const Evaluated value = evaluated(line);
    const bool wrong = line.checked && !value.problem.isEmpty();
    line.problem->setText(wrong ? value.problem : QString());
    line.problem->setVisible(wrong);
    QStringList explained;
    for (const QString& part : {value.explanation, line.registerNote})
        if (!part.isEmpty())
            explained << part;
    line.explanation->setText(explained.join(QStringLiteral(" – ")));
    line.explanation->setVisible(!explained.isEmpty());
}

void FieldForm::showValues()
{
    for (const auto& line : lines_)
        showLine(*line);
    showPreview();
}

void FieldForm::showPreview()
{
    previewPause_->stop();
    // The editor deletes the filled text it showed before: its child.
    std::unique_ptr<QTextDocument> filled = filledBody();
    filled->setParent(preview_);
    preview_->setDocument(filled.release());
}

void FieldForm::setUpLookup(std::unique_ptr<fields::CompanyLookup> lookup)
{
    if (!lookup || !lookup->isOn())
        return;
    const fields::CompanyRecord nobody;
    bool registerFills = false;
    for (const auto& line : lines_) {
        if (line->field.type == FieldType::CompanyId && line->edit && !companyLine_)
            companyLine_ = line.get();
        registerFills = registerFills || (line->edit && fields::registerValueFor(nobody, line->field.name));
    }
    if (!companyLine_ || !registerFills)
        return;
    lookup_ = std::move(lookup);
    connect(lookup_.get(), &fields::CompanyLookup::answered, this, &FieldForm::fillFromRegister);
    // Asked once the typing pauses, not for every prefix that happens to be
    // a valid IČO.
    auto* pause = new QTimer(this);
    pause->setSingleShot(true);
    pause->setInterval(400);
    connect(pause, &QTimer::timeout, this, &FieldForm::lookUpTypedCompany);
    connect(companyLine_->edit, &QLineEdit::textEdited, pause, qOverload<>(&QTimer::start));
}

void FieldForm::lookUpTypedCompany()
{
    const fields::Checked companyId = fields::checkedCompanyId(companyLine_->edit->text());
    if (!companyId.problem.isEmpty()) {
        askedCompanyId_.clear();
        companyLine_->registerNote.clear();
    } else if (companyId.written != askedCompanyId_) {
        askedCompanyId_ = companyId.written;
        companyLine_->registerNote = QStringLiteral("Hledám v registru ARES…");
        lookup_->lookUp(companyId.written);
    }
    showLine(*companyLine_);
}

void FieldForm::fillFromRegister(const fields::RegisterAnswer& answer)
{
    if (askedCompanyId_.isEmpty()
        || fields::checkedCompanyId(companyLine_->edit->text()).written != askedCompanyId_)
        return;  // the IČO changed since it was asked about
    if (!answer.company) {
        // Another company's values do not stay beside this IČO.
        for (const auto& line : lines_)
            if (line->fromRegister && !line->typedByUser) {
                filling_ = true;
                line->edit->clear();
                filling_ = false;
                line->fromRegister = false;
            }
        companyLine_->registerNote = answer.problem;
        showValues();
        return;
    }
    companyLine_->registerNote = QStringLiteral("Z registru ARES: ") + answer.company->name;
    for (const auto& line : lines_) {
        const std::optional<QString> value = fields::registerValueFor(*answer.company, line->field.name);
        if (line->edit && line->fromRegister && !line->typedByUser && (!value || value->isEmpty())) {
            // The company asked before had this line, this one has not:
            // its value does not stay beside another company's IČO.
            filling_ = true;
            line->edit->clear();
            filling_ = false;
            line->fromRegister = false;
        }
        if (!line->edit || !value || value->isEmpty())
            continue;
        // What the user typed stays; the register's value is shown beside it.
        if (line->typedByUser) {
            line->registerNote = line->edit->text() == *value ? QString() : QStringLiteral("V registru ARES: ") + *value;
            continue;
        }
        line->registerNote.clear();
        filling_ = true;
        line->edit->setText(*value);
        filling_ = false;
        line->fromRegister = true;
    }
    showValues();
}

std::unique_ptr<QTextDocument> FieldForm::filledBody() const
{
    std::unique_ptr<QTextDocument> filled(body_.clone());
    QHash<const Line*, QString> values;  // each line evaluated once, however often its field stands
    fields::fillFields(*filled, [&](const Field& field) -> std::optional<QString> {
        const Line* line = lineByName_.value(fields::fieldNameKey(field.name));
        if (!line)
            return std::nullopt;  // beyond the form's lines: left as written
        auto value = values.find(line);
        if (value == values.end())
            value = values.insert(line, evaluated(*line).value);
        return field.nameCase > 0 ? fields::nameInCase(*value, field.nameCase) : *value;
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
    QList<std::pair<QString, QString>> values;
    for (const auto& line : lines_) {
        values.append({rememberedKey(line->field), typed(*line)});
        if (line->declined && !line->edit->text().simplified().isEmpty())
            values.append({RememberedValues::salutationKey(fields::salutationCorrectionKey(line->field, line->edit->text())),
                           line->declined->text()});
    }
    QString reason;
    remembered_.keep(values, &reason);
    // Said once, in the form, so that the values typed are not lost with it:
    // the next Enter inserts them all the same.
    if (!reason.isEmpty() && keepProblem_->isHidden()) {
        keepProblem_->setText(QStringLiteral("Hodnoty se nepodařilo uložit pro příští vyplnění (%1). "
                                             "Enter vloží text i tak.")
                                  .arg(reason));
        keepProblem_->show();
        return;
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
    const QString registerAddress = programSettings().readString(
        settings::kSection, settings::kRegisterAddressKey, settings::kRegisterAddressDefault.toString());
    FieldForm form(body, remembered, QDate::currentDate(), std::make_unique<fields::CompanyLookup>(registerAddress),
                   parent);
    if (runDialog(form) != QDialog::Accepted)
        return nullptr;
    return form.filledBody();
}

}  // namespace vorlin::ui
