#include "online/OnlineActions.h"

#include "online/TfrmConsultar.h"
#include "online/TfrmRecomendar.h"
#include "search/MarkedRecords.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ModalSeam.h"
#include "widgets/UiText.h"

OnlineActions::OnlineActions(QWidget* parent, QdData& store, const QdLocs& catalogs, aviso* ads, std::string baseUrl,
                             CurlHttpClient::Limits limits)
    : m_parent(parent), m_curl(limits), m_client(m_curl), m_requests(store, catalogs, ads, m_client, std::move(baseUrl))
{}

void OnlineActions::Recommend(int32_t n)
{
    Recommend(n, markedRecords());
}

void OnlineActions::Contact(int32_t n)
{
    Contact(n, markedRecords());
}

void OnlineActions::Recommend(int32_t n, const MarkedRecords& marks)
{
    m_last = m_requests.Recommend(n, marks, [this]() -> std::optional<RecommendFields> {
        TfrmRecomendar dialog(m_parent);
        if (modal::exec(dialog) != QDialog::Accepted)
            return std::nullopt;
        return dialog.fields();
    });
    report();
}

void OnlineActions::Contact(int32_t n, const MarkedRecords& marks)
{
    m_last = m_requests.Contact(n, marks, [this](const ContactTargets& targets) -> std::optional<ContactFields> {
        TfrmConsultar dialog(m_parent);
        dialog.setTargets(targets);
        if (modal::exec(dialog) != QDialog::Accepted)
            return std::nullopt;
        return dialog.fields();
    });
    report();
}

void OnlineActions::report()
{
    if (!m_last)
        return;
    const bool good = m_last->stage == PostOutcome::Stage::Delivered;
    messageboxes::show(m_parent, uitext::fromData(m_last->caption), uitext::fromData(m_last->text), QMessageBox::Ok,
                       good ? QMessageBox::Information : QMessageBox::Warning);
}
