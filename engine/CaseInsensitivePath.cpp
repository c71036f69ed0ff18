#include "engine/CaseInsensitivePath.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

unsigned char foldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(static_cast<unsigned char>(a[i])) != foldAscii(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
}

std::string join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

} // namespace

namespace casepath {

std::string findInFolder(const std::string& folder, const std::string& name)
{
    const std::string spelled = join(folder, name);
    if (name.empty() || name == "." || name == ".." || exists(spelled))
        return spelled;
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
    const fs::directory_iterator end;
    std::string best;
    bool found = false;
    while (!ec && it != end) {
        std::string entry = it->path().filename().string();
        if (sameIgnoringCase(entry, name) && (!found || entry < best)) {
            best = std::move(entry);
            found = true;
        }
        it.increment(ec);
    }
    return found ? join(folder, best) : spelled;
}

std::string resolve(const std::string& path)
{
    if (path.empty() || exists(path))
        return path;
    // Walk the components, keeping the leading "/" of an absolute path and dropping empty ones.
    std::string done = path.front() == '/' ? "/" : "";
    size_t pos = done.size();
    bool lost = false;
    while (pos <= path.size()) {
        size_t slash = path.find('/', pos);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string part = path.substr(pos, slash - pos);
        pos = slash + 1;
        if (part.empty())
            continue;
        if (lost) {
            done = join(done, part);
            continue;
        }
        done = findInFolder(done, part);
        lost = !exists(done);
    }
    return done;
}

SourceOpener opener(SourceOpener inner)
{
    return [inner = std::move(inner)](const std::string& path) -> std::unique_ptr<ByteSource> {
        if (std::unique_ptr<ByteSource> source = inner(path))
            return source;
        const std::string real = resolve(path);
        if (real == path)
            return nullptr;
        return inner(real);
    };
}

} // namespace casepath
