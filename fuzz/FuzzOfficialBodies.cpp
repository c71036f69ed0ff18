// Arbitrary bytes as decoded official-bodies lines (one per '\n'), fed to the tree builder, with
// short runs of valid line types mixed in by the first byte of each line: the tree stays well
// formed, creation order stays the pre-order the keyword search walks, every node's list stays
// odd, paths lead back to their nodes and the detail rows of every node can be built.
#include "builder/CodedLinesWriter.h"
#include "search/OfficialBodies.h"

#include <cstdlib>
#include <string_view>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

void preOrder(const OfficialBodies& t, int32_t n, int32_t& next)
{
    check(n == next++);
    for (const int32_t c : t.node(n).children) {
        check(t.node(c).parent == n && t.node(c).level == t.node(n).level + 1);
        preOrder(t, c, next);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const kTypes[] = {"PROVINCI", "ALPHAHED", "WSBL", "INDD", "INDT", "*"};
    OfficialBodies t;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view raw = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        const auto pick = raw.empty() ? 0u : static_cast<unsigned char>(raw.front());
        if (pick < 6 * 16 && raw.size() > 1) // a typed line around the fuzzer's text
            t.addLine(CodedLinesWriter::officialBodiesLine(raw.substr(1, 40), kTypes[pick % 6], raw.substr(1)));
        else
            t.addLine(raw);
    }
    int32_t next = 0;
    for (const int32_t r : t.roots()) {
        check(t.node(r).level == 0 && t.node(r).parent == -1);
        preOrder(t, r, next);
    }
    check(static_cast<size_t>(next) == t.size());
    size_t rows = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        const auto n = static_cast<int32_t>(i);
        check(t.node(n).items.size() % 2 == 1);
        check(t.nodeAtPath(t.pathOf(n)) == n);
        if (rows < 100000)
            rows += t.detailRows(n).size();
    }
    check(t.search("").size() == t.size());
    return 0;
}
