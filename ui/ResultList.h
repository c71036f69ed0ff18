// ResultList: the result list of the directory sections (the panel named pnlLista): the list view
// with its separate scroll bar, one page of passing records (ResultPager over ListRows), the row
// painting, the five result filters and the grid switch behind the status-bar icons, selection
// marks, the columns' hiding, showing and resizing, the context menu, and the worker's pass
// hand-offs (it is the worker's PassListener, reached through MainThreadHandOff). The agenda, the
// reports, the ad viewer and the online requests ask it for the focused row, the rows shown and
// the marked records; the commands it cannot run itself leave through the hooks below.
//
// Owned by the main window through its Qt parent; the worker, the record store and the catalogs it
// reads are the window's (attach after start-up, detach before they go). Main thread only.
#pragma once

#include "search/GridData.h"
#include "search/PassListener.h"
#include "ui/ColumnSettings.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class AgendaSelection;
class FiltroBits;
class TAgenda;
class registro;
class ListRows;
class MarkedRecords;
class PicturePanel;
class QdData;
class QdLocs;
class QKeyEvent;
class QLabel;
class QMenu;
class QScrollBar;
class QTreeWidget;
class ResultItem;
class ResultListDelegate;
class ResultPager;
class StatusBar2;
class ThreadFillList;

class ResultList final : public QWidget, public PassListener {
    Q_OBJECT
public:
    // statusBar: the window's status bar, whose panels 0 and 1 and whose icons the list keeps.
    ResultList(StatusBar2* statusBar, QWidget* parent);
    ~ResultList() override;

    void attach(ThreadFillList* worker, QdData* store, QdLocs* locs);
    void detach() { attach(nullptr, nullptr, nullptr); }
    // The agenda whose rows and notes the rows show, and the selection of its view (the window's
    // agenda section owns both; null: no agenda).
    void attachAgenda(const TAgenda* agenda, AgendaSelection* selection);

    // Queries of the coming parts.
    [[nodiscard]] ResultItem* focusedRow() const;
    [[nodiscard]] std::vector<GridData> shownRows() const;
    [[nodiscard]] static MarkedRecords& marked();
    // The section the list shows, as the status bar names it ("Sección Comercial", "Agenda", ...).
    [[nodiscard]] QString sectionName() const;
    // The shown width of each column (0 while hidden).
    [[nodiscard]] std::array<int, ColumnSettings::kColumns> columnWidths() const;

    [[nodiscard]] ResultPager& pager() { return *m_pager; }
    [[nodiscard]] ListRows& rows() { return *m_rows; }
    [[nodiscard]] bool agendaMode() const { return m_agendaMode; }
    [[nodiscard]] bool filterOn(int filter) const { return m_filters[static_cast<size_t>(filter)]; }
    [[nodiscard]] bool gridLines() const { return m_gridLines; }
    [[nodiscard]] int hitColumn() const { return m_hitColumn; }
    // Every pass the worker started has had its end handed to this thread.
    [[nodiscard]] bool passesSettled() const { return m_passesStarted == m_passesEnded; }
    // The telephone guide shows the other ad icon.
    void setTelephoneGuide(bool on) { m_telephoneGuide = on; }

    void ShowResults();
    void RepageList();
    // Reads the record and adds its row: at the top for position 0, else at the end.
    void AddResultRow(int32_t record, int position);
    // Marks: the focused row (mark), toggled (), or a record in the marked list.
    void selectRecord(bool mark);
    void selectRecord();
    static bool selectRecord(int32_t record, bool mark);
    void SetAllVisibleSelected(bool mark);
    // On: the list shows the agenda, filled through fillAgenda (again at every call); off: the
    // agenda's selection is dropped and the directory's hand-offs reach the list again.
    void SetAgendaMode(bool on);
    // The agenda view's rows, already filtered and in their order: they replace the list's rows.
    void showAgendaRows(const std::vector<registro>& records);
    // A row filled again from its decoded record (after its agenda data changed).
    void refillRow(ResultItem& item, const registro& record);
    // A record's mark in one of the program's planes of the bit set (selection, note).
    void setRecordPlane(int32_t record, int plane, bool on);
    // Every row's note image from its record's note mark.
    void refreshNotas();
    void toggleFilter(int filter);
    void ResetFilters();
    void RebuildNoteMarks();
    void DropSelectionMarks();
    void ColShow(int column);
    void ColHide(int column);
    void ToggleColumn(int column);
    void placeOverlays();
    void StatusBar2Repaint();

