// PostForm against socket servers that answer exactly as told: the bytes of both requests, every
// outcome message, servers that answer with something else, nothing at all, or without end.
#include "online/CurlHttpClient.h"
#include "online/PostForm.h"
#include "online/SealText.h"
#include "online/UrlEncode.h"
#include "tests/support/LocalServers.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

using localservers::ScriptedServer;

namespace {

const std::string kHtmlHead =
    ScriptedServer::reply({"Content-Type: text/html; charset=UTF-8", "Date: Wed, 09 Dec 2026 10:00:00 gmt"});

std::string answer(const std::string& number, const std::string& text)
{
    std::vector<std::string> h = {"Content-Type: text/html"};
    if (!number.empty())
        h.push_back("Error-Number: " + number);
    h.push_back("Error-String: " + text);
    return ScriptedServer::reply(h, "<html></html>");
}

// Short time-outs so that the silent servers end the test quickly.
CurlHttpClient::Limits quick()
{
    CurlHttpClient::Limits l;
    l.connectTimeoutMs = 2000;
    l.requestTimeoutMs = 400;
    return l;
}

std::string header(const std::string& request, const std::string& name)
{
    const size_t at = request.find("\r\n" + name + ": ");
    if (at == std::string::npos)
        return "<absent>";
    const size_t from = at + name.size() + 4;
    return request.substr(from, request.find("\r\n", from) - from);
}

} // namespace

TEST(PostForm, SendsAHeadThenOneSealedFieldOverHttp10)
{
    ScriptedServer server({kHtmlHead, answer("0", "mensaje enviado")});
    CurlHttpClient client;
    const std::string body = "type=consulta&from=a@b.ar&nota=Se\xF1or & 100% 'x'\r\nfin";
    const PostOutcome out = PostForm(client, server.base(), "ot_contact.php", body, "Contactar", ErrorText::Server);
    EXPECT_EQ(out.stage, PostOutcome::Stage::Delivered);
    EXPECT_EQ(out.caption, "Contactar");
    EXPECT_EQ(out.text, "MENSAJE ENVIADO");

    const std::vector<std::string> requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].substr(0, requests[0].find("\r\n")), "HEAD /ot_contact.php HTTP/1.0");
    EXPECT_EQ(header(requests[0], "Content-Length"), "<absent>");
    const std::string& post = requests[1];
    EXPECT_EQ(post.substr(0, post.find("\r\n")), "POST /ot_contact.php HTTP/1.0");
    EXPECT_EQ(header(post, "Content-Type"), "application/x-www-form-urlencoded");
    const std::string payload = post.substr(post.find("\r\n\r\n") + 4);
    // The length counts the whole payload, "p=" included.
    EXPECT_EQ(header(post, "Content-Length"), std::to_string(payload.size()));
    EXPECT_EQ(payload, out.payload);
    ASSERT_EQ(payload.substr(0, 2), "p=");
    EXPECT_EQ(payload.find_first_of("+/=", 2), std::string::npos);
    // The server reads back the date of its own HEAD answer, upper-cased, and the body byte for byte.
    EXPECT_EQ(UnsealText(PercentDecode(payload.substr(2))), "Date=WED, 09 DEC 2026 10:00:00 GMT&" + body);
}

