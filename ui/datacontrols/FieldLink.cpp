#include "ui/datacontrols/FieldLink.h"

#include "ui/shell/Guarded.h"

namespace vorlin::ui {

FieldLink::FieldLink(QObject* parent, std::function<void(const QVariant&)> show, std::function<QVariant()> take)
    : QObject(parent), show_(std::move(show)), take_(std::move(take))
{
}

FieldLink::~FieldLink()
{
    if (source_)
        source_->removeEditWriters(this);
}

void FieldLink::setDataSource(db::DataSource* source)
{
    if (source_) {
        disconnect(source_, nullptr, this, nullptr);
        source_->removeEditWriters(this);
    }
    source_ = source;
    if (source_) {
        // Showing a value reads the row, which may fail (a body that cannot
        // be read): the error is shown where the notification came in.
        for (const auto notification : {&db::DataSource::dataSetChanged, &db::DataSource::scrolled,
                                        &db::DataSource::dataSetReplaced})
            connect(source_, notification, this, guarded(this, &FieldLink::follow));
        for (const auto notification : {&db::DataSource::rowsInserted, &db::DataSource::rowsRemoved})
            connect(source_, notification, this, guarded(this, &FieldLink::follow));
        connect(source_, &db::DataSource::activeChanged, this, guarded(this, &FieldLink::follow));
        connect(source_, &db::DataSource::recordChanged, this, guarded(this, &FieldLink::recordChanged));
        // Called, not signalled: its error goes back to the post that asked.
        source_->addEditWriter(this, [this] { writeBack(); });
    }
    reload();
}

void FieldLink::setField(const QString& field)
{
    field_ = field;
    reload();
}

bool FieldLink::beginEdit()
{
    if (!source_ || !source_->dataSet())
        return false;
    // A new row started here is shown empty everywhere else; this control
    // keeps the text the user is typing into it.
    editStarting_ = true;
    try {
        const bool editing = source_->edit();
        editStarting_ = false;
        return editing;
    } catch (...) {
        editStarting_ = false;
        throw;
    }
}

bool FieldLink::beginEditShowingErrors()
{
    bool editing = false;
    runShowingErrors([&] { editing = beginEdit(); });
    return editing;
}

void FieldLink::writeBackShowingErrors()
{
    runShowingErrors([this] { writeBack(); });
}

void FieldLink::writeBack()
{
    if (!modified_ || !source_ || !source_->dataSet() || !source_->dataSet()->isEditing())
        return;
    const QVariant value = take_();
    writing_ = true;
    try {
        source_->dataSet()->setValue(field_, value);
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
    modified_ = false;
    shown_ = value;
}

void FieldLink::revert()
{
    modified_ = true;  // shows the value even where it seems unchanged
    reload();
}

void FieldLink::reload()
{
    if (editStarting_)
        return;
    QVariant value;
    db::Query* query = source_ ? source_->dataSet() : nullptr;
    if (query && query->isActive() && query->hasField(field_))
        value = query->value(field_);
    const QVariant key = query && query->isActive() ? query->currentKey() : QVariant();
    const bool editing = query && query->isEditing();
    // Showing the same value again would only lose the caret's place.
    if (!modified_ && value.isNull() == shown_.isNull() && value == shown_ && shownOnce_) {
        editShown_ = editShown_ && editing;
        return;
    }
    overDroppedEdit_ = editShown_ && !editing && !key.isNull() && key == shownKey_;
    loading_ = true;
    show_(value);
    loading_ = false;
    overDroppedEdit_ = false;
    modified_ = false;
    editShown_ = false;
    shown_ = value;
    shownKey_ = key;
    shownOnce_ = true;
}

void FieldLink::follow()
{
    // What the user is typing into the row being edited stays as typed,
    // whatever the list does meanwhile (a colleague's change read in, the
    // pop-up's reading): it is written into the row when the row is saved.
    const db::Query* query = source_ ? source_->dataSet() : nullptr;
    if (modified_ && query && query->isEditing())
        return;
    reload();
}

void FieldLink::recordChanged(const QString& field)
{
    if (writing_)
        return;  // the control's own value, already shown
    if (field.isEmpty())
        follow();
    else if (field.compare(field_, Qt::CaseInsensitive) == 0)
        reload();  // set by the program or another control: shown as set
}

}  // namespace vorlin::ui
