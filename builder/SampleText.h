// SampleText: the text rules of the sample generator: how a printed guide sets names (upper case,
// no acute accents, Ñ and Ü kept), how a rubro becomes a shop name, how a name becomes a web
// domain, how telephones are written. All text is Windows-1252. Pure functions, any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sample {

// Windows-1252 bytes of a UTF-8 literal of the generator's own; empty when the code page cannot
// hold it (the tests check every text the generator writes).
[[nodiscard]] std::string cp(std::string_view utf8);

// As the guides print a text: Spanish upper case, then the vowels' accents removed (Ñ, Ü and Ç
// stay).
[[nodiscard]] std::string printed(std::string_view text);
void appendPrinted(std::string& out, std::string_view text);

// The singular of one upper-case Spanish word ("FERRETERIAS" -> "FERRETERIA", "TALLERES" ->
// "TALLER", "ALMACENES" -> "ALMACEN"); words not ending in S are returned as they are.
[[nodiscard]] std::string singular(std::string_view word);

// The shop name of a rubro: the words before the first "DE", "PARA", "EN" or "A" made singular and
// the rest kept, up to a "Y" or "-" ("TALLERES MECANICOS" -> "TALLER MECANICO", "CASAS DE CAMBIO"
// -> "CASA DE CAMBIO", "CLINICAS Y SANATORIOS" -> "CLINICA").
[[nodiscard]] std::string shopNoun(std::string_view rubro);

// A domain label from a name: its letters and digits, Ñ as N, other letters without accents, at
// most maxLength characters ("EL PROGRESO" -> "ELPROGRESO").
[[nodiscard]] std::string domainLabel(std::string_view name, size_t maxLength = 24);

// Appends value in decimal, zero-padded to width digits.
void appendNumber(std::string& out, uint64_t value, int width = 0);

// A telephone as listings and ads show it: "(0351) 428-5600", "(011) 4348-0075". local has
// localLength digits.
void appendPhone(std::string& out, int32_t areaCode, int localLength, int32_t local);
// The local part only: "428-5600".
void appendLocalPhone(std::string& out, int localLength, int32_t local);

} // namespace sample
