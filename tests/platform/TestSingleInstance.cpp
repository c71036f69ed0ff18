#include "platform/SingleInstance.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// A child process that takes the lock, reports the outcome through a pipe and then waits to be
// killed (or ends at once when it did not get the lock).
class LockHolder {
public:
    LockHolder(const std::string& caption, const std::string& folder)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            SingleInstance lock(caption, folder);
            const char outcome = static_cast<char>('0' + static_cast<int>(lock.acquire()));
            (void)!::write(fds[1], &outcome, 1);
            if (outcome == '0')
                ::pause();
            ::_exit(0);
        }
        ::close(fds[1]);
        if (m_pid > 0 && ::read(fds[0], &m_outcome, 1) != 1)
            m_outcome = '?';
        ::close(fds[0]);
    }
    ~LockHolder() { kill(); }

    [[nodiscard]] bool holds() const { return m_outcome == '0'; }
    // Ends the child the hard way, as a crash would, and waits for it to be gone.
    void kill()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    char m_outcome = '?';
};

std::string uniqueCaption(const char* tag)
{
    return std::string("Ortelia test ") + tag + " " + std::to_string(::getpid());
}

TEST(SingleInstance, SecondCopySeesTheLockUntilTheFirstDies)
{
    TempDir dir("instance");
    const std::string caption = uniqueCaption("crash");
    LockHolder first(caption, dir.path().string());
    ASSERT_TRUE(first.holds());

    SingleInstance second(caption, dir.path().string());
    EXPECT_EQ(second.acquire(), SingleInstance::Result::HeldElsewhere);
    EXPECT_FALSE(second.held());

    // Another caption is another program.
    SingleInstance other(caption + " 2", dir.path().string());
    EXPECT_EQ(other.acquire(), SingleInstance::Result::Acquired);

    first.kill(); // no clean-up ran: the system must have dropped the lock
    EXPECT_EQ(second.acquire(), SingleInstance::Result::Acquired);
    EXPECT_TRUE(second.held());
    EXPECT_EQ(second.acquire(), SingleInstance::Result::Acquired); // asking again changes nothing

    LockHolder third(caption, dir.path().string());
    EXPECT_FALSE(third.holds());
}

TEST(SingleInstance, ReleasedWithTheObjectAndNotInheritedByPrograms)
{
    TempDir dir("instance");
    const std::string caption = uniqueCaption("spawn");
    pid_t child = -1;
    {
        SingleInstance lock(caption, dir.path().string());
        ASSERT_EQ(lock.acquire(), SingleInstance::Result::Acquired);
        // A program started while the lock is held, like a browser, outlives the holder.
        char sleepName[] = "sleep";
        char seconds[] = "30";
        char* argv[] = {sleepName, seconds, nullptr};
        ASSERT_EQ(::posix_spawnp(&child, "sleep", nullptr, nullptr, argv, environ), 0);
    }
    SingleInstance next(caption, dir.path().string());
    const auto result = next.acquire();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(result, SingleInstance::Result::Acquired);
}

TEST(SingleInstance, UnusableFolderDoesNotStopTheProgram)
{
    SingleInstance lock("Ortelia", "/nonexistent/folder");
    EXPECT_EQ(lock.acquire(), SingleInstance::Result::Unavailable);
    EXPECT_FALSE(lock.held());
}

TEST(SingleInstance, LockFileNames)
{
    EXPECT_EQ(SingleInstance::lockFileName("Ortelia - Directorio 2010", 1000), "Ortelia - Directorio 2010.1000.lock");
    EXPECT_EQ(SingleInstance::lockFileName("a/b", 0), "a%2Fb.0.lock");
    EXPECT_EQ(SingleInstance::lockFileName("a%2Fb", 0), "a%252Fb.0.lock"); // escapes cannot collide
    EXPECT_EQ(SingleInstance::lockFileName("..", 0), "%2E..0.lock");
    EXPECT_EQ(SingleInstance::lockFileName("Gu\xC3\xAD"
                                           "a",
                                           5),
              "Gu%C3%ADa.5.lock");

    const std::string longA(300, 'x');
    const std::string longB = longA + "y";
    const std::string nameA = SingleInstance::lockFileName(longA, 0);
    const std::string nameB = SingleInstance::lockFileName(longB, 0);
    EXPECT_LE(nameA.size(), 255u);
    EXPECT_NE(nameA, nameB);

    SingleInstance lock("Ortelia", "/run/user/1000/");
    EXPECT_EQ(lock.lockPath().rfind("/run/user/1000/Ortelia.", 0), 0u);
}

TEST(SingleInstance, RuntimeFolder)
{
    std::map<std::string, std::string> vars = {{"XDG_RUNTIME_DIR", "/run/user/1000"}};
    const EnvLookup env = [&vars](const std::string& name) -> std::optional<std::string> {
        const auto it = vars.find(name);
        return it == vars.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    EXPECT_EQ(SingleInstance::runtimeFolder(env), "/run/user/1000");
    vars.clear();
    EXPECT_EQ(SingleInstance::runtimeFolder(env), "/tmp");
}

} // namespace
