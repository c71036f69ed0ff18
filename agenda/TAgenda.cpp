#include "agenda/TAgenda.h"

#include "agenda/DbfLayout.h"
#include "engine/Cp1252.h"

#include <algorithm>

namespace {

const std::vector<DbfField>& agendaFields()
{
    static const std::vector<DbfField> fields = {
        {"recno", 'I', 4, 0, 0},    {"dbver", 'I', 4, 0, 0},    {"figurac", 'C', 80, 0, 0}, {"domicil", 'C', 80, 0, 0},
        {"telefon", 'C', 30, 0, 0}, {"localid", 'C', 40, 0, 0}, {"provinc", 'C', 40, 0, 0}, {"web", 'C', 60, 0, 0},
        {"mail", 'C', 60, 0, 0},    {"note", 'M', 10, 0, 0}};
    return fields;
}

std::string trimmed(std::string_view text)
{
    return std::string(cp1252::trim(text));
}

} // namespace

TAgenda::TAgenda(std::string directory, std::string tableName)
{
    const size_t slash = tableName.find_last_of('/');
    const size_t dot = tableName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        tableName += ".dbf";
    m_path = directory + tableName;
    openOrCreate();
    SetEdition(0);
    SetViewFilter("");
    CountDirectoryRows();
}

TAgenda::~TAgenda() = default;

void TAgenda::openOrCreate()
{
    std::unique_ptr<DbfTable> table;
    DbfStatus s = DbfTable::open(m_path, table);
    // Only a missing table is created: anything else (in use, damaged, unreadable) may hold the
    // user's contacts and is left alone.
    if (s.kind() == DbfStatus::Kind::Missing) {
        s = DbfTable::create(m_path, agendaFields());
        if (s.isOk())
            s = DbfTable::open(m_path, table);
    }
    if (s.isOk() && table->needsPack())
        s = table->pack();
    if (s.isOk()) {
        const DbfHeader& h = table->header();
        auto field = [&h, &s](const char* name, char type) {
            const int i = h.fieldIndex(name);
            if (i < 0 || h.fields()[static_cast<size_t>(i)].type != type) {
                if (s.isOk())
                    s = DbfStatus::damaged(std::string("the table has no ") + type + " field " + name);
                return -1;
            }
            return i;
        };
        m_f = {field("recno", 'I'),   field("dbver", 'I'),   field("figurac", 'C'), field("domicil", 'C'),
               field("telefon", 'C'), field("localid", 'C'), field("provinc", 'C'), field("web", 'C'),
               field("mail", 'C'),    field("note", 'M')};
    }
    m_status = s;
    if (!s.isOk())
        return;
    m_table = std::move(table);
    rebuildCache();
}

uint64_t TAgenda::key(int32_t recno, int32_t edition)
{
    return (static_cast<uint64_t>(static_cast<uint32_t>(recno)) << 32) | static_cast<uint32_t>(edition);
}

void TAgenda::rebuildCache()
{
    m_rows.assign(static_cast<size_t>(m_table->rowCount()), RowKeys{});
    m_index.clear();
    for (int32_t row = 1; row <= m_table->rowCount(); ++row) {
        RowKeys& k = m_rows[static_cast<size_t>(row - 1)];
        if (m_table->isDeleted(row))
            continue;
        const DbfRecord r = m_table->record(row);
        k.live = true;
        k.recno = r.integer(m_f.recno).value_or(0);
        k.edition = r.integer(m_f.dbver).value_or(0);
        // A memo that cannot be read counts as no note; the row itself stays.
        if (!m_table->readMemo(r, m_f.note, k.note).isOk())
            k.note.clear();
        m_index[key(k.recno, k.edition)].push_back(row);
    }
}

void TAgenda::indexAdd(int32_t row)
{
    const RowKeys& k = m_rows[static_cast<size_t>(row - 1)];
    std::vector<int32_t>& rows = m_index[key(k.recno, k.edition)];
    rows.insert(std::upper_bound(rows.begin(), rows.end(), row), row);
}

void TAgenda::indexRemove(int32_t row)
{
    const RowKeys& k = m_rows[static_cast<size_t>(row - 1)];
    const auto it = m_index.find(key(k.recno, k.edition));
    if (it == m_index.end())
        return;
    std::erase(it->second, row);
    if (it->second.empty())
        m_index.erase(it);
}

int32_t TAgenda::indexFirst(int32_t recno, int32_t edition) const
{
    const auto it = m_index.find(key(recno, edition));
    return it == m_index.end() || it->second.empty() ? 0 : it->second.front();
}

const std::string& TAgenda::viewFilterText() const
{
    return m_filter.text();
}

std::string TAgenda::filterFor(const std::string& text) const
{
    const std::string e = std::to_string(m_edition);
    const std::string t(cp1252::trim(text));
    if (t.empty())
        return "dbver = " + e + " or recno = 0";
    return "dbver = " + e + " or (figurac >= \"" + t + " \" and  figurac <= \"" + t + "Z\")";
}

void TAgenda::compileFilter(const std::string& expression)
{
    DbfFilter f;
    m_filterValid = DbfFilter::compile(expression, m_table->header(), f).isOk();
    // A text the expression language cannot hold (a quote in the search text) shows no row
    // rather than every row.
    m_filter = std::move(f);
}

void TAgenda::SetEdition(int32_t edition)
{
    if (!isOpen())
        return;
    m_edition = edition;
    SetViewFilter("");
    CountDirectoryRows();
}

void TAgenda::SetViewFilter(const std::string& text)
{
    if (!isOpen())
        return;
    m_viewText = text;
    compileFilter(filterFor(text));
}

