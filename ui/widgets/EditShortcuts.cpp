#include "ui/widgets/EditShortcuts.h"

#include "db/DataSource.h"
#include "db/Query.h"
#include "ui/shell/Guarded.h"

#include <QShortcut>
#include <QWidget>

namespace vorlin::ui {

void addEditShortcuts(QWidget* window, db::DataSource* source)
{
    const auto whileEditing = [source](void (db::Query::*step)()) {
        return [source, step] {
            db::Query* query = source->dataSet();
            if (query && query->isEditing())
                (query->*step)();
        };
    };
    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), window);
    QObject::connect(save, &QShortcut::activated, window, guarded(whileEditing(&db::Query::post)));
    auto* drop = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(drop, &QShortcut::activated, window, guarded(whileEditing(&db::Query::cancel)));
}

}  // namespace vorlin::ui
