// PostForm: one form request to the publisher's server: a HEAD to check that a script answers with
// an HTML page (and to take the server's date), then a POST of the single field "p" holding the
// sealed "Date=...&" + body, and the server's answer turned into the message the user sees. Texts
// are Windows-1252 bytes, the body included, whatever the user interface holds. Blocks until the
// server has answered or the client's time-outs have run out. One thread at a time (the client's).
#pragma once

#include "online/HttpClient.h"

#include <string>
#include <string_view>

namespace online {

inline constexpr std::string_view kRecommendScript = "ot_recommend.php";
inline constexpr std::string_view kContactScript = "ot_contact.php";
inline constexpr std::string_view kImageScript = "ot_image.php";

inline constexpr std::string_view kRecommendCaption = "Recomendar";
inline constexpr std::string_view kContactCaption = "Contactar";
// "Es imposible establecer una comunicación con el servidor"
inline constexpr std::string_view kNoServer = "Es imposible establecer una comunicaci\xF3n con el servidor";
inline constexpr std::string_view kNotSent = "El mensaje no ha podido ser enviado.";
inline constexpr std::string_view kFixedError = "EL MENSAJE NO HA PODIDO SER ENTREGADO.\n\nPOR FAVOR REVISE LOS DATOS "
                                                "INGRESADOS.";

} // namespace online

// Which text follows "Error #n" when the server refuses a request.
enum class ErrorText {
    Fixed,  // the program's own advice (recommendations)
    Server, // the server's "Error-String" (contact requests)
};

struct PostOutcome {
    enum class Stage {
        NoServer,  // the HEAD had no answer or not an HTML one: nothing was posted
        NotSent,   // posted, but the answer carried no "Error-Number"
        Refused,   // the server answered with a non-zero error number
        Delivered, // error number 0: the text is the server's confirmation
        NoAddress, // a contact request for records without a mail address: nothing was asked or sent
    };
    Stage stage = Stage::NoServer;
    std::string caption; // the message box's caption
    std::string text;    // its text
    std::string url;
    std::string payload; // what was posted ("p=..."); empty when nothing was
    std::string failure; // the client's reason when a request had no answer
};

// Posts body to baseUrl + script through client. resultCaption captions the outcome of the POST;
// the "no server" message is always captioned "Recomendar".
[[nodiscard]] PostOutcome PostForm(HttpClient& client, std::string_view baseUrl, std::string_view script,
                                   std::string_view body, std::string_view resultCaption, ErrorText errorText);

// The field "p" of a full body ("Date=...&..."): "p=" + UrlEncode(SealText(fullBody)).
[[nodiscard]] std::string FormPayload(std::string_view fullBody);