TEST(PostForm, TurnsEachAnswerIntoItsMessage)
{
    struct Case {
        std::string headType;
        std::string reply;
        ErrorText choice;
        PostOutcome::Stage stage;
        std::string text;
    };
    const std::string fixed(online::kFixedError);
    const std::vector<Case> cases = {
        {"TEXT/html;charset=windows-1252", answer("0", "mensaje enviado"), ErrorText::Fixed,
         PostOutcome::Stage::Delivered, "MENSAJE ENVIADO"},
        {"text/html", answer("7", "mail invalido"), ErrorText::Server, PostOutcome::Stage::Refused,
         "Error #7\nMAIL INVALIDO"},
        {"text/html", answer("7", "mail invalido"), ErrorText::Fixed, PostOutcome::Stage::Refused,
         "Error #7\n" + fixed},
        {"text/html", answer("", "mensaje enviado"), ErrorText::Server, PostOutcome::Stage::NotSent,
         std::string(online::kNotSent)},
        {"text/html", ScriptedServer::reply({"Content-Type: text/html"}), ErrorText::Fixed, PostOutcome::Stage::NotSent,
         std::string(online::kNotSent)},
        {"text/html", answer("siete", "mail \xE1nimo"), ErrorText::Fixed, PostOutcome::Stage::Refused, "MAIL \xC1NIMO"},
        {"text/html", answer("-2", "x"), ErrorText::Server, PostOutcome::Stage::Refused, "Error #-2\nX"},
    };
    for (const Case& c : cases) {
        ScriptedServer server({ScriptedServer::reply({"Content-Type: " + c.headType}), c.reply});
        CurlHttpClient client;
        const PostOutcome out = PostForm(client, server.base(), "ot_recommend.php", "type=x", "Recomendar", c.choice);
        EXPECT_EQ(out.stage, c.stage) << c.reply;
        EXPECT_EQ(out.text, c.text) << c.reply;
        EXPECT_EQ(out.caption, "Recomendar");
    }
}

TEST(PostForm, PostsNothingWhenTheHeadIsNotAnHtmlAnswer)
{
    const std::string noServer(online::kNoServer);
    {
        ScriptedServer server({ScriptedServer::reply({"Content-Type: image/png"}, "\x89PNG")});
        CurlHttpClient client;
        const PostOutcome out = PostForm(client, server.base(), "ot_contact.php", "x", "Contactar", ErrorText::Server);
        EXPECT_EQ(out.stage, PostOutcome::Stage::NoServer);
        EXPECT_EQ(out.caption, "Recomendar");
        EXPECT_EQ(out.text, noServer + "\n\nurl:" + server.base() + "ot_contact.php\nret:IMAGE/PNG");
        EXPECT_EQ(server.requests().size(), 1u);
        EXPECT_TRUE(out.payload.empty());
    }
    {
        ScriptedServer server({ScriptedServer::reply({"X-Other: 1"})});
        CurlHttpClient client;
        const PostOutcome out = PostForm(client, server.base(), "a.php", "x", "Contactar", ErrorText::Server);
        EXPECT_EQ(out.text, noServer + "\n\nurl:" + server.base() + "a.php\nret:");
        EXPECT_EQ(server.requests().size(), 1u);
    }
    {
        // Nothing listening on the port.
        uint16_t port = 0;
        ::close(localservers::listenLocal(port));
        CurlHttpClient client(quick());
        const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/";
        const PostOutcome out = PostForm(client, base, "a.php", "x", "Contactar", ErrorText::Server);
        EXPECT_EQ(out.stage, PostOutcome::Stage::NoServer);
        EXPECT_EQ(out.text, noServer + "\n\nurl:" + base + "a.php\nret:");
        EXPECT_FALSE(out.failure.empty());
    }
    {
        // A header of absurd size is not buffered: the answer counts as none.
        ScriptedServer server(
            {ScriptedServer::reply({"Content-Type: text/html", "X-Big: " + std::string(200000, 'a')})});
        CurlHttpClient client;
        const PostOutcome out = PostForm(client, server.base(), "a.php", "x", "Contactar", ErrorText::Server);
        EXPECT_EQ(out.stage, PostOutcome::Stage::NoServer);
        EXPECT_EQ(server.requests().size(), 1u);
    }
}

