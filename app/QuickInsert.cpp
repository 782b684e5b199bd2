#include "app/QuickInsert.h"

#include "common/AwayFromGuiThread.h"
#include "common/Error.h"
#include "data/DM_Unit.h"
#include "data/SettingsFile.h"
#include "data/KindsList.h"
#include "data/QuickSnippets.h"
#include "data/Settings.h"
#include "platform/WordAutomation.h"
#include "rtf/Rtf.h"
#include "ui/fields/FieldForm.h"
#include "ui/quick/QuickInsertPopup.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/MessageBox.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <QKeySequence>
#include <QTextDocument>

#include <malloc.h>

namespace vorlin {
namespace {

constexpr int kChangeSettleMs = 400;
// How long the pop-up may wait for the keyboard after the fields form.
constexpr int kKeyboardBackMs = 1000;

// Serves events until the window has the keyboard, at most `limitMs`.
void waitForKeyboardAt(QWindow* window, int limitMs)
{
    if (!window || QGuiApplication::focusWindow() == window)
        return;
    QEventLoop waiting;
    QTimer::singleShot(limitMs, &waiting, &QEventLoop::quit);
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &waiting, [&](QWindow* focused) {
        if (focused == window)
            waiting.quit();
    });
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
}

bool restoreClipboardSetting(const QString& dataDir)
{
    try {
        return programSettings()
            .readBool(settings::kSection, settings::kQuickRestoreClipboardKey, settings::kQuickRestoreClipboardDefault);
    } catch (const Error&) {
        return settings::kQuickRestoreClipboardDefault;
    }
}

}  // namespace

QuickInsert::QuickInsert(TDM& data, KindsList& kinds, Services services, const QString& dataDir, QObject* parent)
    : QObject(parent),
      data_(data),
      kinds_(kinds),
      services_(services),
      recent_(dataDir + QStringLiteral("vlozene_naposledy.txt")),
      popup_(new ui::QuickInsertPopup([this](qint64 id) {
          return data_.ADOConnection1.isConnected() ? data_.bodyOf(id) : QString();
      })),
      insertion_({services.insertion, platform::UnregisteredWord::instance()}, &ui::FieldForm::bodyToInsert, this),
      dataDir_(dataDir)
{
    setObjectName(QStringLiteral("QuickInsert"));
    connect(&services_.shortcut, &platform::GlobalShortcut::pressed, this, ui::guarded(this, &QuickInsert::open));
    connect(popup_, &ui::QuickInsertPopup::insertRequested, this, ui::guarded(this, &QuickInsert::insert));
    connect(popup_, &ui::QuickInsertPopup::dismissed, &insertion_.windowWrittenIn(), &QuickInsertion::returnFocus);
    connect(&insertion_, &SnippetInsertion::finished, this, &QuickInsert::report);
    // Whatever the program itself writes shows in the next pop-up.
    changed_.setSingleShot(true);
    changed_.setInterval(kChangeSettleMs);
    connect(&changed_, &QTimer::timeout, this, ui::guarded(this, &QuickInsert::readIfChanged));
    connect(&data_.Vorlin_ADOQuery, &db::Query::dataSetChanged, &changed_, qOverload<>(&QTimer::start));
    connect(&data_.Vorlin_ADOQuery, &db::Query::rowsRefreshed, &changed_, qOverload<>(&QTimer::start));
    connect(&data_.Vorlin_ADOQuery, &db::Query::rowsInserted, &changed_, qOverload<>(&QTimer::start));
    connect(&data_.Vorlin_ADOQuery, &db::Query::rowsRemoved, &changed_, qOverload<>(&QTimer::start));
    connect(&data_.Vorlin_ADOQuery, &db::Query::stateChanged, &changed_, qOverload<>(&QTimer::start));
    // A pop-up opened before the main list's table arrived searches it once
    // it is there, what was typed kept.
    connect(&data_.Vorlin_ADOQuery, &db::Query::tableArrived, this, ui::guarded([this] {
                if (popup_->isVisible())
                    popup_->setSnippets(snippetsNow(), kinds_.working(), recent_.ids());
            }));
}

QuickInsert::~QuickInsert()
{
    delete popup_;
}

void QuickInsert::start()
{
    QString text = settings::kQuickShortcutDefault.toString();
    try {
        text = programSettings()
                   .readString(settings::kSection, settings::kQuickShortcutKey, settings::kQuickShortcutDefault.toString());
    } catch (const Error&) {
        // An unreadable settings file: the default chord.
    }
    const QKeySequence keys = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (keys.isEmpty())
        services_.shortcut.bind(Qt::Key(0), {});
    else
        services_.shortcut.bind(keys[0].key(), keys[0].keyboardModifiers());
    readIfChanged();
}

