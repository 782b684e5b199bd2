#include "output/QuickInsertion.h"

#include "output/EditorInsertion.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QWindow>

#include <functional>

namespace vorlin {
namespace {

constexpr int kPollMs = 5;
// The window manager is asked to bring the window back when it has not
// come back by itself after this long (it may give the focus to another
// window of the program instead).
constexpr int kActivationAfterMs = 30;

const QString kFocusReason = QStringLiteral("okno se nepodařilo znovu aktivovat.");
const QString kKeyboardReason = QStringLiteral("tento systém nedovoluje stisknout Ctrl+V za vás.");
const QString kClipboardReason =
    QStringLiteral("schránka neobsahuje vybraný vorlin (systém ji programu nepředal), Ctrl+V nebylo odesláno.");
const QString kNotTakenReason = QStringLiteral("program v okně si po stisku Ctrl+V text ze schránky nevzal.");

// The snippet on the clipboard, telling when a program asks for its text.
class OfferedSnippet : public QMimeData {
public:
    std::function<void()> onRequest;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        if (onRequest)
            onRequest();
        return QMimeData::retrieveData(mimeType, type);
    }
};

void putForms(QMimeData& data, const ClipboardSnippet& snippet, bool formatted)
{
    if (formatted) {
        data.setData(QStringLiteral("text/rtf"), snippet.rtf);
        data.setData(QStringLiteral("text/richtext"), snippet.rtf);
        // Browsers and mail programs take HTML, not RTF.
        data.setHtml(snippet.html);
    }
    data.setText(snippet.text);
    // Named for the GTK programs, which look for the charset.
    data.setData(QStringLiteral("text/plain;charset=utf-8"), snippet.text.toUtf8());
}

QMimeData* offeredForm(const ClipboardSnippet& snippet, bool formatted, std::function<void()> onRequest)
{
    auto* data = new OfferedSnippet;
    data->onRequest = std::move(onRequest);
    putForms(*data, snippet, formatted);
    return data;
}

// Every form the clipboard offers now, read out so that it can be offered
// again after the owner has gone or changed it.
std::unique_ptr<QMimeData> copyOfClipboard()
{
    auto copy = std::make_unique<QMimeData>();
    const QMimeData* source = QGuiApplication::clipboard()->mimeData();
    if (!source)
        return copy;
    static const QStringList kProtocolTargets = {QStringLiteral("TARGETS"), QStringLiteral("MULTIPLE"),
                                                 QStringLiteral("TIMESTAMP"), QStringLiteral("SAVE_TARGETS")};
    for (const QString& format : source->formats())
        if (!kProtocolTargets.contains(format))
            copy->setData(format, source->data(format));
    return copy;
}

}  // namespace

std::unique_ptr<QMimeData> clipboardForms(const ClipboardSnippet& snippet, bool formatted)
{
    auto data = std::make_unique<QMimeData>();
    putForms(*data, snippet, formatted);
    return data;
}

QString quickInsertionFailure(const std::optional<platform::TopLevelWindow>& window, const QString& reason)
{
    const QString where = window && !window->title.isEmpty()
        ? QStringLiteral("Do okna „%1“").arg(window->title)
        : QStringLiteral("Do okna, ve kterém jste psali,");
    return QStringLiteral("%1 se text nepodařilo vložit: %2 Text je ve schránce, vložte ho klávesami Ctrl+V.")
        .arg(where, reason);
}

QuickInsertion::QuickInsertion(Services services, QObject* parent) : QuickInsertion(services, Limits{}, parent) {}

QuickInsertion::QuickInsertion(Services services, Limits limits, QObject* parent)
    : QObject(parent), services_(services), limits_(limits)
{
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &QuickInsertion::advance);
    quiet_.setSingleShot(true);
    connect(&quiet_, &QTimer::timeout, this, &QuickInsertion::succeed);
}

QuickInsertion::~QuickInsertion()
{
    if (offered_)
        static_cast<OfferedSnippet*>(offered_.data())->onRequest = nullptr;
}

void QuickInsertion::rememberTarget()
{
    target_ = services_.desktop.activeWindow();
}

void QuickInsertion::insert(const ClipboardSnippet& snippet, bool formatted)
{
    poll_.stop();
    quiet_.stop();
    step_ = Step::Idle;
    if (target_ && insertionKind(target_->title) == EditorKind::Writer
        && services_.office.openDocuments().contains(target_->title)) {
        insertIntoWriter(snippet, formatted);
        return;
    }
    offerOnClipboard(snippet, formatted);
}