TEST(PostForm, ServersThatNeverAnswerAreNoAnswerAfterTheTimeOut)
{
    {
        ScriptedServer server({std::nullopt});
        CurlHttpClient client(quick());
        const auto start = std::chrono::steady_clock::now();
        const PostOutcome out = PostForm(client, server.base(), "a.php", "x", "Contactar", ErrorText::Server);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        RecordProperty("silent_head_ms", static_cast<int>(ms.count()));
        std::printf("silent HEAD given up after %lld ms (time-out %ld ms)\n", static_cast<long long>(ms.count()),
                    quick().requestTimeoutMs);
        EXPECT_EQ(out.stage, PostOutcome::Stage::NoServer);
        EXPECT_NE(out.failure.find("imed out"), std::string::npos) << out.failure;
    }
    {
        // The HEAD is answered, the POST never: the message is not sent.
        ScriptedServer server({kHtmlHead, std::nullopt});
        CurlHttpClient client(quick());
        const PostOutcome out = PostForm(client, server.base(), "a.php", "x", "Contactar", ErrorText::Server);
        EXPECT_EQ(out.stage, PostOutcome::Stage::NotSent);
        EXPECT_EQ(out.text, online::kNotSent);
    }
    {
        // An answer whose body runs on: the body is cut off, the header fields already read count.
        ScriptedServer server({kHtmlHead, answer("0", "ok") + std::string(3 * 1024 * 1024, 'x')});
        CurlHttpClient::Limits l;
        l.maxBodyBytes = 64 * 1024;
        CurlHttpClient client(l);
        const PostOutcome out = PostForm(client, server.base(), "a.php", "x", "Contactar", ErrorText::Server);
        EXPECT_EQ(out.stage, PostOutcome::Stage::Delivered);
        EXPECT_EQ(out.text, "OK");
    }
}

TEST(PostForm, RefusesOtherSchemesAndUncheckedCertificates)
{
    CurlHttpClient client(quick());
    for (const char* base : {"file:///etc/", "ftp://127.0.0.1/"}) {
        const PostOutcome out = PostForm(client, base, "passwd", "x", "Contactar", ErrorText::Server);
        EXPECT_EQ(out.stage, PostOutcome::Stage::NoServer) << base;
    }
    // A plain HTTP server spoken to over https: the TLS handshake fails, nothing is taken as an answer.
    ScriptedServer server({kHtmlHead, answer("0", "ok")});
    std::string base = server.base();
    base.insert(4, "s");
    const PostOutcome out = PostForm(client, base, "a.php", "x", "Contactar", ErrorText::Server);
    EXPECT_EQ(out.stage, PostOutcome::Stage::NoServer);
}

TEST(PostForm, ASelfSignedCertificateIsNoAnswer)
{
    if (std::system("openssl version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "openssl is not installed: no TLS server to test against";
    TempDir dir("tls");
    const std::string key = dir / "key.pem", cert = dir / "cert.pem";
    ASSERT_EQ(std::system(("openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -days 1 -keyout " + key +
                           " -out " + cert + " >/dev/null 2>&1")
                              .c_str()),
              0);
    uint16_t port = 0;
    ::close(localservers::listenLocal(port));
    const std::string pidFile = dir / "pid";
    ASSERT_EQ(std::system(("openssl s_server -quiet -www -accept 127.0.0.1:" + std::to_string(port) + " -key " + key +
                           " -cert " + cert + " >/dev/null 2>&1 & echo $! > " + pidFile)
                              .c_str()),
              0);
    for (int i = 0; i < 100; ++i) {
        if (const int fd = localservers::connectLocal(port); fd >= 0) {
            ::close(fd);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    CurlHttpClient client(quick());
    const PostOutcome out = PostForm(client, "https://127.0.0.1:" + std::to_string(port) + "/", "a.php", "x",
                                     "Contactar", ErrorText::Server);
    std::ifstream in(pidFile);
    pid_t pid = 0;
    in >> pid;
    if (pid > 0)
        ::kill(pid, SIGTERM);
    EXPECT_EQ(out.stage, PostOutcome::Stage::NoServer);
    EXPECT_NE(out.failure.find("certificate"), std::string::npos) << out.failure;
}
