#include "tools/CliAgenda.h"

#include "engine/Cp1252.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <fstream>

const char* const kAgendaUsage = "       ortelia-cli DATA agenda [--folder F] list\n"
                                 "       ortelia-cli DATA agenda [--folder F] export --vcard FILE\n"
                                 "       ortelia-cli DATA agenda [--folder F] add N\n"
                                 "       ortelia-cli DATA agenda [--folder F] note N TEXT\n";

namespace {

using json = nlohmann::ordered_json;

struct Failure {
    std::string text;
};

// One contact with its texts, from the row (typed-in) or the directory (saved records).
struct Contact {
    TAgendaRecord row;
    bool inDirectory = true; // false: a saved record number the data set does not hold
};

Contact contactOf(CliDataSet& data, const TAgendaRecord& row)
{
    Contact c{row, true};
    if (row.recno == 0)
        return c;
    registro r;
    if (row.recno < 1 || row.recno > data.store->RecordCount() || !data.store->ReadRecord(r, row.recno)) {
        c.inDirectory = false;
        return c;
    }
    c.row.name = r.name;
    c.row.address = r.address;
    c.row.phone = r.DisplayPhone();
    c.row.locality = data.catalogs().LocalityName(r.localityId);
    c.row.province = data.catalogs().ProvinceName(data.catalogs().LocalityProvince(r.localityId));
    c.row.web = (r.flags & registro::kHasWeb) ? r.web : std::string();
    c.row.mail = (r.flags & registro::kHasMail) ? r.mail : std::string();
    return c;
}

std::vector<Contact> contacts(CliDataSet& data, const TAgenda& agenda)
{
    std::vector<Contact> out;
    agenda.forEachRow([&](const TAgendaRecord& r) { out.push_back(contactOf(data, r)); });
    return out;
}

std::string utf8(const std::string& cp)
{
    return cp1252::toUtf8(cp1252::trim(cp));
}

// Text value escaping: backslash, comma, semicolon and line breaks (CRLF, CR or LF as one).
std::string escaped(const std::string& cp)
{
    const std::string s = utf8(cp);
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\' || c == ',' || c == ';') {
            out += '\\';
            out += c;
        } else if (c == '\r' || c == '\n') {
            out += "\\n";
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// A content line folded after 75 octets, never inside a UTF-8 character; CRLF at the end.
void contentLine(std::string& out, const std::string& line)
{
    size_t start = 0, width = 75;
    while (line.size() - start > width) {
        size_t cut = start + width;
        while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line, start, cut - start);
        out += "\r\n ";
        start = cut;
        width = 74; // the leading space of a continuation counts
    }
    out.append(line, start, std::string::npos);
    out += "\r\n";
}

std::string uri(const std::string& cp)
{
    const std::string s = utf8(cp);
    if (s.empty() || s.find("://") != std::string::npos)
        return s;
    return "http://" + s;
}

int32_t parseNumber(const std::string& s, const char* what)
{
    int32_t v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || p != s.data() + s.size() || v < 1)
        throw Failure{std::string(what) + " must be a number from 1 up: " + s};
    return v;
}

json rowJson(const Contact& c)
{
    const TAgendaRecord& r = c.row;
    json j;
    j["row"] = r.row;
    j["recno"] = r.recno;
    if (!c.inDirectory) {
        j["missing"] = true;
    } else {
        j["name"] = utf8(r.name);
        j["address"] = utf8(r.address);
        j["phone"] = utf8(r.phone);
        j["locality"] = utf8(r.locality);
        j["province"] = utf8(r.province);
        j["web"] = utf8(r.web);
        j["mail"] = utf8(r.mail);
    }
    j["note"] = utf8(r.note);
    return j;
}

} // namespace

std::string agendaVCards(CliDataSet& data, const TAgenda& agenda)
{
    std::string out;
    for (const Contact& c : contacts(data, agenda)) {
        if (!c.inDirectory)
            continue;
        const TAgendaRecord& r = c.row;
        contentLine(out, "BEGIN:VCARD");
        contentLine(out, "VERSION:4.0");
        contentLine(out, "FN:" + escaped(r.name));
        contentLine(out, "N:" + escaped(r.name) + ";;;;");
        if (!utf8(r.phone).empty())
            contentLine(out, "TEL;VALUE=text:" + escaped(r.phone));
        if (!utf8(r.address).empty() || !utf8(r.locality).empty() || !utf8(r.province).empty())
            contentLine(out, "ADR:;;" + escaped(r.address) + ";" + escaped(r.locality) + ";" + escaped(r.province) +
                                 ";;Argentina");
        if (!utf8(r.mail).empty())
            contentLine(out, "EMAIL:" + escaped(r.mail));
        if (!utf8(r.web).empty())
            contentLine(out, "URL:" + uri(r.web));
        if (!utf8(r.note).empty())
            contentLine(out, "NOTE:" + escaped(r.note));
        contentLine(out, "END:VCARD");
    }
    return out;
}

