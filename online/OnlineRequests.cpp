#include "online/OnlineRequests.h"

#include "ads/aviso.h"
#include "engine/QdData.h"
#include "online/UrlEncode.h"
#include "search/MarkedRecords.h"
#include "search/QdLocs.h"

#include <cstdio>

namespace {

// "(0" + area + ") " + prefix + "-" + the line as exactly four digits, also for area code 0.
std::string postedPhone(const registro& r)
{
    char line[8];
    std::snprintf(line, sizeof line, "%04d", static_cast<int>(((r.phoneLine % 10000) + 10000) % 10000));
    return "(0" + std::to_string(r.areaCode) + ") " + std::to_string(r.phonePrefix) + "-" + line;
}

void replaceFirst(std::string& text, std::string_view what, std::string_view with)
{
    const size_t at = text.find(what);
    if (at != std::string::npos)
        text.replace(at, what.size(), with);
}

} // namespace

OnlineRequests::OnlineRequests(QdData& store, const QdLocs& catalogs, aviso* ads, HttpClient& client,
                               std::string baseUrl)
    : m_store(store), m_catalogs(catalogs), m_ads(ads), m_client(client), m_baseUrl(std::move(baseUrl))
{}

std::vector<int32_t> OnlineRequests::chosen(int32_t n, const MarkedRecords& marks)
{
    std::vector<int32_t> out;
    if (n != 0) {
        out.push_back(n);
        return out;
    }
    for (int i = 0; i < MarkedRecords::kSlots; ++i)
        if (const int32_t slot = marks.at(i))
            out.push_back(slot);
    return out;
}

std::string OnlineRequests::ParValue(int32_t n)
{
    registro r;
    m_store.ReadRecord(r, n);
    std::string text;
    text.reserve(256);
    auto field = [&](std::string_view value) { text.append(value).push_back('|'); };
    field(r.name);
    field(r.address);
    field(postedPhone(r));
    field(m_catalogs.RubroName(r.rubroId));
    field(m_catalogs.LocalityName(r.localityId));
    field(m_catalogs.ProvinceName(m_catalogs.LocalityProvince(r.localityId)));
    field(r.web);
    field(r.mail);
    if (m_ads && m_ads->Read(r.adNumber)) {
        field(std::to_string(m_ads->kind()));
        field(std::to_string(m_ads->reference()));
        if (m_ads->kind() == 8) {
            std::string lines;
            for (const std::string& line : m_ads->lines())
                lines.append(line).append("]]");
            field(lines);
        }
    } else {
        text.append("||");
    }
    return UrlEncode(text);
}

std::string OnlineRequests::recommendBody(const RecommendFields& f, int32_t n, const MarkedRecords& marks)
{
    std::string body = "type=recomendar";
    body.append("&from=").append(UrlEncode(f.from));
    body.append("&fnombre=").append(UrlEncode(f.fromName));
    body.append("&to=").append(UrlEncode(f.to));
    body.append("&subject=").append(UrlEncode(f.subject));
    body.append("&nota=").append(UrlEncode(f.note));
    int k = 0;
    for (const int32_t record : chosen(n, marks))
        body.append("&par[").append(std::to_string(k++)).append("]=").append(ParValue(record));
    return body;
}

ContactTargets OnlineRequests::contactTargets(int32_t n, const MarkedRecords& marks)
{
    ContactTargets t;
    const bool single = n != 0;
    registro r;
    for (const int32_t record : chosen(n, marks)) {
        t.records += 1;
        r.Clear();
        m_store.ReadRecord(r, record);
        if (r.mail.empty())
            continue;
        t.withMail += 1;
        t.addresses.append(r.mail);
        if (!single)
            t.addresses.push_back(';');
        t.names.push_back(r.name);
    }
    return t;
}

std::string OnlineRequests::contactBody(const ContactFields& f, const ContactTargets& t)
{
    std::string body = "type=consulta";
    body.append("&from=").append(f.from);
    body.append("&nombre=").append(f.fromName);
    body.append("&to=").append(t.addresses);
    body.append("&subject=").append(f.subject);
    body.append("&nota=").append(f.note);
    return body;
}

std::string OnlineRequests::recommendSubject(std::string_view fromName)
{
    std::string subject = "Recomendaci\xF3n ";
    if (!fromName.empty())
        subject.append("de ").append(fromName).push_back(' ');
    return subject.append("enviada desde el cd de Ortelia");
}

std::string OnlineRequests::toNote(const ContactTargets& t)
{
    if (t.withMail == t.records)
        return {};
    std::string note(online::kToNote);
    replaceFirst(note, "{s0}", std::to_string(t.withMail));
    replaceFirst(note, "{s1}", std::to_string(t.records));
    return note;
}

std::optional<PostOutcome> OnlineRequests::Recommend(int32_t n, const MarkedRecords& marks, const AskRecommend& ask)
{
    const std::optional<RecommendFields> fields = ask();
    if (!fields)
        return std::nullopt;
    return PostForm(m_client, m_baseUrl, online::kRecommendScript, recommendBody(*fields, n, marks),
                    online::kRecommendCaption, ErrorText::Fixed);
}

std::optional<PostOutcome> OnlineRequests::Contact(int32_t n, const MarkedRecords& marks, const AskContact& ask)
{
    const ContactTargets targets = contactTargets(n, marks);
    if (targets.addresses.empty()) {
        PostOutcome none;
        none.stage = PostOutcome::Stage::NoAddress;
        none.caption = online::kNoMailCaption;
        none.text = online::kNoMail;
        return none;
    }
    const std::optional<ContactFields> fields = ask(targets);
    if (!fields)
        return std::nullopt;
    return PostForm(m_client, m_baseUrl, online::kContactScript, contactBody(*fields, targets), online::kContactCaption,
                    ErrorText::Server);
}
