// OfficialBodies: the tree of the official-bodies file ("da2.dat" with "da2.hfm"): provinces,
// headings, office groups and offices, each with its telephone lines; the keyword search over it
// and the detail rows of a node. Plain data, built once and then only read. The official-bodies
// panel and `ortelia-cli bodies` use the same object. One thread at a time.
//
// Decoded line (Windows-1252, columns counted from 1, each field without its trailing spaces):
//   Columns   Field
//   1-35      name: a node's caption, or the description of a telephone line
//   36-43     line type
//   44-45     not used
//   46-145    value: the telephone (or short text) of the line
// Line types:
//   "PROVINCI"  level 0, a new top-level node
//   "ALPHAHED"  level 1, a child of the last level-0 node
//   "WSBL"      level 2, a child of the last level-1 node
//   "INDD"      level 3, a child of the last level-2 node
//   "INDT"      a (description, value) pair of the last level-3 node
//   "*"         goes on with the text of the line before it: the last description when the
//               current node has pairs, else the node's caption, with nothing in between
// A line needs a node of the level above it created since the last node of any higher level (an
// "INDD" right after an "ALPHAHED", or an "INDT" before any "INDD", is ignored), and a "*" line
// continues only a line that was taken. Lines of any other type are ignored.
//
// Nodes are kept in one vector in the order they were created. Since a new node always hangs
// under the newest node of the level above and a node of a higher level ends every deeper
// parent, that order is the pre-order of the tree (each node before its children, siblings in
// order), which the keyword search walks.
#pragma once

#include "engine/ByteSource.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class OfficialBodies {
public:
    static constexpr int kLevels = 4;

    struct Node {
        std::string caption;
        // Item 0: the node's own value; then description, value for each "INDT" line, in order.
        std::vector<std::string> items;
        int32_t parent = -1;
        int32_t level = 0; // 0 province .. 3 office
        std::vector<int32_t> children;
    };
    // One row of the detail list: the indented caption or description, and the value.
    struct DetailRow {
        std::string description;
        std::string value;
    };

    // Empties the tree and reads the file. False (tree empty) when either file cannot be opened.
    bool LoadData(const std::string& dataPath, const std::string& tablePath,
                  const SourceOpener& opener = openFileSource);
    // Empties the tree, or adds one decoded line to it with the loader's rules.
    void clear();
    void addLine(std::string_view line);

    [[nodiscard]] bool empty() const { return m_nodes.empty(); }
    [[nodiscard]] size_t size() const { return m_nodes.size(); }
    [[nodiscard]] const Node& node(int32_t index) const { return m_nodes[static_cast<size_t>(index)]; }
    [[nodiscard]] const std::vector<int32_t>& roots() const { return m_roots; }

    // The nodes whose upper-cased caption holds keyword, in pre-order. The keyword is compared as
    // given (the keyword field types upper case); an empty keyword is the caller's to refuse.
    [[nodiscard]] std::vector<int32_t> search(std::string_view keyword) const;

    // The detail list of a node: nothing for a province; else its ancestors from the province
    // down, each as four spaces per level and the caption with item 0, then the node itself and
    // its subtree (ShowNode).
    [[nodiscard]] std::vector<DetailRow> detailRows(int32_t index) const;
    // The node, its pairs (eight spaces and the description) and its children, recursively.
    void ShowNode(int32_t index, std::vector<DetailRow>& rows) const;

    // Paths as child indices from the top ("0/2/1"): the node, or -1 for a malformed or absent
    // path; and back.
    [[nodiscard]] int32_t nodeAtPath(std::string_view path) const;
    [[nodiscard]] std::string pathOf(int32_t index) const;

    // The fields of a decoded line.
    struct Fields {
        std::string_view name, type, value;
    };
    [[nodiscard]] static Fields splitLine(std::string_view line);

private:
    int32_t addNode(int32_t level, std::string_view name, std::string_view value);
    [[nodiscard]] DetailRow nodeRow(int32_t index) const;

    std::vector<Node> m_nodes;
    std::vector<int32_t> m_roots;
    // Loader state: the last node of each level still open (-1 none), the current node, and
    // whether the last line that was not a continuation was taken.
    int32_t m_last[kLevels] = {-1, -1, -1, -1};
    int32_t m_current = -1;
    bool m_lastTaken = false;
};
