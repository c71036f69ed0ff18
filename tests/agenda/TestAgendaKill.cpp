// Nothing posted is lost: a child process appends, edits, deletes and packs agenda rows and says
// so on a pipe after each operation returns; it is killed (SIGKILL) at random moments, hundreds of
// times. After each kill the table must open and hold exactly the rows reported posted, with
// their notes; only the operation under way at the kill may have happened or not.
#include "agenda/TAgenda.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

enum Kind : int32_t { Append = 1, Edit, Delete, Repack, Ready };

struct Message {
    int32_t done; // 0 before the operation, 1 once it returned
    int32_t kind;
    int32_t id;
    int32_t version;
};

std::string noteFor(int32_t id, int32_t version)
{
    if ((id + version) % 4 == 0)
        return "";
    const size_t length = static_cast<size_t>((id * 131 + version * 71) % 1400) + 1;
    return std::string(length, static_cast<char>('a' + (id + version) % 26)) + "\r\nv" + std::to_string(version);
}

std::string nameFor(int32_t id)
{
    return "C" + std::to_string(id);
}

std::map<int32_t, int32_t> rowsById(const TAgenda& agenda)
{
    std::map<int32_t, int32_t> rows;
    agenda.forEachRow([&rows](const TAgendaRecord& r) { rows[std::stoi(r.name.substr(1))] = r.row; });
    return rows;
}

[[noreturn]] void childLoop(const std::string& folder, int fd, int32_t nextId, std::map<int32_t, int32_t> versions,
                            unsigned seed)
{
    std::mt19937 rng(seed);
    auto say = [fd](Message m) {
        if (::write(fd, &m, sizeof m) != static_cast<ssize_t>(sizeof m))
            ::_exit(3);
    };
    auto agenda = std::make_unique<TAgenda>(folder);
    if (!agenda->isOpen())
        ::_exit(2);
    std::map<int32_t, int32_t> rows = rowsById(*agenda);
    say({1, Ready, 0, 0});
    for (;;) {
        const unsigned pick = rng() % 10;
        if (pick < 4 || versions.empty()) {
            TAgendaRecord r;
            r.name = nameFor(nextId);
            r.note = noteFor(nextId, 0);
            say({0, Append, nextId, 0});
            const int32_t row = agenda->AppendRow(r);
            if (row == 0)
                ::_exit(4);
            say({1, Append, nextId, 0});
            rows[nextId] = row;
            versions[nextId++] = 0;
            continue;
        }
        auto it = versions.begin();
        std::advance(it, static_cast<long>(rng() % versions.size()));
        const int32_t id = it->first;
        if (pick < 7) {
            TAgendaRecord r;
            r.row = rows[id];
            r.name = nameFor(id);
            r.note = noteFor(id, it->second + 1);
            say({0, Edit, id, it->second + 1});
            if (!agenda->RewriteRow(r))
                ::_exit(5);
            say({1, Edit, id, ++it->second});
        } else if (pick < 9) {
            say({0, Delete, id, 0});
            if (agenda->DeleteRow(rows[id]) != 0 || !agenda->status().isOk())
                ::_exit(6);
            say({1, Delete, id, 0});
            versions.erase(it);
            rows.erase(id);
        } else {
            say({0, Repack, 0, 0});
            agenda.reset();
            agenda = std::make_unique<TAgenda>(folder);
            if (!agenda->isOpen())
                ::_exit(7);
            rows = rowsById(*agenda);
            say({1, Repack, 0, 0});
        }
    }
}

} // namespace

constexpr int kRounds = 200;

TEST(AgendaKill, EveryPostedRowSurvivesAKillAtAnyMoment)
{
    TempDir dir("agenda-kill");
    const std::string folder = dir.path().string() + "/";
    {
        TAgenda create(folder);
    }
    std::map<int32_t, int32_t> versions; // live contacts: id -> note version
    int32_t nextId = 1;
    std::mt19937 rng(1515);
    int kills = 0, inFlight = 0;
    for (int round = 0; round < kRounds; ++round) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            childLoop(folder, fds[1], nextId, versions, static_cast<unsigned>(rng()));
        }
        ::close(fds[1]);
        // Mostly the kill waits for the child's table to be open (a slow start, as under a
        // sanitizer, would otherwise take every kill); every fifth round it may land in the opening
        // and its pack.
        std::vector<Message> messages;
        Message m{};
        if (round % 5 != 0)
            while (::read(fds[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m)) {
                messages.push_back(m);
                if (m.kind == Ready)
                    break;
            }
        ::usleep(static_cast<useconds_t>(rng() % 5000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself: exit " << WEXITSTATUS(status);
        ++kills;

        while (::read(fds[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m))
            messages.push_back(m);
        std::optional<Message> pending;
        for (const Message& message : messages) {
            m = message;
            if (m.kind == Ready)
                continue;
            if (m.done == 0) {
                pending = m;
                continue;
            }
            pending.reset();
            if (m.kind == Append) {
                versions[m.id] = 0;
                nextId = m.id + 1;
            } else if (m.kind == Edit) {
                versions[m.id] = m.version;
            } else if (m.kind == Delete) {
                versions.erase(m.id);
            }
        }
        ::close(fds[0]);

        TAgenda agenda(folder);
        ASSERT_TRUE(agenda.isOpen()) << "round " << round << ": " << agenda.status().toString();
        std::map<int32_t, std::string> found;
        agenda.forEachRow([&found](const TAgendaRecord& r) { found[std::stoi(r.name.substr(1))] = r.note; });
        // The operation under way may have landed or not; whichever it is becomes the truth.
        if (pending) {
            ++inFlight;
            const Message p = *pending;
            if (p.kind == Append) {
                nextId = p.id + 1;
                if (found.count(p.id) && found[p.id] == noteFor(p.id, 0))
                    versions[p.id] = 0;
            } else if (p.kind == Edit && found.count(p.id) && found[p.id] == noteFor(p.id, p.version)) {
                versions[p.id] = p.version;
            } else if (p.kind == Delete && !found.count(p.id)) {
                versions.erase(p.id);
            }
        }
        ASSERT_EQ(found.size(), versions.size()) << "round " << round;
        for (const auto& [id, version] : versions) {
            ASSERT_TRUE(found.count(id)) << "round " << round << ": contact " << id << " lost";
            ASSERT_EQ(found[id], noteFor(id, version)) << "round " << round << ": contact " << id;
        }
    }
    EXPECT_EQ(kills, kRounds);
    EXPECT_GT(inFlight, kRounds / 5) << "the kills did not land inside operations";
    std::printf("%d kills, %d inside an operation, %d contacts appended\n", kills, inFlight, nextId - 1);
    EXPECT_GT(nextId, kRounds / 4); // and the children got work done between them
}
