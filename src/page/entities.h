#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// One HTML character entity: its name, and its code page 1252 byte.
struct Entity {
    const char* name;
    unsigned char code;
};

// The named characters the tool knows, in lookup order: decoding takes the
// row of the name, encoding the first row of a byte.
extern const Entity characterEntities[];
extern const std::size_t characterEntityCount;

// The five markup characters of HTML pages.
extern const Entity markupEntities[];
extern const std::size_t markupEntityCount;

// The UTF-8 text of a named character (U+0000 plus its code page 1252 byte,
// so U+0080-U+009F stand for the bytes 0x80-0x9F), or the reference rebuilt
// as "&name;" for a name the table does not hold.
std::string decodeEntity(std::string_view name);

// True and the UTF-8 text of the character when the table holds name.
bool lookupCharacterEntity(std::string_view name, std::string_view& utf8Text);

}  // namespace qv
