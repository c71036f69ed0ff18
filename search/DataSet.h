// DataSet: a data folder opened as start-up opens it, in one place for the window, the command-line
// companion, the test fixtures and the benchmarks: the record store with its eight index slots and
// its code table, the catalogs, and the bit set's flags and guide ranges (clamped to the records the
// store can read), range 0 selected. Owns the store and the catalogs; owns the bit set too unless
// the caller lends one (the window lends the process-wide one). The ad store has its own opener
// (ads/AdStoreOpener.h). Opened and closed on one thread; afterwards the parts follow their own
// thread rules.
#pragma once

#include "engine/ByteSource.h"
#include "engine/FiltroBits.h"
#include "engine/QdData.h"
#include "search/QdLocs.h"

#include <functional>
#include <memory>
#include <string>

class DataSet {
public:
    // The steps of opening, in order, each announced with the text start-up shows for it (UTF-8)
    // before it runs. Steps with no work of their own (kStartData, kStartGuides) are where the
    // window binds and fills its lists.
    enum class Step {
        kRecords,       // "Abriendo datos..."
        kPhoneIndexes,  // "Abriendo indice de teléfonos..."
        kLocalityIndex, // "Abriendo indice de localidades..."
        kProvinceIndex, // "Abriendo indice de provincias..."
        kGuideIndex,    // "Abriendo indice de guías..."
        kWordIndex,     // "Abriendo indice de palabras..."
        kRubroIndex,    // "Abriendo indice de rubros..."
        kStartData,     // "Iniciando datos..."
        kCatalogs,      // "Cargando provincias y localidades..."
        kStartGuides,   // "Iniciando guías..."
        kFlags,         // "Iniciando filtros..."
        kLimits,        // "Iniciando filtros..."
        kInitialRange,  // "Estableciendo filtro inicial..."
    };
    using Progress = std::function<void(Step step, const std::string& text)>;

    struct Options {
        SourceOpener opener = openFileSource;
        Progress progress;
        // The bit set to load; null: the data set makes its own, one word per record.
        FiltroBits* bits = nullptr;
    };

    // The text start-up shows for a step.
    [[nodiscard]] static const char* stepText(Step step);

    DataSet() = default;
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    // Opens folder (with or without a trailing '/'). Missing or damaged files leave their part empty,
    // as start-up does: the store then holds no record, the catalogs no entry, the ranges nothing.
    // False when the folder does not exist (every part is empty then, but open all the same).
    bool open(const std::string& folder, const Options& options);
    [[nodiscard]] static std::unique_ptr<DataSet>
    open(const std::string& folder, const SourceOpener& opener = openFileSource, const Progress& progress = {});

    // The path of a file of the folder.
    [[nodiscard]] std::string path(const char* name) const { return m_folder + name; }
    [[nodiscard]] const std::string& folder() const { return m_folder; }
    [[nodiscard]] bool isOpen() const { return m_store != nullptr; }

    // Valid once open succeeded, until closeStore.
    [[nodiscard]] QdData& store() const { return *m_store; }
    [[nodiscard]] FiltroBits& bits() const { return *m_bits; }
    // Exists from construction, so lists can be bound to it before the folder opens.
    [[nodiscard]] QdLocs& catalogs() { return m_catalogs; }
    [[nodiscard]] const QdLocs& catalogs() const { return m_catalogs; }

    // A bit set of its own, one word per record, loaded as open loads the data set's: for a caller
    // that searches apart from the data set's set (the command-line search, once per search).
    [[nodiscard]] std::unique_ptr<FiltroBits> freshBits() const;

    // Closes the record store and its indexes (the worker that reads them must have stopped).
    void closeStore() { m_store.reset(); }

private:
    // Flags, then the guide ranges clamped to the store's records, then range 0 selected.
    void loadBits(FiltroBits& bits, const std::function<void(Step)>& step) const;

    std::string m_folder;
    SourceOpener m_opener = openFileSource;
    std::unique_ptr<QdData> m_store;
    std::unique_ptr<FiltroBits> m_ownBits;
    FiltroBits* m_bits = nullptr;
    QdLocs m_catalogs;
};
