// Real HTTP servers on 127.0.0.1 for the tests of the online requests: PhpServer runs PHP's
// built-in web server on the program's server scripts (a free port, waits until it answers, killed
// with the object); ScriptedServer is a socket server on its own thread that records each request's
// bytes and answers with the next canned reply (or never answers), for the misbehaving servers a
// real script would not be. Test helpers; one owner thread each.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace localservers {

// A listening socket on 127.0.0.1 with a port the system chose; -1 on failure.
inline int listenLocal(uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(a.sin_port);
    return fd;
}

inline int connectLocal(uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

inline void sendAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0)
            return;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

// Reads one request: the header block, then Content-Length bytes of body. Empty on a closed socket.
inline std::string readRequest(int fd)
{
    std::string in;
    char buf[65536];
    size_t need = std::string::npos;
    while (in.size() < need) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0)
            break;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        in.append(buf, static_cast<size_t>(n));
        if (need == std::string::npos) {
            const size_t end = in.find("\r\n\r\n");
            if (end == std::string::npos)
                continue;
            size_t length = 0;
            const size_t at = in.find("\r\nContent-Length: ");
            if (at != std::string::npos && at < end)
                length = std::strtoul(in.c_str() + at + 18, nullptr, 10);
            need = end + 4 + length;
        }
    }
    return in;
}

// status and body of a GET, read to the end of the connection.
inline std::pair<int, std::string> httpGet(uint16_t port, const std::string& target)
{
    const int fd = connectLocal(port);
    if (fd < 0)
        return {0, {}};
    sendAll(fd, "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    std::string in;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        in.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    const size_t end = in.find("\r\n\r\n");
    const int status = in.size() > 12 ? std::atoi(in.c_str() + 9) : 0;
    return {status, end == std::string::npos ? std::string() : in.substr(end + 4)};
}

class PhpServer {
public:
    // Serves root (the scripts' folder) with the given extra environment ("NAME=value").
    PhpServer(const std::string& root, const std::vector<std::string>& env)
    {
        for (int attempt = 0; attempt < 5 && !m_ready; ++attempt) {
            const int probe = listenLocal(m_port); // a free port, given back for PHP to take
            if (probe < 0)
                return;
            ::close(probe);
            const std::string address = "127.0.0.1:" + std::to_string(m_port);
            std::vector<std::string> args = {"php", "-S", address, "-t", root};
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            std::vector<std::string> envText;
            for (char** e = environ; *e; ++e)
                envText.emplace_back(*e);
            envText.insert(envText.end(), env.begin(), env.end());
            std::vector<char*> envp;
            for (std::string& e : envText)
                envp.push_back(e.data());
            envp.push_back(nullptr);
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
            const int rc = ::posix_spawnp(&m_pid, "php", &actions, nullptr, argv.data(), envp.data());
            posix_spawn_file_actions_destroy(&actions);
            if (rc != 0) {
                m_pid = 0;
                return;
            }
            // Wait until it answers (up to 10 s), or try another port if it has gone.
            for (int i = 0; i < 200 && !m_ready; ++i) {
                int status = 0;
                if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                    m_pid = 0;
                    break;
                }
                if (const int fd = connectLocal(m_port); fd >= 0) {
                    ::close(fd);
                    m_ready = true;
                } else {
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
            }
        }
    }
    ~PhpServer()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
        }
    }
    PhpServer(const PhpServer&) = delete;
    PhpServer& operator=(const PhpServer&) = delete;

    static bool available() { return std::system("php --version >/dev/null 2>&1") == 0; }
    [[nodiscard]] bool ready() const { return m_ready; }
    [[nodiscard]] uint16_t port() const { return m_port; }
    [[nodiscard]] std::string base() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/"; }

private:
    pid_t m_pid = 0;
    uint16_t m_port = 0;
    bool m_ready = false;
};

class ScriptedServer {
public:
    // A reply sent whole; nullopt: keep the connection open and never answer.
    using Reply = std::optional<std::string>;

    explicit ScriptedServer(std::vector<Reply> replies) : m_replies(replies.begin(), replies.end())
    {
        m_fd = listenLocal(m_port);
        m_thread = std::thread([this] { run(); });
    }
    ~ScriptedServer()
    {
        m_stop = true;
        m_thread.join();
        for (int fd : m_open)
            ::close(fd);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    [[nodiscard]] std::string base() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/"; }
    [[nodiscard]] std::vector<std::string> requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

    // A reply with a status line, the given header lines, and a body.
    static std::string reply(const std::vector<std::string>& headers, const std::string& body = {})
    {
        std::string r = "HTTP/1.0 200 OK\r\n";
        for (const std::string& h : headers)
            r += h + "\r\n";
        return r + "\r\n" + body;
    }

private:
    void run()
    {
        while (!m_stop) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int c = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0)
                continue;
            const std::string request = readRequest(c);
            Reply next;
            {
                std::lock_guard lock(m_mutex);
                m_requests.push_back(request);
                if (!m_replies.empty()) {
                    next = m_replies.front();
                    m_replies.pop_front();
                }
            }
            if (!next) {
                m_open.push_back(c); // held open, silent, until the server ends
                continue;
            }
            sendAll(c, *next);
            ::shutdown(c, SHUT_WR);
            ::close(c);
        }
    }

    int m_fd = -1;
    uint16_t m_port = 0;
    std::deque<Reply> m_replies;
    std::vector<int> m_open;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace localservers
