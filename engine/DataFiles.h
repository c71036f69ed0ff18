// The names of the files of a data folder, in one place for the program, the builder and the tools.
#pragma once

namespace datafiles {

inline constexpr const char* kRecords = "QD.dat";
inline constexpr const char* kOffsets = "PK.idx";
inline constexpr const char* kRecordTable = "QD.hfm";
// The key indexes and the word index in the order start-up opens them into slots 1 to 8.
inline constexpr const char* kIndexes[8] = {"ixTeA.idx", "ixTeP.idx",  "ixTeN.idx", "ixLoc.idx",
                                            "ixPrv.idx", "ixGuia.idx", "ixpal.idx", "ixRub.idx"};
inline constexpr const char* kWordTable = "ixpal.hfm";
inline constexpr const char* kFlags = "QD.flg";
inline constexpr const char* kLimits = "QD.lmt";
inline constexpr const char* kCatalogs = "da01.dat";
inline constexpr const char* kBodies = "da2.dat";
inline constexpr const char* kBodiesTable = "da2.hfm";
inline constexpr const char* kAds = "AVI.dat";
inline constexpr const char* kAdOffsets = "AVI.pk";
inline constexpr const char* kAdTable = "AVI.hfm";
inline constexpr const char* kPictures = "Img.bld";

inline constexpr const char* kAll[] = {kRecords,    kOffsets,    kRecordTable, kIndexes[0], kIndexes[1],  kIndexes[2],
                                       kIndexes[3], kIndexes[4], kIndexes[5],  kIndexes[6], kWordTable,   kIndexes[7],
                                       kFlags,      kLimits,     kCatalogs,    kBodies,     kBodiesTable, kAds,
                                       kAdOffsets,  kAdTable,    kPictures};

} // namespace datafiles
