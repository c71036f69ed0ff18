// A ShellOpener that opens nothing and remembers what it was asked to open, in order.
#pragma once

#include "platform/ShellOpener.h"

#include <vector>

class RecordingShell final : public ShellOpener {
public:
    enum class Kind { Address, File };
    struct Call {
        Kind kind;
        QString target;
    };

    bool openAddress(const QString& address) override
    {
        m_calls.push_back({Kind::Address, address});
        return m_answer;
    }
    bool openFile(const QString& path) override
    {
        m_calls.push_back({Kind::File, path});
        return m_answer;
    }

    // What the next calls return (true by default).
    void answer(bool value) { m_answer = value; }
    [[nodiscard]] const std::vector<Call>& calls() const { return m_calls; }
    [[nodiscard]] std::vector<QString> addresses() const { return targets(Kind::Address); }
    [[nodiscard]] std::vector<QString> files() const { return targets(Kind::File); }
    void clear() { m_calls.clear(); }

private:
    [[nodiscard]] std::vector<QString> targets(Kind kind) const
    {
        std::vector<QString> out;
        for (const Call& c : m_calls) {
            if (c.kind == kind)
                out.push_back(c.target);
        }
        return out;
    }

    std::vector<Call> m_calls;
    bool m_answer = true;
};