int32_t TAgenda::CountDirectoryRows()
{
    if (!isOpen())
        return 0;
    const std::string previous = m_viewText;
    SetViewFilter(kDirectoryOnly);
    int32_t count = 0;
    forEachRow([&count](const TAgendaRecord& r) {
        if (r.recno != 0)
            ++count;
    });
    SetViewFilter(previous);
    m_directoryRows = count;
    return count;
}

void TAgenda::AddRecord(int32_t recno)
{
    if (!isOpen() || indexFirst(recno, m_edition) != 0)
        return;
    TAgendaRecord r;
    r.recno = recno;
    AppendRow(r);
}

int32_t TAgenda::AppendRow(const TAgendaRecord& record)
{
    if (!isOpen())
        return 0;
    DbfRecord r = m_table->blankRecord();
    const bool directory = record.recno != 0;
    const int32_t edition = directory ? m_edition : 0;
    r.setInteger(m_f.recno, record.recno);
    r.setInteger(m_f.dbver, edition);
    if (!directory) {
        setTexts(r, record);
    }
    // The note is kept trimmed: a note of blanks is no note, here and in every note mark.
    const std::string note = trimmed(record.note);
    if (!note.empty())
        r.setMemo(m_f.note, note);
    int32_t row = 0;
    m_status = m_table->append(r, row);
    if (!m_status.isOk())
        return 0;
    m_rows.push_back(RowKeys{record.recno, edition, true, note});
    indexAdd(row);
    if (directory)
        ++m_directoryRows;
    return row;
}

void TAgenda::setTexts(DbfRecord& r, const TAgendaRecord& record) const
{
    r.setCharacter(m_f.name, record.name);
    r.setCharacter(m_f.address, record.address);
    r.setCharacter(m_f.phone, record.phone);
    r.setCharacter(m_f.locality, record.locality);
    r.setCharacter(m_f.province, record.province);
    r.setCharacter(m_f.web, record.web);
    r.setCharacter(m_f.mail, record.mail);
}

bool TAgenda::RewriteRow(const TAgendaRecord& record)
{
    if (!isOpen() || record.row < 1 || record.row > m_table->rowCount() ||
        !m_rows[static_cast<size_t>(record.row - 1)].live)
        return false;
    RowKeys& k = m_rows[static_cast<size_t>(record.row - 1)];
    DbfRecord r = m_table->record(record.row);
    const bool typedIn = k.recno == 0;
    if (typedIn) {
        r.setInteger(m_f.dbver, 0);
        setTexts(r, record);
    }
    const std::string note = trimmed(record.note);
    const bool noteChanged = note != trimmed(k.note);
    if (noteChanged)
        r.setMemo(m_f.note, note);
    m_status = m_table->post(record.row, r);
    if (!m_status.isOk())
        return false;
    if (typedIn && k.edition != 0) {
        indexRemove(record.row);
        k.edition = 0;
        indexAdd(record.row);
    }
    if (noteChanged)
        k.note = note;
    return true;
}

int32_t TAgenda::DeleteRow(int32_t row)
{
    if (!isOpen() || row < 1 || row > m_table->rowCount() || !m_rows[static_cast<size_t>(row - 1)].live)
        return 0;
    RowKeys& k = m_rows[static_cast<size_t>(row - 1)];
    m_status = m_table->markDeleted(row);
    if (!m_status.isOk())
        return 0;
    indexRemove(row);
    k.live = false;
    // Only rows of the current edition are in the count.
    if (k.recno != 0 && k.edition == m_edition)
        --m_directoryRows;
    return k.recno;
}

int32_t TAgenda::FindRecord(int32_t recno, std::string& note) const
{
    note.clear();
    if (!isOpen() || recno == 0)
        return 0;
    const int32_t row = indexFirst(recno, m_edition);
    if (row != 0)
        note = m_rows[static_cast<size_t>(row - 1)].note;
    return row;
}

void TAgenda::fillRecord(int32_t row, TAgendaRecord& out) const
{
    const DbfRecord r = m_table->record(row);
    const RowKeys& k = m_rows[static_cast<size_t>(row - 1)];
    out.row = row;
    out.recno = k.recno;
    out.edition = k.edition;
    out.name = r.character(m_f.name);
    out.address = r.character(m_f.address);
    out.phone = r.character(m_f.phone);
    out.locality = r.character(m_f.locality);
    out.province = r.character(m_f.province);
    out.web = r.character(m_f.web);
    out.mail = r.character(m_f.mail);
    out.note = k.note;
}

void TAgenda::forEachRow(const std::function<void(const TAgendaRecord&)>& visit) const
{
    if (!isOpen() || !m_filterValid)
        return;
    TAgendaRecord out;
    for (int32_t row = 1; row <= m_table->rowCount(); ++row) {
        if (!m_rows[static_cast<size_t>(row - 1)].live || !m_filter.passes(m_table->record(row)))
            continue;
        fillRecord(row, out);
        visit(out);
    }
}

bool TAgenda::readRow(int32_t row, TAgendaRecord& out) const
{
    if (!isOpen() || row < 1 || row > m_table->rowCount() || !m_rows[static_cast<size_t>(row - 1)].live)
        return false;
    fillRecord(row, out);
    return true;
}

void TAgenda::forEachNotedRecord(const std::function<void(int32_t recno)>& visit) const
{
    if (!isOpen())
        return;
    DbfFilter directoryOnly;
    const std::string expression = filterFor(kDirectoryOnly);
    if (!DbfFilter::compile(expression, m_table->header(), directoryOnly).isOk())
        return;
    for (int32_t row = 1; row <= m_table->rowCount(); ++row) {
        const RowKeys& k = m_rows[static_cast<size_t>(row - 1)];
        if (k.live && k.recno != 0 && !cp1252::trim(k.note).empty() && directoryOnly.passes(m_table->record(row)))
            visit(k.recno);
    }
}
