#include "ui/quick/QuickInsertPopup.h"

#include "data/SnippetSearch.h"
#include "rtf/Rtf.h"
#include "ui/shell/Guarded.h"
#include "ui/widgets/ShownText.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vorlin::ui {

// The matching snippets as the list shows them: "name – kind". A long list
// is handed to the view a screenful or so at a time, as it is scrolled down
// to: the view keeps a place for each row it was given.
class QuickListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    static constexpr std::size_t kRowsAtOnce = 500;

    void show(std::shared_ptr<const search::QuickSearch> snippets, search::QuickSearch::Listing places)
    {
        beginResetModel();
        snippets_ = std::move(snippets);
        places_ = std::move(places);
        given_ = std::min(places_.size(), kRowsAtOnce);
        endResetModel();
    }

    qint64 idAt(int row) const
    {
        return snippets_ && row >= 0 && std::size_t(row) < given_ ? snippets_->idAt(places_[std::size_t(row)]) : 0;
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(given_); }

    bool canFetchMore(const QModelIndex& parent) const override { return !parent.isValid() && given_ < places_.size(); }

    void fetchMore(const QModelIndex& parent) override
    {
        if (!canFetchMore(parent))
            return;
        const std::size_t more = std::min(places_.size() - given_, kRowsAtOnce);
        beginInsertRows({}, int(given_), int(given_ + more) - 1);
        given_ += more;
        endInsertRows();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !snippets_)
            return {};
        const search::QuickEntry entry = snippets_->entryAt(places_[std::size_t(index.row())]);
        const QString name = shownPrefix(entry.name);
        return entry.kind.isEmpty() ? name : name + QStringLiteral(" – ") + shownPrefix(entry.kind);
    }

private:
    std::shared_ptr<const search::QuickSearch> snippets_;
    search::QuickSearch::Listing places_;
    std::size_t given_ = 0;  // the rows the view has been given
};

namespace {

constexpr QSize kPopupSize(560, 360);
constexpr int kFocusLossMs = 250;

}  // namespace

QuickInsertPopup::QuickInsertPopup(BodyReader bodyOf, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), bodyOf_(std::move(bodyOf))
{
    setObjectName(QStringLiteral("QuickInsertPopup"));
    setWindowTitle(QStringLiteral("Rychlé vložení"));
    // Of one size: a tiling Wayland desktop floats such a window above the
    // others instead of giving it a column of the screen.
    setFixedSize(kPopupSize);
    // Without a frame of the desktop's, a line of its own sets it off.
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#QuickInsertPopup { border: 1px solid palette(dark); }"));

    box_ = new QLineEdit(this);
    box_->setObjectName(QStringLiteral("QuickSearchBox"));
    box_->setPlaceholderText(QStringLiteral("Hledat v názvu a v klíčových slovech"));
    box_->setAccessibleName(QStringLiteral("Hledat v názvu a v klíčových slovech"));
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("QuickKind"));
    kind_->setAccessibleName(QStringLiteral("Druh záznamu"));
    model_ = new QuickListModel(this);
    list_ = new QListView(this);
    list_->setObjectName(QStringLiteral("QuickList"));
    list_->setAccessibleName(QStringLiteral("Nalezené záznamy"));
    list_->setModel(model_);
    list_->setUniformItemSizes(true);
    list_->setFocusPolicy(Qt::NoFocus);  // moved from the search box
    preview_ = new QTextEdit(this);
    preview_->setObjectName(QStringLiteral("QuickPreview"));
    preview_->setAccessibleName(QStringLiteral("Text záznamu"));
    preview_->setReadOnly(true);
    preview_->setFocusPolicy(Qt::NoFocus);

    auto* top = new QHBoxLayout;
    top->addWidget(box_, 1);
    top->addWidget(kind_);
    auto* middle = new QHBoxLayout;
    middle->addWidget(list_, 1);
    middle->addWidget(preview_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    setTabOrder(box_, kind_);

    box_->installEventFilter(this);
    connect(box_, &QLineEdit::textChanged, this, guarded(this, &QuickInsertPopup::search));
    connect(kind_, &QComboBox::currentIndexChanged, this, guarded(this, &QuickInsertPopup::search));
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            guarded(this, &QuickInsertPopup::showPreview));
}

