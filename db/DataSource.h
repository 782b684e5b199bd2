#pragma once

#include "db/Query.h"

#include <QObject>
#include <QPointer>

namespace vorlin::db {

// Binds data-aware controls to a query: passes on its notifications and puts
// it into editing when a control is edited (auto-edit).
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr) : QObject(parent) {}

    Query* dataSet() const { return query_; }
    void setDataSet(Query* query);

    bool autoEdit() const { return autoEdit_; }
    void setAutoEdit(bool on) { autoEdit_ = on; }

    // A control is about to change a value: with auto-edit, a browsing query
    // starts editing (an empty one inserts). True when the query is in
    // editing afterwards and the control may write.
    bool edit();

Q_SIGNALS:
    // A control should forget the query it showed (it was replaced).
    void dataSetReplaced();
    void activeChanged(bool active);
    void dataSetChanged();
    void scrolled();
    void recordChanged(const QString& field);
    void stateChanged();
    void updateRecordRequested();

private:
    QPointer<Query> query_;
    bool autoEdit_ = true;
};

}  // namespace vorlin::db
