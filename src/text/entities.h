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

// True and the UTF-8 text of a named character when the table holds name:
// U+0000 plus its code page 1252 byte, so that U+0080-U+009F stand for the
// bytes 0x80-0x9F.
bool lookupCharacterEntity(std::string_view name, std::string_view& utf8Text);

}  // namespace qv
