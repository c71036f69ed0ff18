// The two request dialogs and the window's side of the requests, offscreen: captions, the subject
// rewrite, the send rules, the contact note, the wait cursor, and whole requests through the modal
// seam against PHP's built-in server running the server scripts.
#include "online/OnlineActions.h"
#include "online/TfrmConsultar.h"
#include "online/TfrmRecomendar.h"
#include "search/MarkedRecords.h"
#include "tests/support/GuiTestApp.h"
#include "tests/support/LocalServers.h"
#include "tests/support/SampleDataSet.h"
#include "tools/CliDataSet.h"
#include "widgets/MessageBoxes.h"
#include "widgets/PictureButton.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <fstream>

using namespace Qt::StringLiterals;

namespace {

void leave(QWidget* w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}

QStringList texts(const QDialog& d)
{
    QStringList out;
    for (const QLabel* l : d.findChildren<QLabel*>())
        out << l->text();
    return out;
}

} // namespace

TEST(TfrmRecomendar, RewritesTheSubjectAndSendsOnlyWithARecipient)
{
    guiTestApp();
    TfrmRecomendar d;
    EXPECT_EQ(d.windowTitle(), u"Recomendá a un amigo"_s);
    for (const QString& t :
         {u"Recomendá a un amigo."_s, u"De: (*)"_s, u"Email del remitente (*)"_s, u"Asunto:"_s,
          u"Email del destinatario: (*)"_s, u"Comentario:"_s, u"Los campos con (*) son obligatorios."_s,
          u"Recuerde que deberá tener conexión a internet para enviar este mensaje."_s})
        EXPECT_TRUE(texts(d).contains(t)) << t.toStdString();
    EXPECT_FALSE(d.tSubject->isEnabled());
    EXPECT_EQ(d.tSubject->text(), u"Recomendación enviada desde el cd de Ortelia"_s);
    EXPECT_EQ(d.tNota->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const std::pair<QString, QString> names[] = {
        {u"Ana"_s, u"Recomendación de Ana enviada desde el cd de Ortelia"_s},
        {u"  "_s, u"Recomendación de    enviada desde el cd de Ortelia"_s},
        {QString(), u"Recomendación enviada desde el cd de Ortelia"_s},
    };
    for (const auto& [name, subject] : names) {
        d.tFromNombre->setText(name);
        leave(d.tFromNombre);
        EXPECT_EQ(d.tSubject->text(), subject);
    }

    d.show();
    d.tFrom->setFocus();
    d.tTo->setText(u"   "_s);
    d.sb_send->click();
    EXPECT_EQ(d.result(), 0);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.focusWidget(), d.tTo);
    d.tTo->setText(u" amigo@example.net"_s);
    d.sb_send->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);

    d.tFromNombre->setText(u"José Núñez"_s);
    d.tNota->setPlainText(u"línea 1\nlínea 2 & 100%"_s);
    const RecommendFields f = d.fields();
    EXPECT_EQ(f.fromName, "Jos\xE9 N\xFA\xF1"
                          "ez");
    EXPECT_EQ(f.to, " amigo@example.net");
    EXPECT_EQ(f.note, "l\xEDnea 1\r\nl\xEDnea 2 & 100%");
}

