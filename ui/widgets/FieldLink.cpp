#include "ui/widgets/FieldLink.h"

namespace vorlin::ui {

FieldLink::FieldLink(QObject* parent, std::function<void(const QVariant&)> show, std::function<QVariant()> take)
    : QObject(parent), show_(std::move(show)), take_(std::move(take))
{
}

void FieldLink::setDataSource(db::DataSource* source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &db::DataSource::dataSetChanged, this, &FieldLink::reload);
        connect(source_, &db::DataSource::scrolled, this, &FieldLink::reload);
        connect(source_, &db::DataSource::activeChanged, this, &FieldLink::reload);
        connect(source_, &db::DataSource::dataSetReplaced, this, &FieldLink::reload);
        connect(source_, &db::DataSource::recordChanged, this, &FieldLink::recordChanged);
        connect(source_, &db::DataSource::updateRecordRequested, this, &FieldLink::writeBack);
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
    // Showing the same value again would only lose the caret's place.
    if (!modified_ && value.isNull() == shown_.isNull() && value == shown_ && shownOnce_)
        return;
    loading_ = true;
    show_(value);
    loading_ = false;
    modified_ = false;
    shown_ = value;
    shownOnce_ = true;
}

void FieldLink::recordChanged(const QString& field)
{
    if (writing_)
        return;  // the control's own value, already shown
    if (field.isEmpty() || field.compare(field_, Qt::CaseInsensitive) == 0)
        reload();
}

}  // namespace vorlin::ui
