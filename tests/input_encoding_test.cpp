#include "text/input_encoding.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using namespace std::string_literals;

struct Case {
    const char* what;
    std::string input;
    std::string expected;
    InputEncoding encoding;
    std::string declared;
};

constexpr auto kUtf8 = InputEncoding::Utf8;
constexpr auto kUtf16 = InputEncoding::Utf16;
constexpr auto kDeclared = InputEncoding::Declared;
constexpr auto kCp1252 = InputEncoding::Cp1252Fallback;

TEST(InputEncoding, DecodesEveryKindOfInput) {
    const Case cases[] = {
        {"ASCII", "<p>Hello</p>", "<p>Hello</p>", kUtf8, ""},
        {"valid UTF-8 wins over its declaration",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xC3\xA9</a>",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xC3\xA9</a>", kUtf8, ""},
        {"UTF-8 BOM kept", "\xEF\xBB\xBF<p>\xF0\x9F\x98\x80</p>",
         "\xEF\xBB\xBF<p>\xF0\x9F\x98\x80</p>", kUtf8, ""},
        {"windows-1252 without declaration", "Pokorn\xFD cadr\xE9 \x80",
         "Pokorn\xC3\xBD cadr\xC3\xA9 \xE2\x82\xAC", kCp1252, ""},
        {"a cut sequence gives each byte", "\xE2\x82\x44", "\xC3\xA2\xE2\x80\x9A\x44", kCp1252, ""},
        {"bytes windows-1252 leaves undefined", "\x81\x8D\x8F\x90\x9D",
         "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", kCp1252, ""},
        {"stray byte among UTF-8", "caf\xC3\xA9 \x92 na\xC3\xAFve",
         "caf\xC3\xA9 \xE2\x80\x99 na\xC3\xAFve", kCp1252, ""},
        {"stray byte inside an ASCII block of eight", std::string(15, 'a') + "\xE9" + "bb",
         std::string(15, 'a') + "\xC3\xA9" + "bb", kCp1252, ""},
        {"sequence cut by the end", "abc\xE2\x82", "abc\xC3\xA2\xE2\x80\x9A", kCp1252, ""},
        {"overlong, surrogate, above U+10FFFF", "\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80",
         "\xC3\x80\xC2\xAF|\xC3\xAD\xC2\xA0\xE2\x82\xAC|\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC",
         kCp1252, ""},
        {"XML declaration in upper case",
         " \n<?XML version=\"1.0\" ENCODING='ISO-8859-1'?><a>caf\xE9</a>",
         " \n<?XML version=\"1.0\" ENCODING='ISO-8859-1'?><a>caf\xC3\xA9</a>", kDeclared,
         "ISO-8859-1"},
        {"meta charset, unquoted", "<head><meta charset=windows-1252><p>\x93\xE9\x94",
         "<head><meta charset=windows-1252><p>\xE2\x80\x9C\xC3\xA9\xE2\x80\x9D", kDeclared,
         "windows-1252"},
        {"meta http-equiv after an XML declaration without encoding",
         "<?xml version=\"1.0\"?><META HTTP-EQUIV='Content-Type' "
         "CONTENT=\"text/html; charset=iso-8859-1\"><p>\xE9",
         "<?xml version=\"1.0\"?><META HTTP-EQUIV='Content-Type' "
         "CONTENT=\"text/html; charset=iso-8859-1\"><p>\xC3\xA9",
         kDeclared, "iso-8859-1"},
        {"multibyte encoding decoded by ICU",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a>\x93\xFA\x96\x7B</a>",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a>\xE6\x97\xA5\xE6\x9C\xAC</a>", kDeclared,
         "Shift_JIS"},
        {"meta past the first 1024 bytes", std::string(1100, ' ') + "<meta charset=koi8-r>\xE9",
         std::string(1100, ' ') + "<meta charset=koi8-r>\xC3\xA9", kCp1252, ""},
        {"meta inside a comment", "<!-- a > b <meta charset=koi8-r> --><p>\xE9",
         "<!-- a > b <meta charset=koi8-r> --><p>\xC3\xA9", kCp1252, ""},
        {"charset ICU does not know", "<meta charset=\"x-no-such-set\">\xE9",
         "<meta charset=\"x-no-such-set\">\xC3\xA9", kCp1252, "x-no-such-set"},
        {"UTF-8 declared, not valid", "<meta charset=utf8>\xE9", "<meta charset=utf8>\xC3\xA9",
         kCp1252, "utf8"},
        {"UTF-16 declared in ASCII", "<?xml version='1.0' encoding='UTF-16'?>\xE9",
         "<?xml version='1.0' encoding='UTF-16'?>\xC3\xA9", kCp1252, "UTF-16"},
        {"UTF-8 BOM outweighs a declaration", "\xEF\xBB\xBF<meta charset=koi8-r>\xE9",
         "\xEF\xBB\xBF<meta charset=koi8-r>\xC3\xA9", kCp1252, ""},
        {"UTF-16 LE with a surrogate pair", "\xFF\xFE<\0\xE9\0\x3D\xD8\x00\xDE"s,
         "\xEF\xBB\xBF<\xC3\xA9\xF0\x9F\x98\x80", kUtf16, ""},
        {"UTF-16 BE with a surrogate pair", "\xFE\xFF\0<\0\xE9\xD8\x3D\xDE\x00"s,
         "\xEF\xBB\xBF<\xC3\xA9\xF0\x9F\x98\x80", kUtf16, ""},
        {"UTF-16 unpaired surrogates, odd last byte", "\xFE\xFF\xD8\x3D\0z\xDC\x00\x41"s,
         "\xEF\xBB\xBF\xEF\xBF\xBDz\xEF\xBF\xBD\xEF\xBF\xBD", kUtf16, ""},
    };
    for (const Case& c : cases) {
        std::string text = c.input;
        const InputDecoding result = decodeInputText(text);
        EXPECT_EQ(text, c.expected) << c.what;
        EXPECT_EQ(result.encoding, c.encoding) << c.what;
        EXPECT_EQ(result.declaredName, c.declared) << c.what;
    }
}

}  // namespace
}  // namespace qv