QuickInsertPopup::~QuickInsertPopup() = default;

void QuickInsertPopup::setSnippets(std::shared_ptr<const search::QuickSearch> snippets, const QStringList& kinds,
                                   QList<qint64> recent)
{
    snippets_ = std::move(snippets);
    recent_ = std::move(recent);
    {
        // Snippets read again while the pop-up is open keep the kind chosen.
        const QSignalBlocker quiet(kind_);
        const QString chosen = kind_->currentText();
        kind_->clear();
        kind_->addItems(QStringList{QString()} + kinds);
        kind_->setCurrentIndex(std::max(0, kind_->findText(chosen)));
    }
    search();
}

void QuickInsertPopup::popUp()
{
    {
        const QSignalBlocker quiet(box_);
        box_->clear();
    }
    kind_->setCurrentIndex(0);
    search();
    const QPoint pointer = QCursor::pos();
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    const QRect room = screen ? screen->availableGeometry() : QRect(pointer, kPopupSize);
    QPoint at = pointer + QPoint(8, 8);
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
    move(at);
    show();
    raise();
    activateWindow();
    box_->setFocus(Qt::PopupFocusReason);
}

void QuickInsertPopup::search()
{
    if (!snippets_)
        return;
    QString typed = box_->text();
    typed.replace(u' ', u'%');  // blanks separate the words here, typed or pasted
    const QStringList words = search::searchWords(typed);
    const QString kind = kind_->currentText();
    search::QuickSearch::Listing places = snippets_->matching(words, kind, recent_, &found_);
    model_->show(snippets_, std::move(places));
    if (model_->rowCount() > 0)
        list_->setCurrentIndex(model_->index(0));
    else
        preview_->clear();
}

void QuickInsertPopup::showPreview()
{
    const qint64 id = model_->idAt(list_->currentIndex().row());
    if (!id) {
        preview_->clear();
        return;
    }
    QTextDocument* document = preview_->document();
    document->clear();
    rtf::loadBody(bodyOf_(id), *document);
}

void QuickInsertPopup::choose(bool formatted)
{
    const qint64 id = model_->idAt(list_->currentIndex().row());
    if (!id)
        return;
    // Asked for while the pop-up still has the keyboard: a Wayland desktop
    // shows the clipboard only to the window with the focus, and the
    // insertion reads what it holds before putting the snippet there.
    wasActive_ = false;
    Q_EMIT insertRequested(id, formatted);
    hide();
}

void QuickInsertPopup::hideEvent(QHideEvent* event)
{
    // The snippets are the main list's rows: held while shown only, so that
    // the list's next change need not copy them.
    snippets_.reset();
    found_ = {};
    model_->show(nullptr, {});
    QWidget::hideEvent(event);
}

void QuickInsertPopup::dismiss()
{
    wasActive_ = false;
    hide();
    Q_EMIT dismissed();
}

bool QuickInsertPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != box_ || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // The list moves while the typing goes on in the box.
        QKeyEvent moved(QEvent::KeyPress, key->key(), Qt::NoModifier);
        QCoreApplication::sendEvent(list_, &moved);
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void QuickInsertPopup::changeEvent(QEvent* event)
{
    // A click into another window leaves the pop-up as Esc does. A Wayland
    // desktop takes the focus away for a moment when a keyboard comes or
    // goes (an input method, a virtual keyboard): only a loss that lasts
    // counts.
    if (event->type() == QEvent::ActivationChange) {
        if (isVisible() && !isActiveWindow() && wasActive_)
            QTimer::singleShot(kFocusLossMs, this, [this] {
                if (isVisible() && !isActiveWindow() && wasActive_)
                    dismiss();
            });
        if (isActiveWindow())
            wasActive_ = true;
    }
    QWidget::changeEvent(event);
}

void QuickInsertPopup::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        runShowingErrors([&] { choose(!(event->modifiers() & Qt::ShiftModifier)); });
        return;
    case Qt::Key_Escape:
        dismiss();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

}  // namespace vorlin::ui
