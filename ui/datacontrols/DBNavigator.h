#pragma once

#include "db/DataSource.h"

#include <QPointer>
#include <QToolButton>
#include <QWidget>

#include <array>

namespace vorlin::ui {

// The record navigator: ten buttons over the data source, enabled by the
// query's state, each with its glyph above its caption.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh, ButtonCount };

    explicit DBNavigator(db::DataSource* source, QWidget* parent = nullptr);

    QToolButton* button(Button which) const { return buttons_[which]; }
    void setVisibleButtons(std::initializer_list<Button> shown);

    // What the button does, as a click does it ("Smazat" asks first).
    void press(Button which);

private:
    db::Query* query() const;
    void updateButtons();

    QPointer<db::DataSource> source_;
    std::array<QToolButton*, ButtonCount> buttons_{};
};

}  // namespace vorlin::ui
