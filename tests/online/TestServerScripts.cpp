// The requests end to end against the server scripts run by PHP's built-in web server: what the
// scripts spool must be what the program built, byte for byte; their refusals must reach the user
// as the program's messages; ot_image.php must serve the pictures of its "Img.bld".
#include "builder/PictureFileWriter.h"
#include "engine/Cp1252.h"
#include "online/CurlHttpClient.h"
#include "online/OnlineRequests.h"
#include "online/SealText.h"
#include "online/UrlEncode.h"
#include "search/MarkedRecords.h"
#include "tests/support/LocalServers.h"
#include "tests/support/SampleDataSet.h"
#include "tools/CliDataSet.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <random>

using localservers::PhpServer;

namespace {

std::string base64Decode(const std::string& s)
{
    // The spool's base64 is plain RFC 4648: unseal's decoder without the key is not at hand, so decode here.
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    uint32_t w = 0;
    int bits = 0;
    for (const char c : s) {
        const size_t v = alphabet.find(c);
        if (v == std::string::npos)
            break;
        w = (w << 6) | static_cast<uint32_t>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<char>((w >> bits) & 0xFF));
        }
    }
    return out;
}

// A spooled UTF-8 text back in the program's Windows-1252.
std::string data(const nlohmann::json& utf8)
{
    std::string out;
    EXPECT_TRUE(cp1252::fromUtf8(utf8.get<std::string>(), out)) << utf8;
    return out;
}

class ServerScripts : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!PhpServer::available())
            return;
        s_dir = new TempDir("online-server");
        s_sample = new SampleDataSet;
        std::string why;
        ASSERT_TRUE(s_sample->make(800, 16, &why)) << why;
        s_data = new CliDataSet;
        ASSERT_TRUE(s_data->open(s_sample->folder()));
        s_spool = *s_dir / "spool/requests.jsonl";
        s_images = *s_dir / "Img.bld";
        s_server = new PhpServer(ORTELIA_SERVER_DIR, {"ORTELIA_SPOOL=" + s_spool, "ORTELIA_IMAGES=" + s_images});
    }
    static void TearDownTestSuite()
    {
        delete s_server;
        delete s_data;
        delete s_sample;
        delete s_dir;
    }
    void SetUp() override
    {
        if (!PhpServer::available())
            GTEST_SKIP() << "php is not installed (Debian package php-cli): the server scripts cannot run";
        ASSERT_TRUE(s_server->ready()) << "PHP's built-in server did not answer";
        m_requests = std::make_unique<OnlineRequests>(*s_data->store, s_data->catalogs(), s_data->ads.get(), m_client,
                                                      s_server->base());
    }

    // The last line of the spool.
    static nlohmann::json lastSpooled()
    {
        std::ifstream in(s_spool);
        std::string line, last;
        while (std::getline(in, line))
            last = line;
        return last.empty() ? nlohmann::json() : nlohmann::json::parse(last);
    }
    // The body the server unsealed, as the program built it after "Date=...&".
    static std::string spooledBody(const nlohmann::json& entry)
    {
        const std::string raw = base64Decode(entry.at("body").get<std::string>());
        const std::string date = "Date=" + data(entry.at("date")) + "&";
        EXPECT_EQ(raw.substr(0, date.size()), date);
        return raw.substr(std::min(raw.size(), date.size()));
    }
    // Records of the sample matching a test, in record order.
    static std::vector<int32_t> recordsWhere(const std::function<bool(const registro&)>& pick, size_t count)
    {
        std::vector<int32_t> out;
        registro r;
        for (int32_t n = 1; n <= s_data->store->RecordCount() && out.size() < count; ++n) {
            r.Clear();
            if (s_data->store->ReadRecord(r, n) && pick(r))
                out.push_back(n);
        }
        return out;
    }

    static TempDir* s_dir;
    static SampleDataSet* s_sample;
    static CliDataSet* s_data;
    static PhpServer* s_server;
    static std::string s_spool;
    static std::string s_images;
    CurlHttpClient m_client;
    std::unique_ptr<OnlineRequests> m_requests;
};

TempDir* ServerScripts::s_dir = nullptr;
SampleDataSet* ServerScripts::s_sample = nullptr;
CliDataSet* ServerScripts::s_data = nullptr;
PhpServer* ServerScripts::s_server = nullptr;
std::string ServerScripts::s_spool;
std::string ServerScripts::s_images;

} // namespace

