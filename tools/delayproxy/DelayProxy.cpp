#include "DelayProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <stdexcept>
#include <string>

namespace tolva::netdelay {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPollMs = 50;  // how soon a reader notices the proxy stopping

sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

void noDelay(int fd) {
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

bool sendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= size_t(sent);
    }
    return true;
}

}  // namespace

// One relayed connection: two directions, each a reader that stamps chunks with
// the time they may leave and a writer that sends them then.
struct DelayProxy::Link {
    struct Chunk {
        Clock::time_point due;
        std::string bytes;
    };
    struct Direction {
        std::mutex mutex;
        std::condition_variable wake;
        std::deque<Chunk> chunks;
        bool ended = false;
    };

    int client = -1;
    int server = -1;
    std::atomic<bool> cut{false};
    Direction up, down;  // client to server, server to client

    void cutNow() {
        cut = true;
        ::shutdown(client, SHUT_RDWR);
        ::shutdown(server, SHUT_RDWR);
        for (Direction* d : {&up, &down}) {
            std::lock_guard<std::mutex> lock(d->mutex);
            d->ended = true;
            d->chunks.clear();
            d->wake.notify_all();
        }
    }
    ~Link() {
        ::close(client);
        ::close(server);
    }
};

DelayProxy::DelayProxy(const Options& options) : m_options(options) {
    m_delayUs = options.delay.count();
    m_listenFd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (m_listenFd < 0)
        throw std::runtime_error("delay proxy: no socket");
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listenFd, 16) != 0 ||
        ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(m_listenFd);
        throw std::runtime_error(std::string("delay proxy: cannot listen: ") +
                                 std::strerror(errno));
    }
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { acceptLoop(); });
}

DelayProxy::~DelayProxy() {
    m_stop = true;
    if (m_acceptor.joinable())
        m_acceptor.join();
    cutAll();
    std::vector<std::thread> threads;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        threads.swap(m_threads);
    }
    for (std::thread& t : threads)
        t.join();
    ::close(m_listenFd);
}

void DelayProxy::cutAll() {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& link : m_links)
        link->cutNow();
    m_links.clear();
}

void DelayProxy::hold(bool on) {
    m_held = on;
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& link : m_links) {
        for (Link::Direction* d : {&link->up, &link->down}) {
            std::lock_guard<std::mutex> directionLock(d->mutex);
            d->wake.notify_all();
        }
    }
}

void DelayProxy::acceptLoop() {
    const Clock::time_point end = Clock::now() + m_options.lifetime;
    while (!m_stop && Clock::now() < end) {
        pollfd waiting{m_listenFd, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const int client = ::accept(m_listenFd, nullptr, nullptr);
        if (client < 0)
            continue;
        if (m_accepted >= m_options.maxConnections) {
            ::close(client);
            continue;
        }
        ++m_accepted;
        startLink(client);
    }
    // Out of time: nothing relayed outlives the proxy's lifetime.
    m_stop = true;
    cutAll();
}

void DelayProxy::startLink(int clientFd) {
    auto link = std::make_shared<Link>();
    link->client = clientFd;
    link->server = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in target = loopback(m_options.targetPort);
    if (link->server < 0 ||
        ::connect(link->server, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0)
        return;  // the link closes both ends: the client sees a refused server
    noDelay(link->client);
    noDelay(link->server);

    const auto reader = [this, link](int from, Link::Direction& d) {
        char buffer[65536];
        while (!m_stop && !link->cut) {
            pollfd readable{from, POLLIN, 0};
            if (::poll(&readable, 1, kPollMs) <= 0)
                continue;
            const ssize_t got = ::recv(from, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            if (&d == &link->up)
                ++m_chunksUp;
            const auto due = Clock::now() + std::chrono::microseconds(m_delayUs.load());
            std::lock_guard<std::mutex> lock(d.mutex);
            d.chunks.push_back({due, std::string(buffer, size_t(got))});
            d.wake.notify_all();
        }
        std::lock_guard<std::mutex> lock(d.mutex);
        d.ended = true;
        d.wake.notify_all();
    };
    const auto writer = [this, link](int to, Link::Direction& d) {
        // Sleeps end up to 50 us late by default: twice per round trip, that
        // would make the link slower than the delay asked for.
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
        for (;;) {
            Link::Chunk chunk;
            {
                std::unique_lock<std::mutex> lock(d.mutex);
                d.wake.wait(lock, [&] { return d.chunks.empty() ? d.ended : !m_held.load(); });
                if (d.chunks.empty())
                    break;
                chunk = std::move(d.chunks.front());
                d.chunks.pop_front();
            }
            std::this_thread::sleep_until(chunk.due);
            if (link->cut || !sendAll(to, chunk.bytes.data(), chunk.bytes.size()))
                break;
        }
        if (!link->cut)
            ::shutdown(to, SHUT_WR);  // pass the end of the stream on
    };

    std::lock_guard<std::mutex> lock(m_mutex);
    m_links.push_back(link);
    m_threads.emplace_back(reader, link->client, std::ref(link->up));
    m_threads.emplace_back(writer, link->server, std::ref(link->up));
    m_threads.emplace_back(reader, link->server, std::ref(link->down));
    m_threads.emplace_back(writer, link->client, std::ref(link->down));
}

}  // namespace tolva::netdelay