int cliAgenda(CliDataSet& data, const std::vector<std::string>& args, const std::string& defaultFolder,
              std::ostream& out, std::ostream& err)
{
    try {
        std::string folder = defaultFolder;
        size_t i = 0;
        if (i + 1 < args.size() && args[i] == "--folder") {
            folder = args[i + 1];
            if (folder.empty() || folder.back() != '/')
                folder += '/';
            i += 2;
        }
        if (i >= args.size())
            throw Failure{std::string("usage:\n") + kAgendaUsage};
        const std::string command = args[i++];
        const size_t rest = args.size() - i;
        auto expect = [&](size_t n) {
            if (rest != n)
                throw Failure{std::string("usage:\n") + kAgendaUsage};
        };
        if (command == "list")
            expect(0);
        else if (command == "export")
            expect(2);
        else if (command == "add")
            expect(1);
        else if (command == "note")
            expect(2);
        else
            throw Failure{std::string("usage:\n") + kAgendaUsage};

        TAgenda agenda(folder);
        if (!agenda.isOpen()) {
            if (agenda.status().kind() == DbfStatus::Kind::InUse)
                throw Failure{"the agenda in " + folder +
                              " is in use by another program: close the viewer (it keeps the agenda open) and try "
                              "again"};
            throw Failure{"cannot open the agenda in " + folder + ": " + agenda.status().toString()};
        }
        agenda.SetEdition(TAgenda::kEdition);

        if (command == "list") {
            json j;
            j["folder"] = folder;
            j["edition"] = agenda.edition();
            j["directory_rows"] = agenda.directoryRows();
            json rows = json::array();
            for (const Contact& c : contacts(data, agenda))
                rows.push_back(rowJson(c));
            j["contacts"] = rows;
            out << j.dump(2) << '\n';
            return 0;
        }
        if (command == "export") {
            if (args[i] != "--vcard")
                throw Failure{std::string("usage:\n") + kAgendaUsage};
            std::ofstream file(args[i + 1], std::ios::binary | std::ios::trunc);
            const std::string cards = agendaVCards(data, agenda);
            file << cards;
            file.close();
            if (!file)
                throw Failure{"cannot write " + args[i + 1]};
            return 0;
        }
        const int32_t recno = parseNumber(args[i], "the record number");
        if (recno > data.store->RecordCount())
            throw Failure{"record " + std::to_string(recno) + " outside 1.." +
                          std::to_string(data.store->RecordCount())};
        std::string note;
        int32_t row = agenda.FindRecord(recno, note);
        if (command == "add") {
            // The window's add command and its limit.
            const int32_t remaining = TAgenda::kMaxDirectoryRows - agenda.directoryRows();
            if (row == 0 && remaining < 1)
                throw Failure{
                    cp1252::toUtf8("La cantidad de registros a agendar supera el m\xE1ximo permitido. Restan: ") +
                    std::to_string(remaining)};
            agenda.AddRecord(recno);
        } else {
            std::string text;
            if (!cp1252::fromUtf8(args[i + 1], text))
                throw Failure{"the note holds characters the agenda cannot keep (Windows-1252)"};
            TAgendaRecord r;
            r.row = row;
            r.recno = recno;
            r.note = text;
            if (row != 0 ? !agenda.RewriteRow(r) : agenda.AppendRow(r) == 0)
                throw Failure{"cannot write the agenda: " + agenda.status().toString()};
        }
        if (!agenda.status().isOk())
            throw Failure{"cannot write the agenda: " + agenda.status().toString()};
        row = agenda.FindRecord(recno, note);
        TAgendaRecord saved;
        agenda.readRow(row, saved);
        out << rowJson(contactOf(data, saved)).dump(2) << '\n';
        return 0;
    } catch (const Failure& f) {
        err << "ortelia-cli: " << f.text << (f.text.empty() || f.text.back() != '\n' ? "\n" : "");
        return 2;
    }
}
