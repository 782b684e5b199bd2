#include "platform/WaylandDataControl.h"

#include "common/ProgramThreads.h"
#include "platform/WaylandSeat.h"

#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace vorlin::platform {
namespace {

constexpr const char* kText = "text/plain;charset=utf-8";
constexpr int kAnswerMs = 1000;
constexpr qsizetype kLongestTextRead = 64 * 1024 * 1024;

// Writes the whole of the bytes, or as much as the reader takes.
void writeAll(int fd, const QByteArray& bytes)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;  // the reader went (EPIPE: the signal is blocked on this thread)
        done += written;
    }
}

}  // namespace

struct WaylandDataControl::Connection {
    std::unique_ptr<WaylandSeat> wayland;  // first in, last out
    wl_display* display = nullptr;
    zwlr_data_control_manager_v1* manager = nullptr;
    zwlr_data_control_device_v1* device = nullptr;

    std::mutex lock;
    std::condition_variable selectionCame;
    std::uint64_t selections = 0;                       // selection events so far
    zwlr_data_control_offer_v1* selection = nullptr;    // what the clipboard holds now
    zwlr_data_control_source_v1* source = nullptr;      // ours, while we hold it
    Forms forms;                                        // what ours serves
    bool deviceGone = false;

    int wake[2] = {-1, -1};
    std::atomic<bool> stopping = false;
    OwnThread thread;

    ~Connection()
    {
        if (thread.running()) {
            stopping = true;
            const char byte = 1;
            [[maybe_unused]] const ssize_t written = ::write(wake[1], &byte, 1);
            thread.join();
        }
        if (source)
            zwlr_data_control_source_v1_destroy(source);
        if (selection)
            zwlr_data_control_offer_v1_destroy(selection);
        if (device)
            zwlr_data_control_device_v1_destroy(device);
        if (manager)
            zwlr_data_control_manager_v1_destroy(manager);
        for (const int fd : wake)
            if (fd >= 0)
                ::close(fd);
    }

    // An offer's types are not needed: the text is asked for by its type.
    static void dataOffer(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {}
    static void selectionChanged(void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer)
    {
        auto* c = static_cast<Connection*>(data);
        {
            std::lock_guard held(c->lock);
            if (c->selection)
                zwlr_data_control_offer_v1_destroy(c->selection);
            c->selection = offer;
            ++c->selections;
        }
        c->selectionCame.notify_all();
    }
    static void finished(void* data, zwlr_data_control_device_v1*)
    {
        auto* c = static_cast<Connection*>(data);
        std::lock_guard held(c->lock);
        c->deviceGone = true;
    }

    static void send(void* data, zwlr_data_control_source_v1* source, const char* type, std::int32_t fd)
    {
        auto* c = static_cast<Connection*>(data);
        QByteArray bytes;
        {
            std::lock_guard held(c->lock);
            if (source == c->source)
                for (const auto& [offered, form] : c->forms)
                    if (offered == type)
                        bytes = form;
        }
        writeAll(fd, bytes);
        ::close(fd);
    }
    static void cancelled(void* data, zwlr_data_control_source_v1* source)
    {
        auto* c = static_cast<Connection*>(data);
        std::lock_guard held(c->lock);
        zwlr_data_control_source_v1_destroy(source);
        if (source == c->source) {
            c->source = nullptr;
            c->forms.clear();
        }
    }

    // Lets the thread send what was asked and read what comes.
    void nudge()
    {
        wl_display_flush(display);
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake[1], &byte, 1);
    }

    void serve()
    {
        // A reader that goes before the text is written is no reason to end.
        sigset_t pipeSignal;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
        while (!stopping) {
            while (wl_display_prepare_read(display) != 0)
                wl_display_dispatch_pending(display);
            wl_display_flush(display);
            pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {wake[0], POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                wl_display_cancel_read(display);
                if (errno == EINTR)
                    continue;
                return;
            }
            if (fds[0].revents & POLLIN) {
                if (wl_display_read_events(display) < 0)
                    return;
            } else {
                wl_display_cancel_read(display);
            }
            if (fds[1].revents & POLLIN) {
                char drained[64];
                [[maybe_unused]] const ssize_t read = ::read(wake[0], drained, sizeof drained);
            }
            if (wl_display_dispatch_pending(display) < 0 || (fds[0].revents & (POLLERR | POLLHUP)))
                return;
        }
    }
};

WaylandDataControl::WaylandDataControl(std::unique_ptr<Connection> connection) : c_(std::move(connection)) {}

WaylandDataControl::~WaylandDataControl() = default;

std::unique_ptr<WaylandDataControl> WaylandDataControl::connect()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return nullptr;
    auto c = std::make_unique<Connection>();
    c->wayland = WaylandSeat::connect(zwlr_data_control_manager_v1_interface);
    if (!c->wayland)
        return nullptr;
    c->display = c->wayland->display();
    c->manager = static_cast<zwlr_data_control_manager_v1*>(c->wayland->manager());
    c->device = zwlr_data_control_manager_v1_get_data_device(c->manager, c->wayland->seat());
    static const zwlr_data_control_device_v1_listener deviceListener{&Connection::dataOffer,
                                                                     &Connection::selectionChanged,
                                                                     &Connection::finished};
    zwlr_data_control_device_v1_add_listener(c->device, &deviceListener, c.get());
    if (wl_display_roundtrip(c->display) < 0 || ::pipe2(c->wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return nullptr;
    c->thread = OwnThread([connection = c.get()] { connection->serve(); });
    return std::unique_ptr<WaylandDataControl>(new WaylandDataControl(std::move(c)));
}

bool WaylandDataControl::take(const Forms& forms)
{
    std::unique_lock held(c_->lock);
    if (c_->deviceGone)
        return false;
    if (c_->source)
        zwlr_data_control_source_v1_destroy(c_->source);
    c_->source = zwlr_data_control_manager_v1_create_data_source(c_->manager);
    static const zwlr_data_control_source_v1_listener sourceListener{&Connection::send, &Connection::cancelled};
    zwlr_data_control_source_v1_add_listener(c_->source, &sourceListener, c_.get());
    for (const auto& form : forms)
        zwlr_data_control_source_v1_offer(c_->source, form.first.constData());
    c_->forms = forms;
    zwlr_data_control_device_v1_set_selection(c_->device, c_->source);
    const std::uint64_t before = c_->selections;
    c_->nudge();
    // The compositor answers with the clipboard's new content.
    return c_->selectionCame.wait_for(held, std::chrono::milliseconds(kAnswerMs),
                                      [&] { return c_->selections != before; });
}

std::optional<QByteArray> WaylandDataControl::text()
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return QByteArray();
    {
        std::lock_guard held(c_->lock);
        if (!c_->selection || c_->deviceGone) {
            ::close(pipe[0]);
            ::close(pipe[1]);
            return QByteArray();
        }
        zwlr_data_control_offer_v1_receive(c_->selection, kText, pipe[1]);
    }
    c_->nudge();
    ::close(pipe[1]);
    QByteArray text;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd readable{pipe[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&readable, 1, int(left.count())) <= 0)
            break;
        char chunk[65536];
        const ssize_t got = ::read(pipe[0], chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || text.size() > kLongestTextRead)
            break;
        text.append(chunk, got);
    }
    ::close(pipe[0]);
    return text;
}

}  // namespace vorlin::platform
