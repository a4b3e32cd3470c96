#include "text/entities.h"

#include <vector>

#include "text/cp1252.h"

namespace qv {

const Entity characterEntities[] = {
    {"nbsp", 0xA0},   {"eacute", 0xE9}, {"egrave", 0xE8}, {"ecirc", 0xEA},  {"agrave", 0xE0},
    {"ccedil", 0xE7}, {"ugrave", 0xF9}, {"acirc", 0xE2},  {"icirc", 0xEE},  {"ocirc", 0xF4},
    {"ucirc", 0xFB},  {"auml", 0xE4},   {"euml", 0xEB},   {"iuml", 0xEF},   {"ouml", 0xF6},
    {"uuml", 0xFC},   {"aacute", 0xE1}, {"aelig", 0xE6},  {"aring", 0xE5},  {"atilde", 0xE3},
    {"iacute", 0xED}, {"igrave", 0xEC}, {"ntilde", 0xF1}, {"oacute", 0xF3}, {"oelig", 0x9C},
    {"ograve", 0xF2}, {"otilde", 0xF5}, {"uacute", 0xFA}, {"yacute", 0xFD}, {"yuml", 0xFF},
    {"euro", 0x80},   {"Eacute", 0xC9}, {"Egrave", 0xC8}, {"Ecirc", 0xCA},  {"Agrave", 0xC0},
    {"Ccedil", 0xC7}, {"Ugrave", 0xD9}, {"Acirc", 0xC2},  {"Icirc", 0xCE},  {"Ocirc", 0xD4},
    {"Ucirc", 0xDB},  {"Auml", 0xC4},   {"Euml", 0xCB},   {"Iuml", 0xCF},   {"Ouml", 0xD6},
    {"Uuml", 0xDC},   {"Aacute", 0xC1}, {"AElig", 0xC6},  {"Aring", 0xC5},  {"Atilde", 0xC3},
    {"Iacute", 0xCD}, {"Igrave", 0xCC}, {"Ntilde", 0xD1}, {"Oacute", 0xD3}, {"OElig", 0x8C},
    {"Ograve", 0xD2}, {"Otilde", 0xD5}, {"Uacute", 0xDA}, {"Yacute", 0xDD}, {"Yuml", 0x9F},
    {"copy", 0xA9},   {"reg", 0xAE},    {"trade", 0x99},  {"fnof", 0x83},   {"hellip", 0x85},
    {"mldr", 0x85},   {"ndash", 0x96},  {"mdash", 0x97},  {"dagger", 0x86}, {"Dagger", 0x87},
    {"eth", 0xF0},    {"ETH", 0xD0},    {"circ", 0x88},   {"permil", 0x89}, {"scaron", 0x9A},
    {"Scaron", 0x8A}, {"zcaron", 0x9E}, {"Zcaron", 0x8E}, {"bull", 0x95},   {"tilde", 0x98},
    {"laquo", 0xAB},  {"raquo", 0xBB},  {"ldquo", 0x93},  {"rdquo", 0x94},  {"lsquo", 0x91},
    {"rsquo", 0x92},  {"rsaquo", 0x9B}, {"lsaquo", 0x8B}, {"lsquor", 0x82}, {"ldquor", 0x84},
    {"iquest", 0xBF}, {"iexcl", 0xA1},  {"cent", 0xA2},   {"pound", 0xA3},  {"curren", 0xA4},
    {"yen", 0xA5},    {"brvbar", 0xA6}, {"sect", 0xA7},   {"uml", 0xA8},    {"die", 0xA8},
    {"Dot", 0xA8},    {"ordf", 0xAA},   {"not", 0xAC},    {"shy", 0xAD},    {"macr", 0xAF},
    {"deg", 0xB0},    {"plusmn", 0xB1}, {"sup2", 0xB2},   {"sup3", 0xB3},   {"acute", 0xB4},
    {"micro", 0xB5},  {"para", 0xB6},   {"middot", 0xB7}, {"cedil", 0xB8},  {"sup1", 0xB9},
    {"ordm", 0xBA},   {"frac14", 0xBC}, {"half", 0xBD},   {"frac12", 0xBD}, {"frac34", 0xBE},
    {"times", 0xD7},  {"Oslash", 0xD8}, {"THORN", 0xDE},  {"szlig", 0xDF},  {"divide", 0xF7},
    {"oslash", 0xF8}, {"thorn", 0xFE},  {"excl", 0x21},   {"num", 0x23},    {"dollar", 0x24},
    {"percnt", 0x25}, {"lpar", 0x28},   {"rpar", 0x29},   {"ast", 0x2A},    {"plus", 0x2B},
    {"comma", 0x2C},  {"hyphen", 0x2D}, {"period", 0x2E}, {"sol", 0x2F},    {"colon", 0x3A},
    {"semi", 0x3B},   {"equals", 0x3D}, {"quest", 0x3F},  {"commat", 0x40}, {"lsqb", 0x5B},
    {"bsol", 0x5C},   {"sbsol", 0x5C},  {"rsqb", 0x5D},   {"lowbar", 0x5F},
};
const std::size_t characterEntityCount = sizeof characterEntities / sizeof characterEntities[0];

const Entity markupEntities[] = {
    {"nbsp", 0xA0}, {"lt", 0x3C}, {"gt", 0x3E}, {"quot", 0x22}, {"amp", 0x26},
};
const std::size_t markupEntityCount = sizeof markupEntities / sizeof markupEntities[0];

namespace {

// The UTF-8 text of U+0000 plus the byte: one byte below 0x80, two above.
std::string utf8OfByte(unsigned char code) {
    std::string text;
    appendUtf8(text, code);
    return text;
}

// The names grouped by their first byte and length, each with its UTF-8
// text; names are unique, so the first equal row of a group is the row.
struct NamedText {
    std::string_view name;
    char utf8[2];
    unsigned char utf8Length;
};

class EntityIndex {
public:
    EntityIndex() {
        for (std::size_t i = 0; i < characterEntityCount; ++i) {
            std::string_view name = characterEntities[i].name;
            std::string text = utf8OfByte(characterEntities[i].code);
            NamedText row{name,
                          {text[0], text.size() > 1 ? text[1] : '\0'},
                          static_cast<unsigned char>(text.size())};
            groups_[key(name)].push_back(row);
        }
    }

    const NamedText* find(std::string_view name) const {
        if (name.empty() || name.size() >= kLengths) return nullptr;
        for (const NamedText& row : groups_[key(name)]) {
            if (row.name == name) return &row;
        }
        return nullptr;
    }

private:
    static constexpr std::size_t kLengths = 8;  // names are at most 6 bytes
    static std::size_t key(std::string_view name) {
        return static_cast<unsigned char>(name[0]) * kLengths + name.size();
    }
    std::vector<NamedText> groups_[256 * kLengths];
};

const EntityIndex& entityIndex() {
    static const EntityIndex* index = new EntityIndex();
    return *index;
}

}  // namespace

bool lookupCharacterEntity(std::string_view name, std::string_view& utf8Text) {
    const NamedText* row = entityIndex().find(name);
    if (row == nullptr) return false;
    utf8Text = std::string_view(row->utf8, row->utf8Length);
    return true;
}

}  // namespace qv
