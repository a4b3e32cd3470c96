#include "chm/full_text_index.h"

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <string_view>

#include "chm/scale_root.h"
#include "platform/word_breaker.h"
#include "text/cp1252.h"
#include "text/visible_text.h"

namespace qv {

namespace {

// The file: a header, then for each leaf node the word lists of its words
// followed by the node itself, then the index nodes, level by level up to
// the root. Every node is as long as the header says.
constexpr std::size_t kHeaderSize = 0x400;
constexpr std::size_t kNodeSize = 0x1000;
constexpr std::size_t kLeafHeaderSize = 8;   // next leaf, 0, free space
constexpr std::size_t kIndexHeaderSize = 2;  // free space
// A word's length goes in a byte; longer runs of letters (an identifier, a
// key written out) are cut, at a character's start.
constexpr std::size_t kMaxWordBytes = 127;
// Readers compare a query with the words byte by byte: each word is stored
// in UTF-8 (chmlib's search takes UTF-8 queries), and again in code page 1252
// when it has other characters than ASCII and that code page holds them all,
// as the help's viewer converts a query to the code page the header names,
// the one of every text of the help.
constexpr std::uint32_t kHelpCodePage = 1252;

// Where a word stands: a topic, and the number of the word in it, from 0.
// A word's places come in increasing order, topic by topic: one list per
// word, where one per word and topic would cost an allocation each.
struct Place {
    std::uint32_t topic;
    std::uint32_t location;
};
using Places = std::vector<Place>;

// The words met and their places, each word stored once: looked up by its
// bytes in an open-addressed table, with no string made for a word met
// before (most occurrences on a large help set).
class WordLists {
public:
    Places& operator[](std::string_view word) {
        if (2 * (words_.size() + 1) > slots_.size()) grow();
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hashOf(word) & mask;; at = (at + 1) & mask) {
            const std::uint32_t slot = slots_[at];
            if (slot == 0) {
                words_.emplace_back(word);
                places_.emplace_back();
                slots_[at] = static_cast<std::uint32_t>(words_.size());
                return places_.back();
            }
            if (words_[slot - 1] == word) return places_[slot - 1];
        }
    }

    // Calls visit(word, places) for each word, in no particular order.
    template <typename Visit>
    void forEach(Visit visit) const {
        for (std::size_t i = 0; i < words_.size(); ++i) visit(words_[i], places_[i]);
    }

private:
    static std::size_t hashOf(std::string_view word) { return std::hash<std::string_view>{}(word); }

    void grow() {
        std::vector<std::uint32_t> slots(slots_.empty() ? 1024 : 2 * slots_.size(), 0);
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = 0; i < words_.size(); ++i) {
            std::size_t at = hashOf(words_[i]) & mask;
            while (slots[at] != 0) at = (at + 1) & mask;
            slots[at] = static_cast<std::uint32_t>(i + 1);
        }
        slots_.swap(slots);
    }

    std::deque<std::string> words_;  // stable: the entries point to them
    std::deque<Places> places_;
    std::vector<std::uint32_t> slots_;  // 1 + the word's number; 0: free
};

// Calls visit(topic, first, end) for the places [first, end) of each topic.
template <typename Visit>
void forEachTopic(const Places& places, Visit visit) {
    for (std::size_t first = 0, end = 0; first < places.size(); first = end) {
        while (end < places.size() && places[end].topic == places[first].topic) ++end;
        visit(places[first].topic, first, end);
    }
}

// The encoded topics, counts and locations of a word's places, written once
// for both forms of the word.
struct List {
    std::string bytes;
    std::uint32_t topicCount = 0;
    std::uint32_t offset = 0;  // in the file; 0 until written
};

// One word of the leaf nodes: its body or its title occurrences.
struct Entry {
    const std::string* word;
    bool title;
    const Places* places;
    List* list;
};

// Words in byte order, as readers compare them; a word's body places before
// its title places, so that a reader that stops at the first finds all.
bool wordOrder(const Entry& a, const Entry& b) {
    const int order = a.word->compare(*b.word);
    return order != 0 ? order < 0 : !a.title && b.title;
}

// A node of the tree, by the last word below it.
struct NodeRef {
    const std::string* lastWord;
    std::uint32_t offset;
};

// The roots of the three kinds of numbers, each chosen for the fewest bits
// from how many values of each bit length there are.
using LengthCounts = std::array<std::uint64_t, 65>;
struct Roots {
    unsigned topic = 1, count = 1, location = 1;
};

