#include "widgets/ModalSeam.h"

#include <deque>
#include <utility>

namespace modal {
namespace {

struct Queued {
    int result;
    std::function<void(QDialog&)> act;
};

struct State {
    std::deque<Queued> queue;
    std::vector<Seen> seen;
    bool headless = false;
};

State& state()
{
    static State s;
    return s;
}

} // namespace

int exec(QDialog& dialog)
{
    State& s = state();
    if (!s.queue.empty()) {
        Queued next = std::move(s.queue.front());
        s.queue.pop_front();
        s.seen.push_back({QString::fromLatin1(dialog.metaObject()->className()), dialog.windowTitle(), true});
        if (next.act)
            next.act(dialog);
        return next.result;
    }
    if (s.headless) {
        s.seen.push_back({QString::fromLatin1(dialog.metaObject()->className()), dialog.windowTitle(), false});
        return QDialog::Rejected;
    }
    return dialog.exec();
}

void queueResult(int result, std::function<void(QDialog&)> act)
{
    state().queue.push_back({result, std::move(act)});
}

void setHeadless(bool on)
{
    state().headless = on;
}

bool headless()
{
    return state().headless;
}

const std::vector<Seen>& seen()
{
    return state().seen;
}

bool resultsQueued()
{
    return !state().queue.empty();
}

void clear()
{
    state().queue.clear();
    state().seen.clear();
}

} // namespace modal
