#pragma once

#include "db/DataSource.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

namespace vorlin::ui {

// What a data-aware control shares: the field of the data source it shows,
// when to show the value again, when to write its edit back, and how an edit
// starts. The control gives two functions: one that shows a value, one that
// gives the value it holds.
class FieldLink : public QObject {
    Q_OBJECT
public:
    FieldLink(QObject* parent, std::function<void(const QVariant&)> show, std::function<QVariant()> take);
    ~FieldLink() override;

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const { return source_; }
    void setField(const QString& field);
    const QString& field() const { return field_; }

    // The user is about to change the control, or has just changed it: the
    // query starts editing (an empty list starts a new row). The control keeps
    // what it holds meanwhile. False when the control must not change.
    bool beginEdit();
    // The same from an event of the control: an error is shown in the error
    // box and the edit does not start.
    bool beginEditShowingErrors();

    // The control's value changed by the user.
    void markModified() { modified_ = editShown_ = true; }
    bool isModified() const { return modified_; }

    // Writes a changed value into the field (when the control loses the focus
    // and before the row is saved).
    void writeBack();
    // The same as the control loses the focus: an error is shown, the row
    // stays in editing with the control's value.
    void writeBackShowingErrors();

    // Shows the current value again and forgets the control's own change.
    void reload();

    // Undoes a change the row could not take: the field's value is shown again.
    void revert();

    bool isLoading() const { return loading_; }
    // While a value is being shown: whether it replaces the user's edit of
    // the same row, dropped (Esc, "Neukládat"). The control shows it so that
    // its undo brings the edit back.
    bool showsOverADroppedEdit() const { return overDroppedEdit_; }

private:
    // Shows the value again after a change of the data source, except over
    // the user's edit in progress.
    void follow();
    void recordChanged(const QString& field);

    QPointer<db::DataSource> source_;
    QString field_;
    std::function<void(const QVariant&)> show_;
    std::function<QVariant()> take_;
    bool modified_ = false;
    bool loading_ = false;
    bool writing_ = false;
    bool editStarting_ = false;
    QVariant shown_;  // the value the control shows, as the field had it
    bool shownOnce_ = false;
    QVariant shownKey_;  // the row it belongs to
    bool editShown_ = false;  // the control holds what the user changed
    bool overDroppedEdit_ = false;
};

}  // namespace vorlin::ui