    // Commands of the list that other parts run: double click or Enter on a row (the ad), on the
    // note column (the record editor), on the mail column (a query), the web column, "Recomendar a
    // un amigo". Unset: nothing happens.
    std::function<void()> openAd, editNote, mail, web, recommend;
    // Fills the agenda view (showAgendaRows) when the list enters it or a filter changes in it.
    std::function<void()> fillAgenda;
    // Whether the search panel has a search to show (else the intro panel stays).
    std::function<bool()> searchDone;
    // The focused row changed: row is null without one; hasWeb is its record's has-web flag.
    std::function<void(const GridData* row, bool hasWeb)> webLinkChanged;

    QTreeWidget* lvLista = nullptr;
    QScrollBar* scrbRegistros = nullptr;
    PicturePanel* pnlBusqueDatos = nullptr;
    QLabel* pnlNoData = nullptr;
    QMenu* popupLista = nullptr;

Q_SIGNALS:
    // A pass starts or has ended (the search panel is disabled meanwhile).
    void passStarting();
    void passFinished();
    // Results are on show: the action bar comes up with them.
    void resultsShown();
    // The "marked" filter went on or off (its action-bar button shows it).
    void markedFilterChanged(bool on);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // PassListener, run on the main thread through the window's MainThreadHandOff.
    void PassStarted() override;
    void MatchFound(int32_t record, int32_t count) override;
    void MatchesFound(std::span<const Match> matches) override;
    void PassEnded(int32_t count) override;

    void build();
    void buildContextMenu();
    void FillResultRow(int32_t record, uint32_t flags, ResultItem& item);
    void fillRow(registro& r, uint32_t flags, ResultItem& item);
    // An agenda row's flag word: the bit set's for a directory record in range, else its texts'.
    [[nodiscard]] uint32_t agendaFlags(const registro& r, const FiltroBits* bits) const;
    void scrbRegistrosChange(int position);
    void showNoData(bool visible);
    void syncScrollBar();
    void ShowCurrentRecord(int row);
    void lvListaSelectItem();
    bool lvListaKey(QKeyEvent* key, bool down);
    void lvListaClick(int column);
    void lvListaDblClick(int column);
    [[nodiscard]] int hitColumnAt(int x) const;
    void applyColumn(int column);
    void columnResized(int column, int newSize);
    // Runs fn(bits) with the worker's guard held (nothing without a worker). Never nested: rows
    // added meanwhile get their flag word from the pager.
    void withBits(const std::function<void(FiltroBits&)>& fn);

    StatusBar2* m_statusBar;
    ThreadFillList* m_worker = nullptr;
    QdData* m_store = nullptr;
    QdLocs* m_locs = nullptr;
    const TAgenda* m_agenda = nullptr;
    AgendaSelection* m_agendaSelection = nullptr;
    std::unique_ptr<ListRows> m_rows;
    std::unique_ptr<ResultPager> m_pager;
    ResultListDelegate* m_delegate = nullptr; // child of the list
    // Result filters: ad, mail, web, marked, note; grid lines.
    std::array<bool, 5> m_filters{};
    bool m_gridLines = false;
    bool m_agendaMode = false;
    bool m_telephoneGuide = false;
    int m_hitColumn = -1;
    bool m_enterDown = false;
    bool m_syncingColumns = false;
    int m_rowHeight = 0;
    int m_passesStarted = 0, m_passesEnded = 0; // hand-offs run on this thread
};