void QuickInsertion::insertIntoWriter(const ClipboardSnippet& snippet, bool formatted)
{
    try {
        services_.office.pasteInto(target_->title, {snippet.rtf, snippet.text}, formatted, false);
    } catch (const Error& error) {
        QGuiApplication::clipboard()->setMimeData(offeredForm(snippet, formatted, nullptr));
        Q_EMIT finished(quickInsertionFailure(target_, error.message()));
        return;
    }
    Q_EMIT finished(QString());
}

void QuickInsertion::offerOnClipboard(const ClipboardSnippet& snippet, bool formatted)
{
    previous_ = restoreClipboard_ ? copyOfClipboard() : nullptr;
    if (offered_)
        static_cast<OfferedSnippet*>(offered_.data())->onRequest = nullptr;
    QMimeData* offered = offeredForm(snippet, formatted, [this] { textTaken(); });
    offeredText_ = snippet.text.toUtf8();
    offered_ = offered;
    QGuiApplication::clipboard()->setMimeData(offered);
    step_ = Step::AwaitingFocus;
    activationAsked_ = false;
    stepClock_.start();
    poll_.start();
    advance();
}

void QuickInsertion::returnFocus()
{
    if (!target_)
        return;
    const std::optional<platform::TopLevelWindow> active = services_.desktop.activeWindow();
    if (!active || active->id != target_->id)
        services_.desktop.activate(target_->id, false);
}

bool QuickInsertion::targetHasFocus()
{
    // Where the desktop does not tell, it is enough that no shown window of
    // the program keeps the keyboard: the desktop gave it back.
    if (!target_) {
        const QWindow* focused = QGuiApplication::focusWindow();
        return !focused || !focused->isVisible();
    }
    const std::optional<platform::TopLevelWindow> active = services_.desktop.activeWindow();
    return active && active->id == target_->id;
}

void QuickInsertion::advance()
{
    if (step_ == Step::AwaitingFocus) {
        if (targetHasFocus()) {
            // Keys typed over an older clipboard would paste the older text.
            // (The check lets events run: the poll waits for it.)
            poll_.stop();
            const bool holds = platform::clipboardHolds(services_.clipboard, offeredText_);
            if (step_ != Step::AwaitingFocus)
                return;  // ended meanwhile
            if (!holds) {
                fail(kClipboardReason);
                return;
            }
            poll_.start();
            // Requests for the text before the keys went (a clipboard
            // manager's) are no paste.
            step_ = Step::AwaitingPaste;
            stepClock_.start();
            if (!services_.keyboard.sendChord(Qt::Key_V, Qt::ControlModifier))
                fail(kKeyboardReason);
            return;
        }
        if (target_ && !activationAsked_ && stepClock_.elapsed() >= kActivationAfterMs) {
            activationAsked_ = true;
            services_.desktop.activate(target_->id, false);
            return;
        }
        if (stepClock_.elapsed() >= limits_.focusMs)
            fail(kFocusReason);
        return;
    }
    if (step_ == Step::AwaitingPaste && !quiet_.isActive() && stepClock_.elapsed() >= limits_.pasteMs)
        fail(kNotTakenReason);
}

void QuickInsertion::textTaken()
{
    // A program may ask for several forms, one after another: the clipboard
    // goes back a while after the first request (not after the last: a
    // program that reads the clipboard again and again would keep it).
    if (step_ == Step::AwaitingPaste && !quiet_.isActive())
        quiet_.start(limits_.quietMs);
}

void QuickInsertion::succeed()
{
    poll_.stop();
    step_ = Step::Idle;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (previous_ && offered_ && clipboard->mimeData() == offered_.data()) {
        static_cast<OfferedSnippet*>(offered_.data())->onRequest = nullptr;
        if (previous_->formats().isEmpty())
            clipboard->clear();
        else
            clipboard->setMimeData(previous_.release());
    }
    previous_.reset();
    Q_EMIT finished(QString());
}

void QuickInsertion::fail(const QString& reason)
{
    poll_.stop();
    quiet_.stop();
    step_ = Step::Idle;
    previous_.reset();
    Q_EMIT finished(quickInsertionFailure(target_, reason));
}

}  // namespace vorlin
