#include "search/OfficialBodies.h"

#include "engine/Cp1252.h"
#include "engine/hfile.h"

#include <charconv>

namespace {

constexpr size_t kNameAt = 0, kNameWidth = 35;
constexpr size_t kTypeAt = 35, kTypeWidth = 8;
constexpr size_t kValueAt = 45, kValueWidth = 100;

std::string_view field(std::string_view line, size_t at, size_t width)
{
    if (line.size() <= at)
        return {};
    std::string_view f = line.substr(at, width);
    while (!f.empty() && f.back() == ' ')
        f.remove_suffix(1);
    return f;
}

// Level of a node line, or -1.
int levelOf(std::string_view type)
{
    if (type == "PROVINCI")
        return 0;
    if (type == "ALPHAHED")
        return 1;
    if (type == "WSBL")
        return 2;
    if (type == "INDD")
        return 3;
    return -1;
}

} // namespace

OfficialBodies::Fields OfficialBodies::splitLine(std::string_view line)
{
    return {field(line, kNameAt, kNameWidth), field(line, kTypeAt, kTypeWidth), field(line, kValueAt, kValueWidth)};
}

bool OfficialBodies::LoadData(const std::string& dataPath, const std::string& tablePath, const SourceOpener& opener)
{
    clear();
    hfile file;
    if (!file.OpenCoded(dataPath, tablePath, opener))
        return false;
    std::string line;
    while (!file.IsEof()) {
        if (file.ReadLine(line))
            addLine(line);
    }
    return true;
}

void OfficialBodies::clear()
{
    m_nodes.clear();
    m_roots.clear();
    for (int32_t& l : m_last)
        l = -1;
    m_current = -1;
    m_lastTaken = false;
}

int32_t OfficialBodies::addNode(int32_t level, std::string_view name, std::string_view value)
{
    const auto index = static_cast<int32_t>(m_nodes.size());
    Node n;
    n.caption.assign(name);
    n.items.emplace_back(value);
    n.level = level;
    n.parent = level > 0 ? m_last[level - 1] : -1;
    m_nodes.push_back(std::move(n));
    if (level == 0)
        m_roots.push_back(index);
    else
        m_nodes[static_cast<size_t>(m_nodes.back().parent)].children.push_back(index);
    // This node ends the deeper levels: their next nodes need a parent under it.
    m_last[level] = index;
    for (int l = level + 1; l < kLevels; ++l)
        m_last[l] = -1;
    m_current = index;
    return index;
}

void OfficialBodies::addLine(std::string_view line)
{
    const Fields f = splitLine(line);
    if (f.type == "*") {
        if (!m_lastTaken || m_current < 0)
            return; // the text it continues was not taken
        Node& n = m_nodes[static_cast<size_t>(m_current)];
        if (n.items.size() > 1)
            n.items[n.items.size() - 2].append(f.name);
        else
            n.caption.append(f.name);
        return;
    }
    m_lastTaken = false;
    if (f.type == "INDT") {
        const int32_t office = m_last[3];
        if (office < 0)
            return;
        Node& n = m_nodes[static_cast<size_t>(office)];
        n.items.emplace_back(f.name);
        n.items.emplace_back(f.value);
        m_lastTaken = true;
        return;
    }
    const int level = levelOf(f.type);
    if (level < 0 || (level > 0 && m_last[level - 1] < 0))
        return;
    addNode(level, f.name, f.value);
    m_lastTaken = true;
}

std::vector<int32_t> OfficialBodies::search(std::string_view keyword) const
{
    std::vector<int32_t> found;
    std::string upper;
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        const std::string& caption = m_nodes[i].caption;
        upper.resize(caption.size());
        for (size_t c = 0; c < caption.size(); ++c)
            upper[c] = static_cast<char>(cp1252::upper(static_cast<unsigned char>(caption[c])));
        if (upper.find(keyword) != std::string::npos)
            found.push_back(static_cast<int32_t>(i));
    }
    return found;
}

OfficialBodies::DetailRow OfficialBodies::nodeRow(int32_t index) const
{
    const Node& n = node(index);
    return {std::string(4 * static_cast<size_t>(n.level), ' ') + n.caption, n.items.front()};
}

std::vector<OfficialBodies::DetailRow> OfficialBodies::detailRows(int32_t index) const
{
    std::vector<DetailRow> rows;
    if (index < 0 || static_cast<size_t>(index) >= m_nodes.size() || node(index).level == 0)
        return rows;
    for (int32_t a = node(index).parent; a >= 0; a = node(a).parent)
        rows.push_back(nodeRow(a));
    std::vector<DetailRow> ordered(rows.rbegin(), rows.rend());
    ShowNode(index, ordered);
    return ordered;
}

void OfficialBodies::ShowNode(int32_t index, std::vector<DetailRow>& rows) const
{
    // Iterative pre-order: a file's depth is bounded by its four levels, but the subtree of a
    // province can be large, and the rows come out in the same order either way.
    std::vector<int32_t> stack{index};
    while (!stack.empty()) {
        const int32_t at = stack.back();
        stack.pop_back();
        const Node& n = node(at);
        rows.push_back(nodeRow(at));
        for (size_t i = 1; i + 1 < n.items.size(); i += 2)
            rows.push_back({std::string(8, ' ') + n.items[i], n.items[i + 1]});
        for (auto c = n.children.rbegin(); c != n.children.rend(); ++c)
            stack.push_back(*c);
    }
}

int32_t OfficialBodies::nodeAtPath(std::string_view path) const
{
    const std::vector<int32_t>* level = &m_roots;
    int32_t at = -1;
    while (true) {
        const size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        size_t i = 0;
        const auto [p, ec] = std::from_chars(part.data(), part.data() + part.size(), i);
        if (part.empty() || ec != std::errc() || p != part.data() + part.size() || i >= level->size())
            return -1;
        at = (*level)[i];
        level = &node(at).children;
        if (slash == std::string_view::npos)
            return at;
        path.remove_prefix(slash + 1);
    }
}

std::string OfficialBodies::pathOf(int32_t index) const
{
    std::string path;
    for (int32_t at = index; at >= 0; at = node(at).parent) {
        const int32_t parent = node(at).parent;
        const std::vector<int32_t>& siblings = parent >= 0 ? node(parent).children : m_roots;
        size_t i = 0;
        while (i < siblings.size() && siblings[i] != at)
            ++i;
        path.insert(0, (path.empty() ? "" : "/"));
        path.insert(0, std::to_string(i));
    }
    return path;
}