void putU16(std::string& file, std::size_t at, std::uint32_t value) {
    file[at] = static_cast<char>(value & 0xFF);
    file[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void putU32(std::string& file, std::size_t at, std::uint32_t value) {
    putU16(file, at, value & 0xFFFF);
    putU16(file, at + 2, value >> 16);
}

void appendU32(std::string& out, std::uint32_t value) {
    out.append(4, '\0');
    putU32(out, out.size() - 4, value);
}

std::string_view cutWord(std::string_view word) {
    if (word.size() <= kMaxWordBytes) return word;
    std::size_t cut = kMaxWordBytes;
    while (cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80) --cut;
    return word.substr(0, cut);
}

void addOccurrence(WordLists& lists, std::string_view word, std::uint32_t topic,
                   std::uint32_t location) {
    lists[cutWord(word)].push_back({topic, location});
}

unsigned bitLength(std::uint64_t value) {
    return value == 0 ? 0 : 64 - static_cast<unsigned>(__builtin_clzll(value));
}

unsigned bestRoot(const LengthCounts& counts) {
    unsigned best = 1;
    std::uint64_t bestBits = UINT64_MAX;
    for (unsigned root = 1; root <= 32; ++root) {
        std::uint64_t bits = 0;
        for (unsigned length = 0; length < counts.size(); ++length) {
            const std::uint64_t value = length == 0 ? 0 : std::uint64_t{1} << (length - 1);
            bits += counts[length] * scaleRootBits(value, root);
        }
        if (bits < bestBits) {
            best = root;
            bestBits = bits;
        }
    }
    return best;
}

// Adds the code page 1252 form of each word that has one apart from its
// UTF-8 form, with the same list, and sorts the whole again.
void addCodePageForms(std::vector<Entry>& entries, std::deque<std::string>& forms) {
    const std::size_t count = entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& word = *entries[i].word;
        const bool ascii = std::all_of(word.begin(), word.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii) continue;
        std::string form = utf8ToCp1252(word);
        // A character the code page lacks becomes "?", which no word holds.
        if (form.find('?') != std::string::npos) continue;
        forms.push_back(std::move(form));
        entries.push_back({&forms.back(), entries[i].title, entries[i].places, entries[i].list});
    }
    std::sort(entries.begin(), entries.end(), wordOrder);
}

Roots chooseRoots(const std::vector<Entry>& entries) {
    LengthCounts topics{}, counts{}, locations{};
    for (const Entry& entry : entries) {
        const Places& places = *entry.places;
        std::uint32_t previousTopic = 0;
        forEachTopic(places, [&](std::uint32_t topic, std::size_t first, std::size_t end) {
            ++topics[bitLength(topic - previousTopic)];
            previousTopic = topic;
            ++counts[bitLength(end - first)];
            std::uint32_t previous = 0;
            for (std::size_t i = first; i < end; ++i) {
                ++locations[bitLength(places[i].location - previous)];
                previous = places[i].location;
            }
        });
    }
    return {bestRoot(topics), bestRoot(counts), bestRoot(locations)};
}

// The topics of a word, each from a byte: its number (less the one before),
// how often the word occurs in it, and where (each less the one before).
List encodeList(const Places& places, const Roots& roots) {
    List list;
    BitWriter bits;
    std::uint32_t previousTopic = 0;
    forEachTopic(places, [&](std::uint32_t topic, std::size_t first, std::size_t end) {
        bits.writeScaleRoot(topic - previousTopic, roots.topic);
        previousTopic = topic;
        ++list.topicCount;
        bits.writeScaleRoot(end - first, roots.count);
        std::uint32_t previous = 0;
        for (std::size_t i = first; i < end; ++i) {
            bits.writeScaleRoot(places[i].location - previous, roots.location);
            previous = places[i].location;
        }
        bits.padToByte();
    });
    list.bytes = bits.takeBytes();
    return list;
}

// The bytes a word shares with the one before it in its node, which it does
// not repeat.
std::size_t sharedPrefix(const std::string& previous, const std::string& word) {
    const std::size_t most = std::min({previous.size(), word.size(), std::size_t{255}});
    std::size_t shared = 0;
    while (shared < most && previous[shared] == word[shared]) ++shared;
    return shared;
}

void appendWord(std::string& out, const std::string& word, std::size_t shared) {
    out += static_cast<char>(word.size() - shared + 1);
    out += static_cast<char>(shared);
    out.append(word, shared, std::string::npos);
}

const std::string& wordOf(const Entry& entry) { return *entry.word; }
const std::string& wordOf(const NodeRef& node) { return *node.lastWord; }

void appendEntry(std::string& out, const Entry& entry, std::size_t shared) {
    appendWord(out, *entry.word, shared);
    out += static_cast<char>(entry.title ? 1 : 0);
    appendEncIntLowFirst(out, entry.list->topicCount);
    appendU32(out, entry.list->offset);
    out.append(2, '\0');
    appendEncIntLowFirst(out, entry.list->bytes.size());
}

void appendEntry(std::string& out, const NodeRef& child, std::size_t shared) {
    appendWord(out, *child.lastWord, shared);
    appendU32(out, child.offset);
    out.append(2, '\0');
}

// The entries of items [first, end) as one node holds them: each word but
// the node's first without what it shares with the one before. The size
// of an entry does not depend on the offset it holds.
template <typename Item>
std::string nodeEntries(const std::vector<Item>& items, std::size_t first, std::size_t end) {
    std::string out;
    for (std::size_t i = first; i < end; ++i) {
        appendEntry(out, items[i],
                    i > first ? sharedPrefix(wordOf(items[i - 1]), wordOf(items[i])) : 0);
    }
    return out;
}

// Where each node's items end: as many as fit in each, in order.
template <typename Item>
std::vector<std::size_t> nodeEnds(const std::vector<Item>& items, std::size_t headerSize) {
    std::vector<std::size_t> ends;
    std::size_t first = 0;
    std::size_t used = headerSize;
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::string entry;
        appendEntry(entry, items[i],
                    i > first ? sharedPrefix(wordOf(items[i - 1]), wordOf(items[i])) : 0);
        if (i > first && used + entry.size() > kNodeSize) {
            ends.push_back(i);
            first = i;
            used = headerSize;
            entry.clear();
            appendEntry(entry, items[i], 0);
        }
        used += entry.size();
    }
    ends.push_back(items.size());
    return ends;
}