TEST_F(ServerScripts, RecommendationOf200RecordsArrivesByteForByte)
{
    MarkedRecords marks;
    for (int32_t n = 1; n <= 200; ++n)
        marks.AddMarked(n * 3);
    RecommendFields fields;
    fields.from = "ana@example.org";
    fields.fromName = "Ana N\xFA\xF1"
                      "ez";
    fields.to = "amigo@example.net";
    fields.subject = "Recomendaci\xF3n de Ana N\xFA\xF1"
                     "ez enviada desde el cd de Ortelia";
    fields.note = "L\xEDnea uno & m\xE1s = 100% 'seguro'\r\n\xBFQu\xE9 tal? <b>#1</b> + $2\r\n";
    bool asked = false;
    const auto out = m_requests->Recommend(0, marks, [&] {
        asked = true;
        return std::optional(fields);
    });
    ASSERT_TRUE(asked);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(out->stage, PostOutcome::Stage::Delivered) << out->text << out->failure;
    EXPECT_EQ(out->caption, "Recomendar");
    EXPECT_EQ(out->text, "MENSAJE ENVIADO");

    const nlohmann::json entry = lastSpooled();
    EXPECT_EQ(spooledBody(entry), m_requests->recommendBody(fields, 0, marks));
    EXPECT_EQ(data(entry["note"]), fields.note);
    EXPECT_EQ(data(entry["from_name"]), fields.fromName);
    EXPECT_EQ(data(entry["subject"]), fields.subject);
    // The server's own reading of every record agrees with the record store.
    ASSERT_EQ(entry["records"].size(), 200u);
    for (int i = 0; i < 200; ++i) {
        registro r;
        ASSERT_TRUE(s_data->store->ReadRecord(r, marks.at(i)));
        const nlohmann::json& got = entry["records"][static_cast<size_t>(i)];
        EXPECT_EQ(data(got["name"]), r.name) << i;
        EXPECT_EQ(data(got["address"]), r.address) << i;
        EXPECT_EQ(data(got["mail"]), r.mail) << i;
        EXPECT_EQ(data(got["locality"]), s_data->catalogs().LocalityName(r.localityId)) << i;
    }
}

TEST_F(ServerScripts, ParValueCarriesTheAdsOfKinds8And0)
{
    aviso& ads = *s_data->ads;
    auto adKind = [&](int kind) {
        return [&ads, kind](const registro& r) { return ads.Read(r.adNumber) && ads.kind() == kind; };
    };
    const std::vector<int32_t> kind8 = recordsWhere(adKind(8), 1);
    const std::vector<int32_t> kind0 = recordsWhere(adKind(0), 1);
    const std::vector<int32_t> none = recordsWhere([](const registro& r) { return r.adNumber == 0; }, 1);
    ASSERT_EQ(kind8.size() + kind0.size() + none.size(), 3u);

    registro r;
    ASSERT_TRUE(s_data->store->ReadRecord(r, kind8[0]));
    ASSERT_TRUE(ads.Read(r.adNumber));
    ASSERT_GE(ads.lines().size(), 2u);
    const std::vector<std::string> lines8 = ads.lines();
    std::string lines;
    for (const std::string& l : lines8)
        lines += l + "]]";
    const std::string tail8 = UrlEncode("8|" + std::to_string(ads.reference()) + "|" + lines + "|");
    const std::string text8 = m_requests->ParValue(kind8[0]);
    ASSERT_GE(text8.size(), tail8.size());
    EXPECT_EQ(text8.substr(text8.size() - tail8.size()), tail8);
    EXPECT_EQ(text8.substr(0, UrlEncode(r.name + "|").size()), UrlEncode(r.name + "|"));

    ASSERT_TRUE(s_data->store->ReadRecord(r, kind0[0]));
    ASSERT_TRUE(ads.Read(r.adNumber));
    const int32_t reference0 = ads.reference();
    const std::string text0 = PercentDecode(m_requests->ParValue(kind0[0]));
    const std::string tail0 = "|0|" + std::to_string(reference0) + "|";
    EXPECT_EQ(text0.substr(text0.size() - tail0.size()), tail0);
    EXPECT_EQ(std::count(text0.begin(), text0.end(), '|'), 10);
    const std::string textNone = PercentDecode(m_requests->ParValue(none[0]));
    EXPECT_EQ(textNone.substr(textNone.size() - 3), "|||");
    EXPECT_EQ(std::count(textNone.begin(), textNone.end(), '|'), 10);

    // The server reads the three as three records: lines only for kind 8, no ad for the last.
    MarkedRecords marks;
    marks.AddMarked(kind8[0]);
    marks.AddMarked(kind0[0]);
    marks.AddMarked(none[0]);
    const auto out = m_requests->Recommend(0, marks, [] {
        RecommendFields f;
        f.to = "amigo@example.net";
        return std::optional(f);
    });
    ASSERT_TRUE(out && out->stage == PostOutcome::Stage::Delivered) << (out ? out->text : "");
    const nlohmann::json records = lastSpooled()["records"];
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0]["ad_kind"], 8);
    ASSERT_EQ(records[0]["ad_lines"].size(), lines8.size());
    for (size_t i = 0; i < lines8.size(); ++i)
        EXPECT_EQ(data(records[0]["ad_lines"][i]), lines8[i]);
    EXPECT_EQ(records[1]["ad_kind"], 0);
    EXPECT_EQ(records[1]["ad_reference"], reference0);
    EXPECT_FALSE(records[1].contains("ad_lines"));
    EXPECT_TRUE(records[2]["ad_kind"].is_null());
}

