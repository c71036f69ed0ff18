#include "ui/OfficialBodiesPanel.h"

#include "engine/Cp1252.h"
#include "ui/OfficialBodiesModels.h"
#include "widgets/MessageBoxes.h"
#include "widgets/UiText.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

constexpr int kLeft = 8;

QTreeView* view(QWidget* parent, const QString& name, const QFont& font)
{
    auto* v = new QTreeView(parent);
    v->setObjectName(name);
    v->setFont(font);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setUniformRowHeights(true);
    v->setHeaderHidden(true);
    // The selection stays as visible when the view loses the focus.
    QPalette pal = v->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    v->setPalette(pal);
    return v;
}

} // namespace

OfficialBodiesPanel::OfficialBodiesPanel(QWidget* header, QWidget* body)
    : QObject(body), m_body(body), m_treeModel(new OfficialBodiesTreeModel(this)),
      m_resultModel(new OfficialBodiesResultModel(this)), m_detailModel(new OfficialBodiesDetailModel(this))
{
    tPalabraClave = new QLineEdit(header);
    tPalabraClave->setObjectName(u"tPalabraClave"_s);
    tPalabraClave->setGeometry(10, 26, 300, 21);
    tPalabraClave->setMaxLength(255);
    tPalabraClave->installEventFilter(this);
    connect(tPalabraClave, &QLineEdit::textEdited, this, &OfficialBodiesPanel::upperCaseKeyword);

    QFont font(u"Arial"_s);
    font.setPointSize(8);
    lblResultado = new QLabel(u"Resultado de la búsqueda"_s, body);
    lblResultado->setObjectName(u"lblResultado"_s);
    lblResultado->move(kLeft, 4);
    lblResultado->adjustSize();

    lb1 = view(body, u"lb1"_s, font);
    lb1->setRootIsDecorated(false);
    lb1->setModel(m_resultModel);
    lb1->header()->setStretchLastSection(false);
    lb1->setColumnWidth(0, 600);
    lb1->setGeometry(kLeft, 20, 600, 92);

    tv1 = view(body, u"tv1"_s, font);
    tv1->setIndentation(19);
    tv1->setModel(m_treeModel);
    tv1->setGeometry(kLeft, 118, 600, 150);

    lv1 = view(body, u"lv1"_s, font);
    lv1->setRootIsDecorated(false);
    lv1->setModel(m_detailModel);
    lv1->header()->setStretchLastSection(false);
    lv1->setColumnWidth(0, 463);
    lv1->setColumnWidth(1, 145);
    lv1->setGeometry(kLeft, 274, 600, 100);

    connect(lb1->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            lb1SelectItem(current.row());
    });
    // A click on the result already chosen brings its node back after the tree moved on.
    connect(lb1, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { lb1SelectItem(index.row()); });
    connect(tv1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { tv1Change(OfficialBodiesTreeModel::nodeOf(current)); });
    body->installEventFilter(this);
}

OfficialBodiesPanel::~OfficialBodiesPanel() = default;

bool OfficialBodiesPanel::LoadData(const std::string& dataPath, const std::string& tablePath,
                                   const SourceOpener& opener)
{
    if (m_loaded)
        return false;
    m_loaded = true; // also when the files are missing: they are not looked for again
    m_bodies.LoadData(dataPath, tablePath, opener);
    m_treeModel->setTree(&m_bodies);
    return true;
}

int32_t OfficialBodiesPanel::selectedNode() const
{
    return OfficialBodiesTreeModel::nodeOf(tv1->currentIndex());
}

void OfficialBodiesPanel::upperCaseKeyword()
{
    // Every typed letter shows in upper case, the way the keyword is compared.
    const QString upper = uitext::fromData(cp1252::upper(uitext::toData(tPalabraClave->text())));
    if (upper == tPalabraClave->text())
        return;
    const int cursor = tPalabraClave->cursorPosition();
    tPalabraClave->setText(upper);
    tPalabraClave->setCursorPosition(cursor);
}

void OfficialBodiesPanel::fClearOO()
{
    tPalabraClave->clear();
    m_resultModel->setResults(&m_bodies, {});
    m_detailModel->setRows({});
    if (!m_bodies.roots().empty())
        tv1->setCurrentIndex(m_treeModel->indexOf(m_bodies.roots().front()));
    tv1->collapseAll();
}

void OfficialBodiesPanel::bbuBuscarOOClick()
{
    if (tPalabraClave->text().isEmpty()) {
        messageboxes::show(tPalabraClave->window(), u"Atención"_s,
                           u"Ingrese una palabra clave para realizar una búsqueda rápida."_s);
        return;
    }
    m_resultModel->setResults(&m_bodies, m_bodies.search(uitext::toData(tPalabraClave->text())));
    if (!m_resultModel->nodes().empty()) {
        lb1->setFocus();
        return;
    }
    messageboxes::show(tPalabraClave->window(), QString(),
                       u"No se encontraron resultados con la palabra clave ingresada."_s);
    tPalabraClave->setFocus();
}

void OfficialBodiesPanel::lb1SelectItem(int row)
{
    const std::vector<int32_t>& nodes = m_resultModel->nodes();
    if (row < 0 || static_cast<size_t>(row) >= nodes.size())
        return;
    const QModelIndex index = m_treeModel->indexOf(nodes[static_cast<size_t>(row)]);
    tv1->setCurrentIndex(index);
    tv1->scrollTo(index); // opens its ancestors
}

void OfficialBodiesPanel::tv1Change(int32_t node)
{
    m_detailModel->setRows(m_bodies.detailRows(node));
    // A node opens when it is selected.
    const QModelIndex index = m_treeModel->indexOf(node);
    if (index.isValid())
        tv1->expand(index);
}

void OfficialBodiesPanel::gbOrgOfResize()
{
    for (QTreeView* v : {lb1, tv1, lv1})
        v->resize(std::max(0, m_body->width() - 2 * v->x()), v->height());
    lv1->resize(lv1->width(), std::max(0, m_body->height() - lv1->y() - 4));
}

void OfficialBodiesPanel::release()
{
    fClearOO();
    m_treeModel->setTree(nullptr);
    m_resultModel->setResults(nullptr, {});
    m_bodies.clear();
}

bool OfficialBodiesPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_body && event->type() == QEvent::Resize) {
        gbOrgOfResize();
    } else if (watched == tPalabraClave && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // One search per Enter: on its release (tPalabraClaveKeyUp); the press is kept from
            // the window's default button, which would search a second time.
            if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat())
                bbuBuscarOOClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
