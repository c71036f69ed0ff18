#include "builder/SampleSeeds.h"

#include "engine/Cp1252.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string_view>

namespace sample {
namespace {

std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// One TSV file: its rows after the header, each cell already in Windows-1252.
class Table {
public:
    bool read(const std::string& dir, const char* file, const std::vector<std::string>& header, std::string* error)
    {
        m_file = file;
        m_error = error;
        std::ifstream in(dir + "/" + file, std::ios::binary);
        if (!in)
            return fail(0, "cannot be read");
        std::stringstream buffer;
        buffer << in.rdbuf();
        const std::string text = buffer.str();
        size_t lineNumber = 0;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string_view line(text.data() + start, end - start);
            start = end + 1;
            ++lineNumber;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (line.empty())
                continue;
            std::vector<std::string> cells = split(line, '\t');
            if (lineNumber == 1) {
                if (cells != header)
                    return fail(lineNumber, "does not have the expected header");
                continue;
            }
            if (cells.size() != header.size())
                return fail(lineNumber, "has " + std::to_string(cells.size()) + " columns instead of " +
                                            std::to_string(header.size()));
            for (std::string& cell : cells) {
                std::string converted;
                if (!cp1252::fromUtf8(cell, converted))
                    return fail(lineNumber, "holds text that Windows-1252 cannot represent");
                cell = std::move(converted);
            }
            m_rows.push_back(std::move(cells));
            m_lines.push_back(lineNumber);
        }
        if (m_rows.empty())
            return fail(0, "has no rows");
        return true;
    }

    [[nodiscard]] const std::vector<std::vector<std::string>>& rows() const { return m_rows; }

    // A non-negative decimal cell; false (with the error set) otherwise.
    bool number(size_t row, size_t column, int64_t& value)
    {
        const std::string& cell = m_rows[row][column];
        const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
        if (ec != std::errc() || end != cell.data() + cell.size() || value < 0)
            return fail(m_lines[row], "column " + std::to_string(column + 1) + " is not a number");
        return true;
    }

    bool fail(size_t line, const std::string& why)
    {
        if (m_error)
            *m_error = std::string("seed file ") + m_file + (line ? " line " + std::to_string(line) : "") + " " + why;
        return false;
    }
    [[nodiscard]] size_t lineOf(size_t row) const { return m_lines[row]; }

private:
    const char* m_file = "";
    std::string* m_error = nullptr;
    std::vector<std::vector<std::string>> m_rows;
    std::vector<size_t> m_lines;
};

std::vector<std::string> listCell(const std::string& cell)
{
    if (cell.empty())
        return {};
    return split(cell, '|');
}

} // namespace

bool SampleSeeds::load(const std::string& dir, std::string* error)
{
    {
        Table t;
        if (!t.read(dir, "provinces.tsv", {"code", "name", "type", "abbr", "postcode_pattern"}, error))
            return false;
        for (const auto& r : t.rows())
            provinces.push_back({r[0], r[1], r[3]});
    }
    {
        Table t;
        if (!t.read(dir, "localities.tsv",
                    {"locality", "province_code", "area_code", "local_number_length", "weight", "subscriber_prefixes"},
                    error))
            return false;
        for (size_t i = 0; i < t.rows().size(); ++i) {
            const auto& r = t.rows()[i];
            int64_t area = 0, length = 0, weight = 0;
            if (!t.number(i, 2, area) || !t.number(i, 3, length) || !t.number(i, 4, weight))
                return false;
            const int areaDigits = static_cast<int>(std::to_string(area).size());
            if (area < 11 || area > 9999 || length != 10 - areaDigits || weight == 0)
                return t.fail(t.lineOf(i), "has an area code and local length that do not make 10 digits");
            SeedLocality l{r[0],
                           r[1],
                           static_cast<int32_t>(area),
                           static_cast<int>(length),
                           static_cast<uint32_t>(weight),
                           listCell(r[5])};
            for (const std::string& p : l.prefixes) {
                if (p.empty() || p.size() >= static_cast<size_t>(length) ||
                    p.find_first_not_of("0123456789") != std::string::npos)
                    return t.fail(t.lineOf(i), "has a bad subscriber prefix");
            }
            localities.push_back(std::move(l));
        }
    }
    {
        Table t;
        if (!t.read(dir, "given_names.tsv", {"name", "sex", "rank", "weight"}, error))
            return false;
        for (size_t i = 0; i < t.rows().size(); ++i) {
            const auto& r = t.rows()[i];
            int64_t weight = 0;
            if (!t.number(i, 3, weight))
                return false;
            if (r[1] != "f" && r[1] != "m")
                return t.fail(t.lineOf(i), "has a sex other than f or m");
            givenNames.push_back({r[0], r[1][0], static_cast<uint32_t>(weight)});
        }
    }
    const auto weighted = [&](const char* file, const char* column, std::vector<SeedWeighted>& out) {
        Table t;
        if (!t.read(dir, file, {column, "rank", "weight"}, error))
            return false;
        for (size_t i = 0; i < t.rows().size(); ++i) {
            int64_t weight = 0;
            if (!t.number(i, 2, weight))
                return false;
            out.push_back({t.rows()[i][0], static_cast<uint32_t>(weight)});
        }
        return true;
    };
    if (!weighted("surnames.tsv", "surname", surnames) || !weighted("streets.tsv", "street", streets))
        return false;
    {
        Table t;
        if (!t.read(dir, "address_patterns.tsv", {"kind", "pattern", "weight"}, error))
            return false;
        for (size_t i = 0; i < t.rows().size(); ++i) {
            int64_t weight = 0;
            if (!t.number(i, 2, weight))
                return false;
            addressPatterns.push_back({t.rows()[i][0], t.rows()[i][1], static_cast<uint32_t>(weight)});
        }
    }
    {
        Table t;
        if (!t.read(dir, "countries.tsv", {"iso_code", "calling_code", "name", "cities"}, error))
            return false;
        for (size_t i = 0; i < t.rows().size(); ++i) {
            const auto& r = t.rows()[i];
            int64_t code = 0;
            if (!t.number(i, 1, code))
                return false;
            SeedCountry c{r[0], static_cast<int32_t>(code), r[2], {}};
            for (const std::string& city : listCell(r[3])) {
                const size_t colon = city.rfind(':');
                if (colon == std::string::npos || colon == 0 || colon + 1 == city.size())
                    return t.fail(t.lineOf(i), "has a city without a code");
                c.cities.emplace_back(city.substr(0, colon), city.substr(colon + 1));
            }
            countries.push_back(std::move(c));
        }
    }
    {
        Table t;
        if (!t.read(dir, "rubros.tsv", {"rubro", "guide", "see_also", "redirect_to"}, error))
            return false;
        for (size_t i = 0; i < t.rows().size(); ++i) {
            const auto& r = t.rows()[i];
            if (r[1] != "C" && r[1] != "P" && r[1] != "B")
                return t.fail(t.lineOf(i), "has a guide other than C, P or B");
            rubros.push_back({r[0], r[1][0], listCell(r[2]), r[3]});
        }
    }
    {
        Table t;
        if (!t.read(dir, "company_words.tsv", {"kind", "word", "weight"}, error))
            return false;
        for (size_t i = 0; i < t.rows().size(); ++i) {
            int64_t weight = 0;
            if (!t.number(i, 2, weight))
                return false;
            companyWords.push_back({t.rows()[i][0], t.rows()[i][1], static_cast<uint32_t>(weight)});
        }
    }
    return true;
}

} // namespace sample
