#include "engine/WordFold.h"

#include <gtest/gtest.h>

namespace {

using wordfold::kAddress;
using wordfold::kName;

std::vector<std::string> words(std::string_view text, int kind)
{
    return wordfold::splitWords(text, kind);
}

TEST(WordFold, WordBytesOfNamesAndAddresses)
{
    const std::string nameWord = "$'+.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (unsigned char c : nameWord)
        EXPECT_FALSE(wordfold::isSeparator(c, kName)) << int(c);
    for (int c :
         {0x81, 0x90, 0x93, 0x97, 0x99, 0x9A, 0x9C, 0xA0, 0xA5, 0xB0, 0xC0, 0xC6, 0xCC, 0xD6, 0xD9, 0xDC, 0xE0, 0xFF})
        EXPECT_FALSE(wordfold::isSeparator(static_cast<unsigned char>(c), kName)) << c;
    for (int c :
         {0x00, 0x20, 0x21, 0x22, 0x23, 0x25, 0x26, 0x28, 0x2A, 0x2C, 0x2D, 0x2F, 0x3A, 0x40, 0x5B, 0x60, 0x7B, 0x7F,
          0x80, 0x91, 0x92, 0x98, 0x9B, 0x9D, 0x9F, 0xA6, 0xAF, 0xB1, 0xBF, 0xC7, 0xC9, 0xCB, 0xD7, 0xD8, 0xDD, 0xDF})
        EXPECT_TRUE(wordfold::isSeparator(static_cast<unsigned char>(c), kName)) << c;
    // Address text: the same, except that the full stop separates.
    for (int c = 0; c < 256; ++c) {
        if (c != '.') {
            EXPECT_EQ(wordfold::isSeparator(static_cast<unsigned char>(c), kName),
                      wordfold::isSeparator(static_cast<unsigned char>(c), kAddress))
                << c;
        }
    }
    EXPECT_TRUE(wordfold::isSeparator('.', kAddress));
}

TEST(WordFold, Folds)
{
    struct Case {
        int from;
        int to;
    };
    for (Case c : std::initializer_list<Case>{
             {'a', 'A'},  {'z', 'Z'},   {'\'', 0x60}, {0x81, 'U'},  {0x96, 'U'},  {0x9A, 'U'},  {0xA3, 'U'},
             {0xDA, 'U'}, {0xFC, 'U'},  {0x82, 'E'},  {0x8A, 'E'},  {0x90, 'E'},  {0xE9, 'E'},  {0x83, 'A'},
             {0x8F, 'A'}, {0xA0, 'A'},  {0xC1, 'A'},  {0xE6, 'A'},  {0x87, 'C'},  {0xE7, 'C'},  {0x8D, 'I'},
             {0xA1, 'I'}, {0xCD, 'I'},  {0xEF, 'I'},  {0x93, 'O'},  {0x99, 'O'},  {0xA2, 'O'},  {0xD3, 'O'},
             {0xF0, 'O'}, {0xF6, 'O'},  {0xA4, 'N'},  {0xA5, 'N'},  {0x9C, 0x8C}, {0xF1, 0xD1}, {0xFD, 'Y'},
             {0xFF, 'Y'}, {0xD1, 0xD1}, {0xF7, 0xF7}, {0xF8, 0xF8}, {'5', '5'},   {'$', '$'},   {0xB0, 0xB0}})
        EXPECT_EQ(wordfold::fold(static_cast<unsigned char>(c.from)), c.to) << c.from;
}

TEST(WordFold, SplitsDropsShortWordsAndKeepsPositionPerCaller)
{
    EXPECT_EQ(words("  Perez, Juan  de la CRUZ ", kName), (std::vector<std::string>{"PEREZ", "JUAN", "CRUZ"}));
    EXPECT_EQ(words("JOS\xC9", kName), (std::vector<std::string>{"JOS"})); // upper-case E-acute separates
    EXPECT_EQ(words("jos\xE9", kName), (std::vector<std::string>{"JOSE"}));
    EXPECT_EQ(words("AV. SAN MARTIN", kAddress), (std::vector<std::string>{"SAN", "MARTIN"}));
    EXPECT_EQ(words("S.A.", kName), (std::vector<std::string>{"S.A."}));
    EXPECT_EQ(words("O'Higgins 1234", kAddress), (std::vector<std::string>{"O`HIGGINS", "1234"}));
    EXPECT_EQ(words("Mu\xF1oz y Cia", kName), (std::vector<std::string>{"MU\xD1OZ", "CIA"}));
    EXPECT_TRUE(words("", kName).empty());
    EXPECT_TRUE(words("a b cd", kName).empty());

    size_t a = 0;
    size_t b = 0;
    const std::string text = "uno dos tres";
    EXPECT_EQ(wordfold::NextWord(text, kName, a), "UNO");
    EXPECT_EQ(wordfold::NextWord(text, kName, a), "DOS");
    EXPECT_EQ(wordfold::NextWord(text, kName, b), "UNO");
    EXPECT_EQ(wordfold::NextWord(text, kName, a), "TRES");
    EXPECT_EQ(wordfold::NextWord(text, kName, a), "");
    EXPECT_EQ(wordfold::NextWord(text, kName, a), "");

    EXPECT_TRUE(wordfold::HasWord("x abc", kName));
    EXPECT_FALSE(wordfold::HasWord("x ab ..", kAddress));
    EXPECT_TRUE(wordfold::HasWord("x ab ...", kName));
    EXPECT_FALSE(wordfold::HasWord("", kName));
}

TEST(WordFold, SearchKeysAndStoredKeysAgree)
{
    EXPECT_EQ(wordfold::normaliseKey("  perez").key, "PEREZ");
    EXPECT_FALSE(wordfold::normaliseKey("perez").wholeWord);
    const auto whole = wordfold::normaliseKey("perez.");
    EXPECT_EQ(whole.key, "PEREZ");
    EXPECT_TRUE(whole.wholeWord);
    EXPECT_EQ(wordfold::normaliseKey("abcdefghijklmn").key, "ABCDEFGHIJK");
    EXPECT_EQ(wordfold::normaliseKey("\xF1"
                                     "and\xFA")
                  .key,
              "\xD1"
              "AND\xDA");

    // A record's word is stored as the lookup of the same word normalises it, so "S.A." asked as
    // a whole word finds the record whose name holds "S.A.".
    std::vector<std::string> keys;
    wordfold::indexKeys("Perez S.A. Constructoras Reunidas del Sur", kName, keys);
    EXPECT_EQ(keys, (std::vector<std::string>{"PEREZ", "S.A", "CONSTRUCTOR", "REUNIDAS", "DEL", "SUR"}));
    for (const std::string& w : wordfold::splitWords("Perez S.A. Constructoras", kName)) {
        const auto sk = wordfold::normaliseKey(w);
        EXPECT_NE(std::find(keys.begin(), keys.end(), sk.key), keys.end()) << w;
    }
    keys.clear();
    wordfold::indexKeys("AB. ...", kName, keys);
    EXPECT_EQ(keys, (std::vector<std::string>{"AB", ".."}));
}

} // namespace
