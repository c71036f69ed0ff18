// What a publisher's source may not hold: each refusal names the file and the line, also for the
// faults found only while the data set is written.
#include "builder/DataSetBuilder.h"
#include "builder/SourceReader.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const std::string kExample = std::string(ORTELIA_TEST_DATA) + "/source-example";

int lineCount(const fs::path& file)
{
    std::ifstream in(file);
    int n = 0;
    for (std::string line; std::getline(in, line);)
        ++n;
    return n;
}

// A copy of the example with one line appended to (or replacing the first data line of) a file.
class BrokenSource {
public:
    BrokenSource() { fs::copy(kExample, m_src, fs::copy_options::recursive); }
    // Appends text as a line; returns "file:line" of it.
    std::string append(const char* file, const std::string& text)
    {
        const int line = lineCount(m_src / file) + 1;
        std::ofstream(m_src / file, std::ios::app) << text << "\n";
        return std::string(file) + ":" + std::to_string(line) + ": ";
    }
    [[nodiscard]] const fs::path& folder() const { return m_src; }
    // The reader's error, or the builder's when the reader takes the folder; "" when both do.
    std::string error()
    {
        SourceModel model;
        std::string error;
        if (!SourceReader().read(m_src.string(), model, &error))
            return error;
        DataSetBuilder builder;
        builder.setSourceFolder(m_src.string());
        if (!builder.build(model, m_dir / "data", nullptr, &error)) {
            EXPECT_FALSE(fs::exists(m_dir.path() / "data"));
            return error;
        }
        return {};
    }

private:
    TempDir m_dir{"src"};
    fs::path m_src = m_dir.path() / "src";
};

TEST(SourceChecks, ARequiredFileThatIsAFolderIsRefusedByName)
{
    for (const char* file : {"abonados.tsv", "provincias.tsv", "rubros.tsv", "paises.tsv", "productos.html"}) {
        BrokenSource s;
        fs::remove(s.folder() / file);
        fs::create_directory(s.folder() / file);
        EXPECT_EQ(s.error(), std::string(file) + ": not a file");
    }
}

TEST(SourceChecks, SilentlyAcceptedRowsAreRefusedWithFileAndLine)
{
    const struct {
        const char* file;
        std::string row;
        const char* reason;
    } cases[] = {
        // A listing with its last four columns lost: it would become a listing with no name.
        {"abonados.tsv", "A\t1\t1\t\t11\t43480000\tGARCÍA", "7 columns where the header names 11"},
        {"abonados.tsv", "A\t1\t1\t\t11\t43480000\tX\tY\t\t\t\t", "12 columns where the header names 11"},
        {"rubros.tsv", "9\tVARIOS\tC\t1,2,3,1,2,3\t", "6 see-also rubros where the line shows at most 5"},
        {"rubros.tsv", "9\tVARIOS\tC\t\t9", "the rubro redirects to itself"},
        {"organismos.tsv", "4\tOFICINA\t" + std::string(400, 'X'), "\"valor\" longer than the 100 characters"},
        {"organismos.tsv", "T\tMESA DE ENTRADAS\t" + std::string(101, '1'), "\"valor\" longer than the 100"},
    };
    for (const auto& c : cases) {
        BrokenSource s;
        const std::string where = s.append(c.file, c.row);
        const std::string error = s.error();
        EXPECT_EQ(error.rfind(where, 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    BrokenSource fine;
    fine.append("rubros.tsv", "9\tVARIOS\tC\t1,2,3,1,2\t1");
    EXPECT_EQ(fine.error(), "") << "five see-also rubros and a redirect to another rubro";
}

TEST(SourceChecks, FaultsFoundWhileWritingNameTheSourceLine)
{
    const struct {
        const char* file;
        std::string row;
        const char* reason;
    } cases[] = {
        {"abonados.tsv", "A\t1\t1\t\t11\t43480000\t" + std::string(600, 'N') + "\tY\t\t\t",
         "record text longer than 511 bytes"},
        {"provincias.tsv", "30\tTIERRA NUEVA", "catalogs: province 30: the id is outside 1..29"},
        {"localidades.tsv", "6000\tX\t1\t1\t11", "catalogs: locality 6000: the id is outside"},
        {"rubros.tsv", "12\tA;B\tC\t\t", "catalogs: rubro 12: the name holds the field separator"},
        {"avisos.tsv", "4\t8\t0\t\t" + std::string(12000, 'L'), "text too long"},
    };
    for (const auto& c : cases) {
        BrokenSource s;
        const std::string where = s.append(c.file, c.row);
        const std::string error = s.error();
        EXPECT_EQ(error.rfind(where, 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

} // namespace
