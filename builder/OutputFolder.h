// OutputFolder: where a data set is built and how it takes the place of what is there. The set is
// written into a staging folder beside the destination and swapped in only when complete. What is
// at the destination is replaced only when this builder made it (it holds the marker file) or it
// holds a data set's files and nothing else; never a file, a link, the source folder or a folder
// holding the source. Whatever begin created is removed again unless commit succeeded. One thread.
#pragma once

#include <filesystem>
#include <string>

class OutputFolder {
public:
    // Written into every data set this builder makes; its presence allows the next build to
    // replace the folder.
    static constexpr const char* kMarker = ".ortelia-build";

    OutputFolder() = default;
    ~OutputFolder();
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    // Why a data set may not be built at destination (a sentence naming it); empty when it may.
    // sourceFolder (may be empty) is the folder the set is read from.
    static std::string refusal(const std::string& destination, const std::string& sourceFolder);

    // refusal, then creates the staging folder and any missing parent. False with a reason.
    bool begin(const std::string& destination, const std::string& sourceFolder, std::string* error);
    [[nodiscard]] const std::filesystem::path& staging() const { return m_staging; }
    [[nodiscard]] const std::filesystem::path& destination() const { return m_destination; }

    // Writes the marker and swaps the staging folder in; the folder it replaces is removed after.
    // False with a reason; what was at the destination is left as it was then.
    bool commit(std::string* error);

private:
    std::filesystem::path m_destination;
    std::string m_source;
    std::filesystem::path m_staging;
    std::filesystem::path m_createdParent; // the topmost parent begin created; empty when none
    bool m_committed = false;
};
