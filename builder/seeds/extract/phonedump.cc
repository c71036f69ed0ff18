// Dumps the libphonenumber / libgeocoding / ICU facts the seed extractor needs,
// as raw TSV on stdout. Post-processing (fixes, sorting, weights) is done by
// extract.py, so this program stays a thin reader of the installed libraries.
//
// Modes (CC = calling code, prefixes are national, without the trunk 0):
//   table CC      prefix, description, area code, valid, table  (CC_es, else CC_en)
//   ndc CC P...   prefix, area code, valid                       for the given prefixes
//   countries     region, calling code, Spanish name (ICU "es")
//
// libgeocoding exports its compiled tables through accessors that the Debian
// headers do not declare; they are declared here. The area code of a prefix is
// derived by padding it to a full-length number and asking PhoneNumberUtil,
// because several geocoding prefixes include the subscriber's first digit.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <phonenumbers/phonenumberutil.h>
#include <phonenumbers/phonenumber.pb.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace i18n::phonenumbers {
struct PrefixDescriptions {
  const int32_t* prefixes;
  int prefixes_size;
  const char** descriptions;
  const int32_t* possible_lengths;
  int possible_lengths_size;
};
const char** get_prefix_language_code_pairs();
int get_prefix_language_code_pairs_size();
const PrefixDescriptions* get_prefix_descriptions(int index);
}  // namespace i18n::phonenumbers

using namespace i18n::phonenumbers;

static const PrefixDescriptions* findTable(const std::string& pair) {
  const char** pairs = get_prefix_language_code_pairs();
  int n = get_prefix_language_code_pairs_size();
  for (int i = 0; i < n; ++i)
    if (pair == pairs[i]) return get_prefix_descriptions(i);
  return nullptr;
}

// Area code for a geocoding prefix (which starts with the calling code).
// Tries filler digits until the padded number is valid; returns "" if none is.
static std::string areaCode(const PhoneNumberUtil& u, int cc, const std::string& national,
                            bool* valid) {
  for (int len = 6; len <= 12; ++len) {
    if ((int)national.size() > len) continue;
    for (char fill : {'4', '5', '2', '3', '6', '7', '8', '1', '9', '0'}) {
      std::string digits = national + std::string(len - national.size(), fill);
      PhoneNumber pn;
      pn.set_country_code(cc);
      pn.set_national_number(std::strtoull(digits.c_str(), nullptr, 10));
      if (digits[0] == '0') {  // Italian-style leading zero
        pn.set_italian_leading_zero(true);
        int z = 0;
        while (z < (int)digits.size() && digits[z] == '0') ++z;
        if (z > 1) pn.set_number_of_leading_zeros(z);
      }
      if (!u.IsValidNumber(pn)) continue;
      int ndc = u.GetLengthOfNationalDestinationCode(pn);
      if (ndc <= 0) continue;
      std::string nsn;
      u.GetNationalSignificantNumber(pn, &nsn);
      *valid = true;
      return nsn.substr(0, ndc);
    }
  }
  *valid = false;
  return "";
}

static int dumpTable(const PhoneNumberUtil& u, int cc, const char* lang) {
  std::string pair = std::to_string(cc) + "_" + lang;
  const PrefixDescriptions* t = findTable(pair);
  if (!t) return 1;
  const std::string ccs = std::to_string(cc);
  for (int i = 0; i < t->prefixes_size; ++i) {
    std::string p = std::to_string(t->prefixes[i]);
    if (p.compare(0, ccs.size(), ccs) != 0) continue;
    std::string national = p.substr(ccs.size());
    bool valid = false;
    std::string ac = areaCode(u, cc, national, &valid);
    std::printf("%s\t%s\t%s\t%d\t%s\n", national.c_str(), t->descriptions[i], ac.c_str(),
                valid ? 1 : 0, pair.c_str());
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: phonedump table CC | ndc CC PREFIX... | countries\n");
    return 2;
  }
  const PhoneNumberUtil& u = *PhoneNumberUtil::GetInstance();
  std::string mode = argv[1];
  if (mode == "table" && argc == 3) {
    int cc = std::atoi(argv[2]);
    // Spanish table where one exists, else English; no table prints nothing.
    if (dumpTable(u, cc, "es") != 0) dumpTable(u, cc, "en");
    return 0;
  }
  if (mode == "ndc" && argc >= 3) {
    int cc = std::atoi(argv[2]);
    for (int i = 3; i < argc; ++i) {
      bool valid = false;
      std::string ac = areaCode(u, cc, argv[i], &valid);
      std::printf("%s\t%s\t%d\n", argv[i], ac.c_str(), valid ? 1 : 0);
    }
    return 0;
  }
  if (mode == "countries") {
    std::set<std::string> regions;
    u.GetSupportedRegions(&regions);
    icu::Locale es("es");
    for (const std::string& r : regions) {
      icu::UnicodeString name;
      icu::Locale("", r.c_str()).getDisplayCountry(es, name);
      std::string utf8;
      name.toUTF8String(utf8);
      std::printf("%s\t%d\t%s\n", r.c_str(), u.GetCountryCodeForRegion(r), utf8.c_str());
    }
    return 0;
  }
  std::fprintf(stderr, "unknown mode\n");
  return 2;
}
