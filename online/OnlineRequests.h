// OnlineRequests: the two requests the result list sends through the publisher's server: a
// recommendation of records to a friend and a query to the records' advertisers. Builds each
// request's body from the records (Windows-1252 bytes) and posts it with PostForm. The dialog that
// collects the sender's data is asked through a callback, so the window and the command line run
// the same code. Borrows the record store, catalogs, ad store and HTTP client from their owner (the
// main window) for its whole life. Main thread only.
#pragma once

#include "online/PostForm.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QdData;
class QdLocs;
class aviso;
class HttpClient;
class MarkedRecords;

namespace online {

inline constexpr std::string_view kNoMailCaption = "Atenci\xF3n";
// "No ha seleccionado ningún registro con dirección de mail."
inline constexpr std::string_view kNoMail = "No ha seleccionado ning\xFAn registro con direcci\xF3n de mail.";
// "Recomendación enviada desde el cd de Ortelia": the recommendation's subject before a name is typed.
inline constexpr std::string_view kRecommendSubject = "Recomendaci\xF3n enviada desde el cd de Ortelia";
inline constexpr std::string_view kContactSubject = "Consulta enviada desde el cd de Ortelia";
// The contact dialog's note, with {s0} and {s1} for the records with mail and the records chosen.
inline constexpr std::string_view kToNote =
    "Solo {s0} de los {s1} registros seleccionados tienen direcci\xF3n de mail registrada.";

} // namespace online

// What the recommendation dialog collects, as typed (Windows-1252); the comment's lines joined by
// CR LF.
struct RecommendFields {
    std::string from;
    std::string fromName;
    std::string to;
    std::string subject;
    std::string note;
};

// What the contact dialog collects.
struct ContactFields {
    std::string from;
    std::string fromName;
    std::string subject;
    std::string note;
};

// The advertisers a contact request goes to.
struct ContactTargets {
    int32_t records = 0;            // records chosen
    int32_t withMail = 0;           // of them, with a mail address
    std::string addresses;          // one address; several each followed by ";"
    std::vector<std::string> names; // names of the records with an address, in order
};

class OnlineRequests {
public:
    using AskRecommend = std::function<std::optional<RecommendFields>()>;
    using AskContact = std::function<std::optional<ContactFields>(const ContactTargets&)>;

    // ads may be null (no ad store): every record then travels without its ad.
    OnlineRequests(QdData& store, const QdLocs& catalogs, aviso* ads, HttpClient& client, std::string baseUrl);

    // Recommends record n, or with n = 0 the marked records. ask runs the dialog: nullopt (cancel)
    // sends nothing and gives nullopt.
    std::optional<PostOutcome> Recommend(int32_t n, const MarkedRecords& marks, const AskRecommend& ask);
    // Sends a query to the advertiser of record n, or with n = 0 to those of the marked records.
    // Records without a mail address are left out; with none left, the outcome is the NoAddress
    // message and ask is not run.
    std::optional<PostOutcome> Contact(int32_t n, const MarkedRecords& marks, const AskContact& ask);

    // One recommended record as it travels: its fields each followed by "|", URL-encoded.
    [[nodiscard]] std::string ParValue(int32_t n);

    [[nodiscard]] std::string recommendBody(const RecommendFields& fields, int32_t n, const MarkedRecords& marks);
    [[nodiscard]] ContactTargets contactTargets(int32_t n, const MarkedRecords& marks);
    // The values go in as typed: the server splits the body at "&" and "=" itself.
    [[nodiscard]] static std::string contactBody(const ContactFields& fields, const ContactTargets& targets);
    // The recommendation's subject for the sender's name as typed (blanks count as a name).
    [[nodiscard]] static std::string recommendSubject(std::string_view fromName);
    // The note above the comment; empty when every chosen record has an address (the note is hidden).
    [[nodiscard]] static std::string toNote(const ContactTargets& targets);

    [[nodiscard]] const std::string& baseUrl() const { return m_baseUrl; }

private:
    // n alone, or the marked records in marking order.
    [[nodiscard]] static std::vector<int32_t> chosen(int32_t n, const MarkedRecords& marks);

    QdData& m_store;
    const QdLocs& m_catalogs;
    aviso* m_ads;
    HttpClient& m_client;
    std::string m_baseUrl;
};
