#pragma once

#include "db/Query.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

namespace vorlin::db {

// Binds data-aware controls to a query: passes on its notifications and puts
// it into editing when a control is edited (auto-edit).
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr) : QObject(parent) {}
    ~DataSource() override { setDataSet(nullptr); }

    Query* dataSet() const { return query_; }
    void setDataSet(Query* query);

    bool autoEdit() const { return autoEdit_; }
    void setAutoEdit(bool on) { autoEdit_ = on; }

    // A control is about to change a value: with auto-edit, a browsing query
    // starts editing (an empty one inserts). True when the query is in
    // editing afterwards and the control may write.
    bool edit();

    // A control's way of writing the edit it holds into the row, asked for
    // before every post; gone with the control. An error it raises stops
    // the post.
    void addEditWriter(QObject* control, std::function<void()> write);
    void removeEditWriters(const QObject* control);

    // While held, the controls are not told of the query's changes (a walk
    // over every row shows nothing of it); at the release they show the
    // query as it is then. Holds nest.
    void holdControls();
    void releaseControls();

Q_SIGNALS:
    // A control should forget the query it showed (it was replaced).
    void dataSetReplaced();
    void activeChanged(bool active);
    void dataSetChanged();
    void rowsRefreshed();
    void rowsInserted(int first, int count);
    void rowsRemoved(int first, int count);
    void scrolled();
    void recordChanged(const QString& field);
    void stateChanged();

private:
    void writePendingEdits();

    struct EditWriter {
        QPointer<QObject> control;
        std::function<void()> write;
    };
    QList<EditWriter> editWriters_;
    int held_ = 0;
    QPointer<Query> query_;
    bool autoEdit_ = true;
};

// The controls held for a scope.
class HeldControls {
public:
    explicit HeldControls(DataSource& source) : source_(source) { source_.holdControls(); }
    ~HeldControls() { source_.releaseControls(); }
    HeldControls(const HeldControls&) = delete;
    HeldControls& operator=(const HeldControls&) = delete;

private:
    DataSource& source_;
};

}  // namespace vorlin::db
