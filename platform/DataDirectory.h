// DataDirectory: finds the data set's folder at start-up. In order: a folder "data" in the current
// directory; the "Database" setting when it names an existing folder; then each mounted optical
// disc (ISO 9660 or UDF, from the mount table) in the order of its mount point's name, with a
// folder "data" at its root. Names are matched without case, as the data set was made where case
// does not matter. The answer always ends with "/", and is empty when nothing was found: the
// caller then asks for the disc and searches again with scan(). Pure over an injected file-system
// probe and mount-table text; main thread at start-up.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class DataDirectory {
public:
    // The real path of the existing folder that path names with its case ignored ("DATA" for
    // "data"), or empty when there is none. A relative path is taken from the current directory.
    using Probe = std::function<std::string(const std::string& path)>;
    // The real file system, through the case-insensitive lookup.
    [[nodiscard]] static Probe fileSystem();
    // The text of /proc/self/mounts; empty when unreadable.
    [[nodiscard]] static std::string systemMountTable();

    // The first search at start-up: "data" here, else the "Database" setting if it is a folder,
    // else the discs.
    [[nodiscard]] static std::string locate(const std::string& database, const std::string& mountTable,
                                            const Probe& probe);
    // A search after the user was asked for the disc: "data" here, else the discs.
    [[nodiscard]] static std::string scan(const std::string& mountTable, const Probe& probe);

    // The mount points of the optical discs in a mount table, sorted, without repeats.
    [[nodiscard]] static std::vector<std::string> opticalDiscs(std::string_view mountTable);
    // A mount-table field with its octal escapes ("\040" for a blank) decoded.
    [[nodiscard]] static std::string decodeMountField(std::string_view field);
    // The path with exactly one trailing "/" (empty stays empty).
    [[nodiscard]] static std::string withSeparator(std::string path);
};