std::uint32_t offsetOf(const std::string& file) { return static_cast<std::uint32_t>(file.size()); }

// Appends a node: its header, its entries, zeros to its size. Returns its
// free space, which the header holds at freeAt.
std::uint32_t appendNode(std::string& file, std::size_t headerSize, std::size_t freeAt,
                         const std::string& entries) {
    const std::size_t start = file.size();
    const auto free = static_cast<std::uint32_t>(kNodeSize - headerSize - entries.size());
    file.append(headerSize, '\0');
    putU16(file, start + freeAt, free);
    file += entries;
    file.resize(start + kNodeSize, '\0');
    return free;
}

// The tree of the words: the leaves, each after the lists of its words,
// then the index nodes, level by level, the root last.
struct Tree {
    std::uint32_t root = 0;
    std::uint16_t depth = 1;
    std::uint32_t leafCount = 0;
    std::uint32_t lastLeafFree = 0;
};

Tree appendTree(std::string& file, std::vector<Entry>& entries) {
    static const std::string noWord;
    Tree tree;
    std::vector<NodeRef> level;
    std::size_t first = 0;
    for (std::size_t end : nodeEnds(entries, kLeafHeaderSize)) {
        for (std::size_t i = first; i < end; ++i) {
            List& list = *entries[i].list;
            if (list.offset != 0) continue;  // with the word's other form
            list.offset = offsetOf(file);
            file += list.bytes;
        }
        // The leaf before points to this one.
        if (!level.empty()) putU32(file, level.back().offset, offsetOf(file));
        level.push_back({end > first ? entries[end - 1].word : &noWord, offsetOf(file)});
        tree.lastLeafFree = appendNode(file, kLeafHeaderSize, 6, nodeEntries(entries, first, end));
        first = end;
    }
    tree.leafCount = static_cast<std::uint32_t>(level.size());
    while (level.size() > 1) {
        std::vector<NodeRef> above;
        first = 0;
        for (std::size_t end : nodeEnds(level, kIndexHeaderSize)) {
            above.push_back({level[end - 1].lastWord, offsetOf(file)});
            appendNode(file, kIndexHeaderSize, 0, nodeEntries(level, first, end));
            first = end;
        }
        level = std::move(above);
        ++tree.depth;
    }
    tree.root = level.front().offset;
    return tree;
}

// Reads every topic into the lists of the words of its body and of its
// title. The title's words come first in the body's too, as the title heads
// the page: a reader that stops at a word's first list finds every topic.
class WordCollector {
public:
    explicit WordCollector(unsigned languageId) : breaker_(languageId) {}

    // The topics come in increasing order; a topic given twice is read as
    // one, its title once and its texts one after the other.
    void add(const FtsTopic& topic) {
        words_.clear();
        const bool first = !started_ || topic.topic != current_;
        if (first) {
            started_ = true;
            current_ = topic.topic;
            nextLocation_ = 0;
        }
        PageText page = visibleText(topic.html);
        if (first) {
            // The title words are the page's <title>, as a viewer shows it; the
            // topic's own title (a heading, a file name) when it has none.
            const bool titled = page.title.find_first_not_of(" \t\r\n") != std::string::npos;
            breaker_.split(titled ? page.title : topic.title, words_);
            for (std::size_t i = 0; i < words_.size(); ++i) {
                addOccurrence(titles_, words_[i], topic.topic, static_cast<std::uint32_t>(i));
            }
        }
        breaker_.split(page.text, words_);
        for (const std::string& word : words_) {
            addOccurrence(body_, word, topic.topic, nextLocation_++);
        }
    }

