#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace corvane {

// Bounds each statement on a server on this side of the connection too. The server ends a
// statement that runs too long by itself (statement_timeout), but a server that does not
// answer at all (its process stopped, its machine hung) cannot; keepalives do not notice it
// either while its machine still answers the network. After the limit the watch shuts the
// connection's socket down: the statement waiting for the answer fails at once, and the
// next transaction connects again.
class StatementWatch {
public:
    StatementWatch();
    ~StatementWatch();
    StatementWatch(const StatementWatch &) = delete;
    StatementWatch &operator=(const StatementWatch &) = delete;

    // Watches the statements on `socket` until it ends; a guard inside another does nothing.
    class Guard {
    public:
        Guard() = default;
        Guard(Guard &&other) noexcept : m_watch(other.m_watch) { other.m_watch = nullptr; }
        Guard &operator=(Guard &&) = delete;
        ~Guard();

    private:
        friend class StatementWatch;
        explicit Guard(StatementWatch *watch) : m_watch(watch) {}
        StatementWatch *m_watch = nullptr;
    };
    [[nodiscard]] Guard watch(int socket, std::chrono::milliseconds limit);

    // Whether the watch cut the connection off since the last call.
    bool takeCutOff();

private:
    void run();
    void disarm();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_socket = -1; // -1: nothing watched
    std::chrono::steady_clock::time_point m_deadline;
    bool m_stopping = false;
    bool m_cutOff = false;
    std::thread m_thread; // last: started when the rest is ready
};

} // namespace corvane
