#include "ads/AdCommands.h"

#include "ads/ReportOutput.h"
#include "ads/TfrmShowItem.h"
#include "ads/WebAd.h"
#include "ads/aviso.h"
#include "engine/DataFiles.h"

namespace adcommands {

AdOutcome VerAviso(QWidget* owner, const AdContext& c, int32_t adNumber)
{
    if (!c.store.Read(adNumber))
        return AdOutcome::NotRead;
    if (c.store.kind() == 3) {
        webad::open(c.shell, c.serverBase, c.store.reference());
        return AdOutcome::OpenedOnServer;
    }
    const int32_t image = c.store.kind() == 0 || c.store.kind() == 5 ? c.store.imageNumber() : 0;
    // The store is not read again while the window shows its lines.
    TfrmShowItem::ShowAd(owner, c.store.kind(), c.store.lines(), image, c.dataDirectory + datafiles::kPictures,
                         c.library, c.printers);
    return AdOutcome::Shown;
}

int PrintResultList(QWidget* parent, const ResultListView& list, const QString& section, const Printers& printers)
{
    TFormRpt rpt;
    rpt.FormCreate(report::defaultPageSetup(printers));
    rpt.SetSection(section);
    rpt.Fill(list);
    return rpt.Preview(parent, printers);
}

} // namespace adcommands