TEST_F(ServerScripts, ContactGoesToTheOneRecordOfThreeWithMail)
{
    const std::vector<int32_t> withMail = recordsWhere([](const registro& r) { return !r.mail.empty(); }, 1);
    const std::vector<int32_t> without = recordsWhere([](const registro& r) { return r.mail.empty(); }, 2);
    ASSERT_EQ(withMail.size() + without.size(), 3u);
    registro r;
    ASSERT_TRUE(s_data->store->ReadRecord(r, withMail[0]));

    MarkedRecords marks;
    marks.AddMarked(without[0]);
    marks.AddMarked(withMail[0]);
    marks.AddMarked(without[1]);
    std::optional<ContactTargets> seen;
    const auto out = m_requests->Contact(0, marks, [&](const ContactTargets& t) {
        seen = t;
        ContactFields f;
        f.from = "ana@example.org";
        f.fromName = "Ana";
        f.subject = "Consulta enviada desde el cd de Ortelia";
        f.note = "\xBFTienen stock?\r\nGracias";
        return std::optional(f);
    });
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->records, 3);
    EXPECT_EQ(seen->withMail, 1);
    EXPECT_EQ(seen->names, std::vector<std::string>{r.name});
    EXPECT_EQ(OnlineRequests::toNote(*seen),
              "Solo 1 de los 3 registros seleccionados tienen direcci\xF3n de mail registrada.");
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(out->stage, PostOutcome::Stage::Delivered) << out->text;
    EXPECT_EQ(out->caption, "Contactar");
    EXPECT_EQ(out->text, "CONSULTA ENVIADA");
    const nlohmann::json entry = lastSpooled();
    EXPECT_NE(spooledBody(entry).find("&to=" + r.mail + ";&subject="), std::string::npos);
    EXPECT_EQ(entry["to"], nlohmann::json::array({cp1252::toUtf8(r.mail)}));
    EXPECT_EQ(data(entry["note"]), "\xBFTienen stock?\r\nGracias");

    // One record: its address alone, no ";". A record without mail: the message, no dialog.
    const ContactTargets single = m_requests->contactTargets(withMail[0], marks);
    EXPECT_EQ(single.addresses, r.mail);
    EXPECT_TRUE(OnlineRequests::toNote(single).empty());
    bool asked = false;
    const auto refused = m_requests->Contact(without[0], marks, [&](const ContactTargets&) {
        asked = true;
        return std::optional(ContactFields{});
    });
    EXPECT_FALSE(asked);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->stage, PostOutcome::Stage::NoAddress);
    EXPECT_EQ(refused->caption, "Atenci\xF3n");
    EXPECT_EQ(refused->text, "No ha seleccionado ning\xFAn registro con direcci\xF3n de mail.");
}

