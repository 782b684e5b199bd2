#pragma once

#include "fields/FieldSyntax.h"
#include "fields/FieldValue.h"

#include <QDate>
#include <QDialog>
#include <QHash>

#include <memory>

class QLabel;
class QTimer;
class QTextDocument;
class QTextEdit;

namespace vorlin::fields {
class CompanyLookup;
class RememberedValues;
struct RegisterAnswer;
}

namespace vorlin::ui {

// The form that asks for a snippet's fields before it is inserted: one line
// a field (each name once, in the body's order, the first one focused),
// what is wrong in red beneath a line, how a date was reached in grey, and
// the filled text underneath. Enter inserts when nothing is wrong, Ctrl+Enter
// inserts as typed, Esc inserts nothing. An IČO typed beside fields such as
// {{firma}} and {{sídlo}} is looked up in the business register, whose
// values fill those lines unless the user typed into them.
class FieldForm : public QDialog {
    Q_OBJECT
public:
    // Without a lookup (or with one whose address is empty) nothing is asked.
    FieldForm(const QTextDocument& body, fields::RememberedValues& remembered, const QDate& today,
              std::unique_ptr<fields::CompanyLookup> lookup = nullptr, QWidget* parent = nullptr);
    ~FieldForm() override;

    // The body with the values in their places.
    std::unique_ptr<QTextDocument> filledBody() const;

    // Whether a body has fields or literal "{{" to fill in; one without
    // goes out as it is.
    static bool hasFields(const QTextDocument& body);
    // The body to insert: itself when it has no fields, else filled through
    // the form; nothing when the user pressed Esc.
    static std::unique_ptr<QTextDocument> bodyToInsert(const QTextDocument& body, QWidget* parent);

    void accept() override;

    // The most fields a form asks for; the others stay as written.
    static constexpr qsizetype kMostFieldsInForm = 100;

private:
    struct Line;
    void addDeclinedLine(Line& line);
    void addDecisionDetails(Line& line);
    void followGender(Line& line);
    void showLine(Line& line);
    void showValues();
    void showPreview();
    void setUpLookup(std::unique_ptr<fields::CompanyLookup> lookup);
    void lookUpTypedCompany();
    void fillFromRegister(const fields::RegisterAnswer& answer);
    void acceptAsTyped();
    fields::Evaluated evaluated(const Line& line) const;
    QString typed(const Line& line) const;

    const QTextDocument& body_;
    fields::RememberedValues& remembered_;
    QDate today_;
    std::vector<std::unique_ptr<Line>> lines_;
    QHash<QString, Line*> lineByName_;  // by the field's name, letter case folded
    QTextEdit* preview_;
    QTimer* previewPause_ = nullptr;
    QLabel* keepProblem_;  // the values could not be kept for the next form
    std::unique_ptr<fields::CompanyLookup> lookup_;
    Line* companyLine_ = nullptr;
    QString askedCompanyId_;
    bool filling_ = false;  // lines written by the register, not typed
};

}  // namespace vorlin::ui
