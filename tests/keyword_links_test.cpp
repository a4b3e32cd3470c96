// The binary keyword index: fields at their offsets in the files, as the
// CHM format gives them (76-byte header, 2048-byte blocks; a listing block's
// header is 12 bytes, an index block's 8).

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "chm/keyword_links.h"

namespace qv {
namespace {

// Numbers each new Local in order of first use, as #TOPICS would; records
// it with the title it came with.
struct RecordingTopics : TopicNumbers {
    std::uint32_t topicOf(const std::string& local, const std::string& title) override {
        for (std::uint32_t i = 0; i < seen.size(); ++i) {
            if (seen[i].compare(0, local.size() + 1, local + "|") == 0) return i;
        }
        seen.push_back(local + "|" + title);
        return static_cast<std::uint32_t>(seen.size() - 1);
    }
    std::vector<std::string> seen;
};

std::string w(std::uint32_t value) { return {char(value & 0xFF), char(value >> 8 & 0xFF)}; }
std::string d(std::uint32_t value) { return w(value & 0xFFFF) + w(value >> 16); }
std::string z(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) out += w(unit);
    return out + w(0);
}

TopicNode& add(TopicNode& parent, const std::string& title, const std::string& file = "",
               const std::string& anchor = "") {
    TopicNode& node = parent.appendChild();
    node.title = title;
    node.file = file;
    node.anchor = anchor;
    return node;
}

constexpr std::size_t kBlock0 = 0x4C;
constexpr std::size_t kRecord0 = kBlock0 + 12;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

struct Field {
    const char* file;  // after "/$WWKeywordLinks/"
    std::size_t offset;
    std::string bytes;
};

struct Case {
    const char* what;
    std::function<void(HelpProject&)> build;
    std::vector<Field> fields;
    std::vector<std::string> topics;  // "local|title", in the order they were numbered
    std::size_t btreeSize;
};

TEST(KeywordLinks, FieldsAtTheirOffsets) {
    const std::string keyword100 = z(u"keyword100");
    const Case
        cases[] =
            {
                {"one keyword",
                 [](HelpProject& p) { add(p.indexRoot, "aide", "pages/a.html", "x"); },
                 {{"BTree", 0, w(0x293B) + w(2) + w(2048) + "X44"},
                  // last listing block 0, root 0, -1, one block, depth 1, one keyword,
                  // code page 1252, the language
                  {"BTree", 0x1A, d(0) + d(0) + d(kNone) + d(1) + w(1) + d(1) + d(1252) + d(0x40C)},
                  // free space, count, no previous, no next
                  {"BTree", kBlock0, w(2048 - 12 - 38) + w(1) + d(kNone) + d(kNone)},
                  {"BTree", kRecord0,
                   z(u"aide") + w(0) + w(0) + d(0) + d(0) + d(1) + d(0) + d(1) + d(0)},
                  {"Data", 0, d(0) + d(5) + d(0x80) + std::string(1, '\0')},
                  {"Map", 0, w(1) + d(0) + d(0)},
                  {"Property", 0, d(0) + d(0) + d(0) + d(12) + d(1) + d(1) + d(0) + d(0)}},
                 {"aide/pages/a.html#x|aide"},
                 kBlock0 + 2048},
                {"a group with sub-keywords: the full name, where the last part starts",
                 [](HelpProject& p) {
                     TopicNode& group = add(p.indexRoot, "Caract\xE8res");
                     add(group, "typo", "pages/b.html", "titre");
                     add(group, "puces", "pages/c.html");
                 },
                 {{"BTree", kRecord0,
                   z(u"Caract\u00E8res") + w(2) + w(0) + d(0) + d(0) + d(1) +
                       z(u"Caract\u00E8res") + d(1) + d(0)},
                  {"BTree", kRecord0 + 22 + 16 + 22 + 8,
                   z(u"Caract\u00E8res, typo") + w(0) + w(1) + d(12) + d(0) + d(1) + d(0) + d(1) +
                       d(13) + z(u"Caract\u00E8res, puces") + w(0) + w(1) + d(12) + d(0) + d(1) +
                       d(1) + d(1) + d(26)},
                  {"Map", 0, w(1) + d(0) + d(0)}},
                 {"aide/pages/b.html|typo", "aide/pages/c.html|puces"},
                 kBlock0 + 2048},
                {"one keyword on several pages: one record, each topic once",
                 [](HelpProject& p) {
                     add(p.indexRoot, "carnets", "pages/a.html");
                     add(p.indexRoot, "carnets", "pages/b.html", "f");
                     add(p.indexRoot, "carnets", "pages/a.html", "titre");
                     add(p.indexRoot, "Carnets", "pages/c.html");
                 },
                 {{"BTree", 0x2C, d(2)},
                  {"BTree", kRecord0,
                   z(u"carnets") + w(0) + w(0) + d(0) + d(0) + d(2) + d(0) + d(1) + d(1) + d(0) +
                       z(u"Carnets") + w(0) + w(0) + d(0) + d(0) + d(1) + d(2) + d(1) + d(13)}},
                 {"aide/pages/a.html|carnets", "aide/pages/b.html#f|carnets",
                  "aide/pages/c.html|Carnets"},
                 kBlock0 + 2048},
                {"a keyword under an untitled group hangs under the keyword before it",
                 [](HelpProject& p) {
                     add(p.indexRoot, "a", "pages/a.html");
                     add(add(p.indexRoot, ""), "k", "pages/k.html");
                 },
                 {{"BTree", kRecord0 + 4 + 16 + 4 + 8,
                   z(u"a, k") + w(0) + w(1) + d(3) + d(0) + d(1) + d(1)}},
                 {"aide/pages/a.html|a", "aide/pages/k.html|k"},
                 kBlock0 + 2048},
                {"characters code page 1252 lacks, from the UTF-8 titles",
                 [](HelpProject& p) {
                     p.utf8Titles[&add(p.indexRoot, "???", "pages/j.html")] =
                         "\xE6\x97\xA5\xF0\x9F\x98\x80";
                     add(p.indexRoot, "\x80uro", "pages/e.html");
                 },
                 {{"BTree", kRecord0, z(u"\u65E5\U0001F600") + w(0) + w(0)},
                  {"BTree", kRecord0 + 8 + 16 + 4 + 8, z(u"\u20ACuro")}},
                 {"aide/pages/j.html|???", "aide/pages/e.html|\x80uro"},
                 kBlock0 + 2048},
                // Each record: 22 bytes of name, 16 of fields, one topic, 8 of
                // trailer: 50 bytes, 40 in a block's 2036.
                {"two listing blocks and an index block above them",
                 [](HelpProject& p) {
                     for (int i = 100; i < 150; ++i) {
                         add(p.indexRoot, "keyword" + std::to_string(i), "pages/p.html");
                     }
                 },
                 {{"BTree", 0x1A, d(1) + d(2) + d(kNone) + d(3) + w(2) + d(50)},
                  {"BTree", kBlock0, w(2036 - 40 * 50) + w(40) + d(kNone) + d(1)},
                  {"BTree", kBlock0 + 2048,
                   w(2036 - 10 * 50) + w(10) + d(0) + d(kNone) + z(u"keyword140")},
                  // Its records: each child's first keyword, without the listing
                  // trailer, then the child's number.
                  {"BTree", kBlock0 + 2 * 2048,
                   w(2040 - 2 * 46) + w(2) + d(0) + keyword100 + w(0) + w(0) + d(0) + d(0) + d(1) +
                       d(0) + d(0) + z(u"keyword140") + w(0) + w(0) + d(0) + d(0) + d(1) + d(0) +
                       d(1)},
                  {"Map", 0, w(2) + d(0) + d(0) + d(40) + d(1)},
                  {"Data", 49 * 13, d(0) + d(5)}},
                 {"aide/pages/p.html|keyword100"},
                 kBlock0 + 3 * 2048},
                {"too many topics for a block: several records of the same name",
                 [](HelpProject& p) {
                     for (int i = 0; i < 600; ++i) add(p.indexRoot, "k", "p" + std::to_string(i));
                 },
                 // (2036 - 4 of name - 16 - 8) / 4 = 502 topics in the first record
                 {{"BTree", 0x2C, d(2)},
                  {"BTree", kRecord0, z(u"k") + w(0) + w(0) + d(0) + d(0) + d(502)},
                  {"BTree", kBlock0 + 2048 + 12,
                   z(u"k") + w(0) + w(0) + d(0) + d(0) + d(98) + d(502)}},
                 {},
                 kBlock0 + 3 * 2048},
                // 500 units of name kept: 1002 + 16 + 4 + 8 bytes, one record a
        // block; the index records cut theirs to 240 units: 482 + 16 + 4 + 4.
        {"names too long for a block are cut",
         [](HelpProject& p) {
             for (char c : {'a', 'b', 'c'}) add(p.indexRoot, std::string(600, c), "pages/p.html");
         },
         {{"BTree", 0x1A, d(2) + d(3) + d(kNone) + d(4) + w(2) + d(3)},
          {"BTree", kRecord0 + 998, w('a') + w(0) + w(0) + w(0) + d(0) + d(0) + d(1)},
          {"BTree", kBlock0 + 3 * 2048, w(2040 - 3 * 506) + w(3) + d(0)},
          {"BTree", kBlock0 + 3 * 2048 + 8 + 478, w('a') + w(0) + w(0) + w(0)}},
         {},
         kBlock0 + 4 * 2048},
        {"no keyword: one empty block",
                 [](HelpProject&) {},
                 {{"BTree", 0x1A, d(0) + d(0) + d(kNone) + d(1) + w(1) + d(0)},
                  {"BTree", kBlock0, w(2036) + w(0) + d(kNone) + d(kNone)},
                  {"Property", 0, d(0)}},
                 {},
                 kBlock0 + 2048},
            };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HelpProject project;
        project.listDirectoryUrl = "aide/";
        project.languageId = 0x40C;
        c.build(project);
        RecordingTopics topics;
        std::map<std::string, std::string> files;
        for (const ChmFile& file : buildKeywordLinks(project, topics)) {
            EXPECT_TRUE(file.compressed);
            files[file.name] = file.content;
        }
        EXPECT_EQ(files.size(), 5u);
        EXPECT_EQ(files["/$WWAssociativeLinks/Property"], d(0));
        EXPECT_EQ(files["/$WWKeywordLinks/BTree"].size(), c.btreeSize);
        for (const Field& field : c.fields) {
            const std::string& content = files[std::string("/$WWKeywordLinks/") + field.file];
            EXPECT_EQ(content.substr(field.offset, field.bytes.size()), field.bytes)
                << field.file << " at " << field.offset;
        }
        if (!c.topics.empty()) {
            EXPECT_EQ(topics.seen, c.topics);
        }
    }
}

}  // namespace
}  // namespace qv
