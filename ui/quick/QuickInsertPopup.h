#pragma once

#include "data/QuickSearch.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class QListView;
class QTextEdit;

namespace vorlin::ui {

class QuickListModel;

// The quick-insert pop-up: a small frameless window near the pointer with a
// search box, a kind filter, the matching snippets (name and kind) and a
// preview of the selected body. Up, Down and the page keys move in the list
// from the search box, Enter asks for the snippet formatted, Shift+Enter as
// plain text, Esc closes without anything.
class QuickInsertPopup : public QWidget {
    Q_OBJECT
public:
    // The body of a snippet as stored (RTF or plain text), read when the
    // snippet is selected.
    using BodyReader = std::function<QString(qint64 id)>;

    explicit QuickInsertPopup(BodyReader bodyOf, QWidget* parent = nullptr);
    ~QuickInsertPopup() override;

    // The snippets to choose from, the kinds of the filter, and the lately
    // inserted (shown first while the box is empty); what is typed stays.
    void setSnippets(std::shared_ptr<const search::QuickSearch> snippets, const QStringList& kinds,
                     QList<qint64> recent);

    // Shown emptied, near the pointer, on the screen the pointer is on,
    // with the keyboard in the search box.
    void popUp();

Q_SIGNALS:
    void insertRequested(qint64 id, bool formatted);
    void dismissed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void search();
    void showPreview();
    void choose(bool formatted);
    void dismiss();

    BodyReader bodyOf_;
    std::shared_ptr<const search::QuickSearch> snippets_;
    // The last search among these snippets, which the next key narrows.
    search::QuickSearch::Found found_;
    QList<qint64> recent_;
    QLineEdit* box_;
    QComboBox* kind_;
    QListView* list_;
    QuickListModel* model_;
    QTextEdit* preview_;
    bool wasActive_ = false;
};

}  // namespace vorlin::ui
