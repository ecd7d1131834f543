#include "StatementWatch.h"

#include <sys/socket.h>

namespace corvane {

StatementWatch::StatementWatch() : m_thread([this] { run(); }) {}

StatementWatch::~StatementWatch()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_one();
    m_thread.join();
}

StatementWatch::Guard StatementWatch::watch(int socket, std::chrono::milliseconds limit)
{
    if (socket < 0)
        return Guard();
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_socket >= 0)
            return Guard(); // the outer statement's limit stands
        m_socket = socket;
        m_deadline = std::chrono::steady_clock::now() + limit;
    }
    m_changed.notify_one();
    return Guard(this);
}

StatementWatch::Guard::~Guard()
{
    if (m_watch)
        m_watch->disarm();
}

void StatementWatch::disarm()
{
    // Under the lock, so the socket is never shut down after the statement let go of it (it
    // may be closed and its number reused by then).
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_socket = -1;
}

bool StatementWatch::takeCutOff()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const bool cutOff = m_cutOff;
    m_cutOff = false;
    return cutOff;
}

void StatementWatch::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (m_socket < 0) {
            m_changed.wait(lock);
        } else if (std::chrono::steady_clock::now() >= m_deadline) {
            ::shutdown(m_socket, SHUT_RDWR);
            m_cutOff = true;
            m_socket = -1;
        } else {
            m_changed.wait_until(lock, m_deadline);
        }
    }
}

} // namespace corvane