TEST_F(ServerScripts, AmpersandsTypedInAContactRequest)
{
    const ContactTargets to{1, 1, "ventas@example.com", {"X"}};
    // In the comment (the last field) a "&" is the user's: the comment arrives whole.
    ContactFields f;
    f.fromName = "Ana";
    f.note = "precio & env\xEDo=gratis&to=otro@example.com";
    const PostOutcome out = PostForm(m_client, s_server->base(), online::kContactScript,
                                     OnlineRequests::contactBody(f, to), "Contactar", ErrorText::Server);
    ASSERT_EQ(out.stage, PostOutcome::Stage::Delivered) << out.text;
    const nlohmann::json entry = lastSpooled();
    EXPECT_EQ(data(entry["note"]), f.note);
    EXPECT_EQ(entry["to"], nlohmann::json::array({"ventas@example.com"}));
    EXPECT_EQ(spooledBody(entry), OnlineRequests::contactBody(f, to));

    // In an earlier field it could pass for the program's own: a field named twice is refused.
    f.fromName = "Ana&to=otro@example.com";
    const PostOutcome injected = PostForm(m_client, s_server->base(), online::kContactScript,
                                          OnlineRequests::contactBody(f, to), "Contactar", ErrorText::Server);
    EXPECT_EQ(injected.stage, PostOutcome::Stage::Refused);
    EXPECT_EQ(injected.text, "Error #3\nSOLICITUD MAL FORMADA");
}

TEST_F(ServerScripts, RefusalsReachTheUserAsTheProgramsMessages)
{
    MarkedRecords none;
    const auto noRecords = m_requests->Recommend(0, none, [] {
        RecommendFields f;
        f.to = "amigo@example.net";
        return std::optional(f);
    });
    ASSERT_TRUE(noRecords.has_value());
    EXPECT_EQ(noRecords->text, "Error #5\n" + std::string(online::kFixedError));
    const auto badRecipient = m_requests->Recommend(3, none, [] {
        RecommendFields f;
        f.to = "amigo en example.net";
        return std::optional(f);
    });
    ASSERT_TRUE(badRecipient.has_value());
    EXPECT_EQ(badRecipient->text, "Error #4\n" + std::string(online::kFixedError));

    const PostOutcome badMail = PostForm(m_client, s_server->base(), online::kContactScript,
                                         "type=consulta&to=a@b.ar;sin arroba;&nota=x", "Contactar", ErrorText::Server);
    EXPECT_EQ(badMail.text, "Error #7\nMAIL INV\xC1LIDO: SIN ARROBA");
    EXPECT_FALSE(m_requests->Recommend(0, none, [] { return std::optional<RecommendFields>(); }).has_value());
}

TEST_F(ServerScripts, AnyBytesSealedHereAreUnsealedThereByteForByte)
{
    std::mt19937 rng(1616);
    for (int round = 0; round < 24; ++round) {
        std::string note(rng() % (round < 4 ? 12 : 5000), '\0');
        for (char& c : note)
            c = static_cast<char>(rng() & 0xFF);
        const std::string body = "type=consulta&to=a@example.com&nota=" + note;
        const PostOutcome out =
            PostForm(m_client, s_server->base(), online::kContactScript, body, "Contactar", ErrorText::Server);
        ASSERT_EQ(out.stage, PostOutcome::Stage::Delivered) << round << out.text;
        ASSERT_EQ(spooledBody(lastSpooled()), body) << round;
    }
}

TEST_F(ServerScripts, ImageScriptServesThePicturesOfItsFile)
{
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (int i = 0; i < 5000; ++i)
        png.push_back(static_cast<uint8_t>(i * 7));
    std::vector<uint8_t> file;
    ASSERT_TRUE(picturefile::build({{3, png}, {70005, png}}, file));
    std::ofstream(s_images, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    auto get = [](int64_t reference) {
        char text[32];
        std::snprintf(text, sizeof text, "iid=%016lld", static_cast<long long>(reference));
        return localservers::httpGet(s_server->port(), "/ot_image.php?p=" + UrlEncode(SealText(text)));
    };
    const auto [status, body] = get(70005);
    EXPECT_EQ(status, 200);
    EXPECT_EQ(body, std::string(png.begin(), png.end()));
    EXPECT_EQ(get(3).first, 200);
    EXPECT_EQ(get(4).first, 404);
    EXPECT_EQ(get(70006).first, 404);
    EXPECT_EQ(get(-1).first, 404);
    EXPECT_EQ(localservers::httpGet(s_server->port(), "/ot_image.php?p=" + UrlEncode(SealText("iid=abc"))).first, 404);
    EXPECT_EQ(localservers::httpGet(s_server->port(), "/ot_image.php?p=%%%").first, 404);
}
