#pragma once

class QWidget;

namespace vorlin::db {
class DataSource;
}

namespace vorlin::ui {

// In the window, while its row is being edited: Ctrl+S stores the change
// ("Uložit"), Esc drops it ("Neukládat"). Elsewhere both keys do what they
// did before.
void addEditShortcuts(QWidget* window, db::DataSource* source);

}  // namespace vorlin::ui