void QuickInsert::open()
{
    if (!popup_->isVisible())
        insertion_.windowWrittenIn().rememberTarget();
    readIfChanged();
    popup_->setSnippets(snippetsNow(), kinds_.working(), recent_.ids());
    popup_->popUp();
    // A window manager that guards the focus of the window the user types
    // in would keep it there; a request on the user's behalf brings the
    // pop-up forward all the same. No task bar lists it.
    services_.insertion.desktop.keepOffTaskbar(quint32(popup_->winId()));
    services_.insertion.desktop.activate(quint32(popup_->winId()), false);
}

std::shared_ptr<const search::QuickSearch> QuickInsert::snippetsNow()
{
    // The main list's copy when current; when it is not, the snippets read
    // here, or the copy until they are.
    std::optional<db::Query::TableSnapshot> table = data_.Vorlin_ADOQuery.tableSnapshot(QStringLiteral("nazev"));
    if (!table || (!table->current && snippets_))
        return snippets_;
    try {
        auto snippets =
            std::make_shared<search::QuickSearch>(std::move(table->rows), table->columns, std::move(table->order));
        snippets->useLetters(std::move(table->letters));
        return snippets;
    } catch (const Error&) {
        return snippets_;  // the list holds another table
    }
}

void QuickInsert::readIfChanged()
{
    if (!data_.ADOConnection1.isConnected())
        return;
    // The main list's table, still read behind its first rows, is taken
    // once it is there (the list then tells of its rows).
    if (data_.Vorlin_ADOQuery.isReadingBehind())
        return;
    if (data_.Vorlin_ADOQuery.holdsCurrentTable()) {
        // The pop-up searches the main list's copy of the table: nothing to
        // read, and nothing of its own to hold.
        snippets_.reset();
        readMark_ = -1;
        Q_EMIT snippetsRead();
        return;
    }
    if (reading_) {
        readAgain_ = true;
        return;
    }
    const qint64 mark = data_.ADOConnection1.store().readersMark();
    if (snippets_ && mark == readMark_)
        return;
    reading_ = true;
    // Read through a connection of its own, away from the window's thread;
    // an office library from the copy of it kept here.
    const QString file = data_.ADOConnection1.fileForReaders();
    const QLocale locale;
    runInBackground(
        this,
        [file, locale] {
            const db::Database database(file);
            auto snippets = search::readQuickSearch(database, *db::TextOrder::forLocale(locale));
            // The keys made for the order are gone: their memory goes back
            // to the system instead of waiting in this thread's heap.
            ::malloc_trim(0);
            return snippets;
        },
        [this, mark](Outcome<std::shared_ptr<const search::QuickSearch>> outcome) {
            std::shared_ptr<const search::QuickSearch> snippets;
            QString error;
            try {
                snippets = outcome.take();
            } catch (...) {
                error = exceptionMessage(std::current_exception());
            }
            took(snippets, mark, error);
        });
}

void QuickInsert::took(std::shared_ptr<const search::QuickSearch> snippets, qint64 mark, const QString& error)
{
    reading_ = false;
    if (snippets) {
        snippets_ = std::move(snippets);
        readMark_ = mark;
        if (popup_->isVisible())
            popup_->setSnippets(snippets_, kinds_.working(), recent_.ids());
        Q_EMIT snippetsRead();
    } else {
        qWarning("The quick insertion could not read the snippets: %s", qPrintable(error));
    }
    if (std::exchange(readAgain_, false))
        readIfChanged();
}

void QuickInsert::insert(qint64 id, bool formatted)
{
    const QString body = data_.bodyOf(id);
    if (body.isNull()) {
        report(QStringLiteral("Vybraný vorlin mezitím zmizel z databáze, nic nebylo vloženo."));
        return;
    }
    QTextDocument document;
    rtf::loadBody(body, document);
    // A snippet with fields is filled in first; Esc in the form inserts
    // nothing and gives the focus back. The form belongs to the pop-up, so
    // that a Wayland desktop gives the keyboard back to the pop-up when the
    // form closes, and from there to the window written in.
    const bool asked = ui::FieldForm::hasFields(document);
    const std::unique_ptr<QTextDocument> filled = insertion_.prepared(document, popup_);
    if (!filled) {
        insertion_.windowWrittenIn().returnFocus();
        return;
    }
    // Right after the form closes no window of the program has the keyboard
    // for a moment: the insertion must not take that for the window written
    // in having it back, and the clipboard is read while the pop-up has it.
    if (asked)
        waitForKeyboardAt(popup_->windowHandle(), kKeyboardBackMs);
    recent_.inserted(id);
    insertion_.intoWindowWrittenIn(*filled, formatted, restoreClipboardSetting(dataDir_));
}

void QuickInsert::report(const QString& failure)
{
    if (!failure.isEmpty()) {
        MessageBox::tellWithoutWaiting(MessageBox::Warning, QStringLiteral("Rychlé vložení"), failure);
    }
    Q_EMIT finished(failure);
}

}  // namespace vorlin
