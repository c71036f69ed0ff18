#include "builder/OutputFolder.h"

#include "builder/OutputFile.h"
#include "engine/DataFiles.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The absolute, lexically normal form, without a trailing separator ("out/" names "out").
fs::path normalised(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(path), ec).lexically_normal();
    while (!p.has_filename() && p.has_relative_path())
        p = p.parent_path();
    return p;
}

bool allDigits(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isRegular(const fs::directory_entry& e)
{
    std::error_code ec;
    return e.symlink_status(ec).type() == fs::file_type::regular;
}

bool isFolder(const fs::directory_entry& e)
{
    std::error_code ec;
    return e.symlink_status(ec).type() == fs::file_type::directory;
}

// The first entry of dir that a data set does not have ("" when there is none): the data files,
// banners/<number>/<number>.gif, info/Productos.html and the marker.
std::string foreignEntry(const fs::path& dir)
{
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const bool dataFile = std::any_of(std::begin(datafiles::kAll), std::end(datafiles::kAll),
                                          [&](const char* f) { return name == f; });
        if ((dataFile || name == OutputFolder::kMarker) && isRegular(*it))
            continue;
        if (name == "info" && isFolder(*it)) {
            for (fs::directory_iterator in(it->path(), ec), e2; !ec && in != e2; in.increment(ec))
                if (in->path().filename() != "Productos.html" || !isRegular(*in))
                    return "info/" + in->path().filename().string();
            continue;
        }
        if (name == "banners" && isFolder(*it)) {
            for (fs::directory_iterator set(it->path(), ec), e2; !ec && set != e2; set.increment(ec)) {
                const std::string folder = set->path().filename().string();
                if (!allDigits(folder) || !isFolder(*set))
                    return "banners/" + folder;
                for (fs::directory_iterator gif(set->path(), ec), e3; !ec && gif != e3; gif.increment(ec)) {
                    const std::string file = gif->path().filename().string();
                    if (file.size() < 5 || file.compare(file.size() - 4, 4, ".gif") != 0 ||
                        !allDigits(file.substr(0, file.size() - 4)) || !isRegular(*gif))
                        return "banners/" + folder + "/" + file;
                }
            }
            continue;
        }
        return name;
    }
    if (ec)
        return "(unreadable: " + ec.message() + ")";
    return {};
}

// True when inner is outer or lies somewhere under it.
bool within(const fs::path& inner, const fs::path& outer)
{
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        if (i == inner.end() || *i != *o)
            return false;
    }
    return true;
}

// A sibling of p whose name is free: p's name, the tag and a number.
fs::path freeSibling(const fs::path& p, const char* tag)
{
    std::error_code ec;
    for (int n = 0;; ++n) {
        fs::path candidate = p.parent_path() / (p.filename().string() + tag + std::to_string(::getpid()) +
                                                (n ? "-" + std::to_string(n) : std::string()));
        if (!fs::exists(fs::symlink_status(candidate, ec)))
            return candidate;
    }
}

} // namespace

OutputFolder::~OutputFolder()
{
    if (m_committed)
        return;
    std::error_code ec;
    if (!m_staging.empty())
        fs::remove_all(m_staging, ec);
    if (!m_createdParent.empty())
        fs::remove_all(m_createdParent, ec);
}

std::string OutputFolder::refusal(const std::string& destination, const std::string& sourceFolder)
{
    if (destination.empty())
        return "no output folder given";
    const fs::path out = normalised(destination);
    if (!out.has_relative_path())
        return destination + ": the root folder cannot be a data folder";
    std::error_code ec;
    if (!sourceFolder.empty()) {
        const fs::path source = fs::weakly_canonical(normalised(sourceFolder), ec);
        const fs::path target = fs::weakly_canonical(out, ec);
        if (within(source, target))
            return destination + (source == target ? " is the source folder" : " holds the source folder") +
                   ": the data set would replace it";
    }
    const fs::file_status status = fs::symlink_status(out, ec);
    if (!fs::exists(status))
        return {};
    if (fs::is_symlink(status))
        return destination + " is a symbolic link: give the folder itself";
    if (!fs::is_directory(status))
        return destination + " is a file, not a data folder";
    if (fs::exists(out / kMarker, ec))
        return {};
    const std::string foreign = foreignEntry(out);
    if (!foreign.empty())
        return destination + " holds \"" + foreign +
               "\", which is no part of a data set: give a new or empty folder, or one ortelia-build made";
    return {};
}

bool OutputFolder::begin(const std::string& destination, const std::string& sourceFolder, std::string* error)
{
    const auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (const std::string why = refusal(destination, sourceFolder); !why.empty())
        return fail(why);
    m_destination = normalised(destination);
    m_source = sourceFolder;
    std::error_code ec;
    for (fs::path p = m_destination.parent_path(); p.has_relative_path() && !fs::exists(fs::symlink_status(p, ec));
         p = p.parent_path())
        m_createdParent = p;
    fs::create_directories(m_destination.parent_path(), ec);
    if (ec)
        return fail("cannot create " + m_destination.parent_path().string() + ": " + ec.message());
    m_staging = freeSibling(m_destination, ".building-");
    if (!fs::create_directory(m_staging, ec)) {
        m_staging.clear();
        return fail("cannot create a folder beside " + m_destination.string() + ": " + ec.message());
    }
    return true;
}

bool OutputFolder::commit(std::string* error)
{
    const auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    static const char kNote[] = "A data set written by ortelia-build, which may replace this folder.\n";
    if (!writeFile((m_staging / kMarker).string(), std::vector<uint8_t>(kNote, kNote + std::strlen(kNote))))
        return fail("cannot write " + (m_staging / kMarker).string());
    // Something may have come to the destination while the set was being built.
    if (const std::string why = refusal(m_destination.string(), m_source); !why.empty())
        return fail(why);
    std::error_code ec;
    const bool replacing = fs::exists(fs::symlink_status(m_destination, ec));
    const fs::path old = replacing ? freeSibling(m_destination, ".old-") : fs::path();
    if (replacing) {
        fs::rename(m_destination, old, ec);
        if (ec)
            return fail("cannot move the old " + m_destination.string() + " aside: " + ec.message());
    }
    fs::rename(m_staging, m_destination, ec);
    if (ec) {
        const std::string why = ec.message();
        if (replacing)
            fs::rename(old, m_destination, ec);
        return fail("cannot rename " + m_staging.string() + " to " + m_destination.string() + ": " + why);
    }
    m_committed = true;
    if (replacing)
        fs::remove_all(old, ec);
    return true;
}