    std::vector<Entry> entries() const {
        std::vector<Entry> entries;
        for (bool title : {false, true}) {
            (title ? titles_ : body_).forEach([&](const std::string& word, const Places& places) {
                entries.push_back({&word, title, &places, nullptr});
            });
        }
        std::sort(entries.begin(), entries.end(), wordOrder);
        return entries;
    }

private:
    WordBreaker breaker_;
    std::vector<std::string> words_;
    WordLists body_;
    WordLists titles_;
    bool started_ = false;
    std::uint32_t current_ = 0;
    std::uint32_t nextLocation_ = 0;
};

struct Totals {
    std::uint32_t longestWord = 0;
    std::uint32_t occurrences = 0;
    std::uint32_t occurrenceBytes = 0;
    std::uint32_t wordBytes = 0;
};

Totals totalsOf(const std::vector<Entry>& entries) {
    Totals totals;
    for (const Entry& entry : entries) {
        const auto size = static_cast<std::uint32_t>(entry.word->size());
        totals.longestWord = std::max(totals.longestWord, size);
        totals.wordBytes += size;
        const auto count = static_cast<std::uint32_t>(entry.places->size());
        totals.occurrences += count;
        totals.occurrenceBytes += count * size;
    }
    return totals;
}

void writeHeader(std::string& file, const Tree& tree, const Roots& roots,
                 const std::vector<Entry>& entries, std::uint32_t lastTopic, unsigned languageId) {
    const Totals totals = totalsOf(entries);
    // The constants at 0x00, 0x1A, 0x36 and 0x3A are those every compiled
    // help holds; their meaning is unknown.
    putU32(file, 0x00, 0x00280000);
    // How many topics the lists may name: a reader may size a table by it.
    putU32(file, 0x04, entries.empty() ? 0 : lastTopic + 1);
    putU32(file, 0x08, tree.root);
    putU32(file, 0x10, tree.leafCount);
    putU32(file, 0x14, tree.root);
    putU16(file, 0x18, tree.depth);
    putU32(file, 0x1A, 7);
    const unsigned scaled[] = {roots.topic, roots.count, roots.location};
    for (std::size_t i = 0; i < 3; ++i) {
        file[0x1E + 2 * i] = 2;  // the scale: the code above is written for 2 only
        file[0x1F + 2 * i] = static_cast<char>(scaled[i]);
    }
    putU32(file, 0x2E, kNodeSize);
    putU32(file, 0x36, 1);
    putU32(file, 0x3A, 5);
    putU32(file, 0x3E, totals.longestWord);
    putU32(file, 0x42, totals.occurrences);
    putU32(file, 0x46, static_cast<std::uint32_t>(entries.size()));
    putU32(file, 0x4A, totals.occurrenceBytes);
    putU32(file, 0x52, totals.wordBytes);
    putU32(file, 0x56, tree.lastLeafFree);
    putU32(file, 0x5E, lastTopic);
    putU32(file, 0x7A, kHelpCodePage);
    putU32(file, 0x7E, languageId);
}

}  // namespace

std::string buildFullTextIndex(const std::vector<FtsTopic>& topics, unsigned languageId) {
    // The lists give each word's topics in increasing order.
    std::vector<const FtsTopic*> ordered;
    for (const FtsTopic& topic : topics) ordered.push_back(&topic);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const FtsTopic* a, const FtsTopic* b) { return a->topic < b->topic; });
    WordCollector collector(languageId);
    for (const FtsTopic* topic : ordered) collector.add(*topic);
    std::vector<Entry> entries = collector.entries();
    const Roots roots = chooseRoots(entries);
    std::vector<List> lists;
    lists.reserve(entries.size());  // the entries point into it
    for (Entry& entry : entries) {
        lists.push_back(encodeList(*entry.places, roots));
        entry.list = &lists.back();
    }
    std::deque<std::string> otherForms;
    addCodePageForms(entries, otherForms);

    std::string file(kHeaderSize, '\0');
    const Tree tree = appendTree(file, entries);
    const std::uint32_t lastTopic = ordered.empty() ? 0 : ordered.back()->topic;
    writeHeader(file, tree, roots, entries, lastTopic, languageId);
    return file;
}

}  // namespace qv