TEST(TfrmConsultar, ShowsTheAddressedNamesAndTheNoteWhenSomeHaveNoMail)
{
    guiTestApp();
    TfrmConsultar d;
    EXPECT_EQ(d.windowTitle(), u"Enviá una consulta a un anunciante"_s);
    for (const QString& t : {u"Enviá una consulta a un anunciante."_s, u"Para:"_s, u"Comentario:"_s,
                             u"Recuerde que deberá tener conexión a internet para enviar esta consulta."_s})
        EXPECT_TRUE(texts(d).contains(t)) << t.toStdString();
    EXPECT_EQ(d.tSubject->text(), u"Consulta enviada desde el cd de Ortelia"_s);
    EXPECT_FALSE(d.tSubject->isEnabled());
    EXPECT_FALSE(d.tTo->isVisibleTo(&d));

    d.setTargets(ContactTargets{3, 2, "b@x.ar;a@x.ar;", {"ZAPATERIA", "ALMACEN"}});
    ASSERT_EQ(d.lsTo->count(), 2);
    EXPECT_EQ(d.lsTo->item(0)->text(), u"ALMACEN"_s);
    EXPECT_TRUE(d.lToNote->isVisibleTo(&d));
    EXPECT_EQ(d.lToNote->text(), u"Solo 2 de los 3 registros seleccionados tienen dirección de mail registrada."_s);
    EXPECT_TRUE(d.lToNote->alignment() & Qt::AlignRight);
    d.setTargets(ContactTargets{2, 2, "a@x.ar;c@x.ar;", {"A", "C"}});
    EXPECT_FALSE(d.lToNote->isVisibleTo(&d));
    EXPECT_EQ(d.lsTo->count(), 2);

    d.show();
    d.sb_send->click(); // nothing typed: still sent
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

namespace {

// Records the cursor the program shows while each request waits.
class CursorSpy final : public HttpClient {
public:
    void setHeaderLines(std::vector<std::string>) override {}
    HttpAnswer head(const std::string&) override { return record(); }
    HttpAnswer post(const std::string&, std::string_view) override { return record(); }
    std::vector<int> shapes;

private:
    HttpAnswer record()
    {
        const QCursor* c = QGuiApplication::overrideCursor();
        shapes.push_back(c ? c->shape() : -1);
        HttpAnswer a;
        a.headerArrived = true;
        a.fields = {{"Content-Type", "text/html"}, {"Error-Number", "0"}};
        return a;
    }
};

} // namespace

TEST(WaitCursorClient, ShowsTheWaitCursorOnlyWhileARequestWaits)
{
    guiTestApp();
    CursorSpy spy;
    WaitCursorClient client(spy);
    const PostOutcome out = PostForm(client, "http://x/", "a.php", "b", "Recomendar", ErrorText::Fixed);
    EXPECT_EQ(out.stage, PostOutcome::Stage::Delivered);
    EXPECT_EQ(spy.shapes, (std::vector<int>{Qt::WaitCursor, Qt::WaitCursor}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(OnlineActions, RunTheDialogsPostAndReportThroughTheSeams)
{
    guiTestApp();
    if (!localservers::PhpServer::available())
        GTEST_SKIP() << "php is not installed (Debian package php-cli): the server scripts cannot run";
    SampleDataSet sample;
    ASSERT_TRUE(sample.make(300, 5));
    CliDataSet data;
    ASSERT_TRUE(data.open(sample.folder()));
    TempDir spool("gui-spool");
    localservers::PhpServer server(ORTELIA_SERVER_DIR, {"ORTELIA_SPOOL=" + spool / "s.jsonl"});
    ASSERT_TRUE(server.ready());
    OnlineActions actions(nullptr, *data.store, data.catalogs(), data.ads.get(), server.base());
    modal::clear();
    messageboxes::clearShown();

    // A recommendation of one record, typed into the dialog.
    modal::queueResult(QDialog::Accepted, [](QDialog& d) {
        auto& r = dynamic_cast<TfrmRecomendar&>(d);
        r.tFromNombre->setText(u"Ana"_s);
        leave(r.tFromNombre);
        r.tTo->setText(u"amigo@example.net"_s);
        r.tNota->setPlainText(u"Mirá este"_s);
    });
    actions.Recommend(7);
    ASSERT_EQ(modal::seen().size(), 1u);
    EXPECT_EQ(modal::seen()[0].className, u"TfrmRecomendar"_s);
    ASSERT_EQ(messageboxes::shown().size(), 1u);
    EXPECT_EQ(messageboxes::shown()[0].caption, u"Recomendar"_s);
    EXPECT_EQ(messageboxes::shown()[0].text, u"MENSAJE ENVIADO"_s);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    std::string line;
    {
        std::ifstream in(spool / "s.jsonl");
        ASSERT_TRUE(std::getline(in, line));
    }
    EXPECT_NE(line.find(R"("subject":"Recomendación de Ana enviada desde el cd de Ortelia")"), std::string::npos);
    EXPECT_NE(line.find(R"("note":"Mirá este")"), std::string::npos);

    // Cancelled: nothing sent, nothing reported.
    modal::queueResult(QDialog::Rejected);
    actions.Recommend(7);
    EXPECT_FALSE(actions.lastOutcome().has_value());
    EXPECT_EQ(messageboxes::shown().size(), 1u);

    // A contact request for marked records, one of three with mail.
    std::vector<int32_t> withMail, without;
    for (int32_t n = 1; n <= data.store->RecordCount() && (withMail.empty() || without.size() < 2); ++n) {
        registro r;
        data.store->ReadRecord(r, n);
        (r.mail.empty() ? without : withMail).push_back(n);
    }
    ASSERT_FALSE(withMail.empty());
    ASSERT_GE(without.size(), 2u);
    MarkedRecords marks;
    marks.AddMarked(without[0]);
    marks.AddMarked(withMail[0]);
    marks.AddMarked(without[1]);
    QString note;
    int listed = 0;
    modal::queueResult(QDialog::Accepted, [&](QDialog& d) {
        auto& c = dynamic_cast<TfrmConsultar&>(d);
        note = c.lToNote->isVisibleTo(&c) ? c.lToNote->text() : QString();
        listed = c.lsTo->count();
        c.tFrom->setText(u"ana@example.org"_s);
    });
    actions.Contact(0, marks);
    EXPECT_EQ(note, u"Solo 1 de los 3 registros seleccionados tienen dirección de mail registrada."_s);
    EXPECT_EQ(listed, 1);
    ASSERT_EQ(messageboxes::shown().size(), 2u);
    EXPECT_EQ(messageboxes::shown()[1].caption, u"Contactar"_s);
    EXPECT_EQ(messageboxes::shown()[1].text, u"CONSULTA ENVIADA"_s);

    // No record with mail: the message, and no dialog.
    const size_t dialogs = modal::seen().size();
    actions.Contact(without[0], marks);
    EXPECT_EQ(modal::seen().size(), dialogs);
    ASSERT_EQ(messageboxes::shown().size(), 3u);
    EXPECT_EQ(messageboxes::shown()[2].caption, u"Atención"_s);
    EXPECT_EQ(messageboxes::shown()[2].text, u"No ha seleccionado ningún registro con dirección de mail."_s);
    EXPECT_FALSE(modal::resultsQueued());
}
