// QdData: the record store. Random access to record n of "QD.dat" through its offset table
// "PK.idx", decoded with the code table "QD.hfm" into a registro, inherited names and addresses
// resolved. Owns the data file, the offset table, the ten index slots and the code table. Owned by
// the main window; ReadRecord runs on the main thread only (its previous-record cache is unlocked),
// the indexes in the slots are read by the result-list worker.
#pragma once

#include "engine/Archivo.h"
#include "engine/Indice.h"
#include "engine/PkTable.h"
#include "engine/huffman.h"
#include "engine/registro.h"

#include <array>
#include <memory>
#include <string>

// The index slots a data folder's indexes are opened into, in start-up order; the file names.
namespace slot {
enum Slot : int {
    ixTeA = 1,      // telephone area codes
    ixTeP = 2,      // telephone prefixes
    ixTeN = 3,      // telephone lines
    ixLoc = 4,      // localities
    ixPrv = 5,      // provinces
    ixGuia = 6,     // guides
    ixpal = 7,      // name and address words (with its own code table)
    ixRub = 8,      // rubros
    kSelection = 9, // never opened: the selection has no index
};
inline constexpr int kOpened = 8; // slots 1..8 hold the folder's indexes
} // namespace slot

class QdData {
public:
    static constexpr int kSlots = 10;

    QdData(const std::string& dataPath, const std::string& offsetPath, int32_t blockSize,
           SourceOpener opener = openFileSource);
    ~QdData();

    QdData(const QdData&) = delete;
    QdData& operator=(const QdData&) = delete;

    bool LoadCodeTable(const std::string& path);
    [[nodiscard]] int32_t RecordCount() const { return m_recordCount; }
    // The stored length of record n in bytes: -1 with no offset table, 0 for an unknown record.
    [[nodiscard]] int32_t RecordLength(int32_t n);
    // Reads and decodes record n; false (destination untouched) for an unknown record or a store
    // without files. With resolve, inherited names and addresses are filled in.
    bool ReadRecord(registro& dst, int32_t n, bool resolve = true);

    // Opens an index in the lowest free slot: its number 1..10, or 0 when all are taken.
    int AddIndex(const std::string& path, int32_t blockSize);
    // AddIndex, then loads the index's own code table; with no free slot nothing is opened.
    int AddWordIndex(const std::string& indexPath, const std::string& codeTablePath, int32_t blockSize);
    [[nodiscard]] Indice* IndexAt(int slot) const;

    [[nodiscard]] const huffman& codeTable() const { return m_codes; }

private:
    SourceOpener m_opener;
    std::unique_ptr<Archivo> m_data;
    std::unique_ptr<PkTable> m_offsets;
    std::array<std::unique_ptr<Indice>, kSlots> m_slots;
    int32_t m_recordCount = 0;
    huffman m_codes;
    // The last record decoded for the store's own use; makes sequential reads find inherited
    // fields in one step.
    registro m_previous;
};
