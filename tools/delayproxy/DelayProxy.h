#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tolva::netdelay {

// Relays TCP connections from a port of its own on 127.0.0.1 to a port on
// 127.0.0.1, holding every chunk it forwards for a set delay in each direction.
// Bounded so that a forgotten one does no harm: loopback only, at most
// `maxConnections` connections in its lifetime, and it shuts everything down by
// itself once `lifetime` has passed (or when destroyed).
class DelayProxy {
public:
    struct Options {
        std::uint16_t targetPort = 0;
        std::chrono::microseconds delay{0};  // each way, for each chunk
        int maxConnections = 64;
        std::chrono::seconds lifetime{900};
    };

    // Listens on a free port; throws std::runtime_error when it cannot.
    explicit DelayProxy(const Options& options);
    ~DelayProxy();
    DelayProxy(const DelayProxy&) = delete;
    DelayProxy& operator=(const DelayProxy&) = delete;

    std::uint16_t port() const { return m_port; }
    // Applies to chunks read from now on.
    void setDelay(std::chrono::microseconds delay) { m_delayUs = delay.count(); }
    // Ends every relayed connection at once, as a broken link would; both ends
    // see the connection lost. New connections are still relayed.
    void cutAll();
    // Holding, nothing is passed on in either direction, as over a link that
    // has gone silent without a reset; connections are still accepted. What
    // arrived meanwhile goes on at release.
    void hold(bool on);
    int connectionsAccepted() const { return m_accepted; }
    // Chunks read from clients so far: each request the client sends is one
    // chunk or more, so this bounds its round trips from above, closely for the
    // small requests of a database session.
    long long chunksFromClients() const { return m_chunksUp; }

private:
    struct Link;
    void acceptLoop();
    void startLink(int clientFd);

    Options m_options;
    std::uint16_t m_port = 0;
    int m_listenFd = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_held{false};
    std::atomic<long long> m_delayUs{0};
    std::atomic<int> m_accepted{0};
    std::atomic<long long> m_chunksUp{0};
    std::mutex m_mutex;
    std::vector<std::shared_ptr<Link>> m_links;
    std::vector<std::thread> m_threads;
    std::thread m_acceptor;
};

}  // namespace tolva::netdelay
