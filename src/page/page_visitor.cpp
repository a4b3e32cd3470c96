#include "page/page_visitor.h"

#include <algorithm>

#include "model/status.h"
#include "page/markup.h"
#include "text/cp1252.h"
#include "text/tidy_text.h"
#include "xml/parse.h"

namespace qv {

namespace {

// Whether utf8ToCp1252 may have turned some character of utf8 into "?", its
// result being cp1252: a title that has no more "?" than its page text lost
// nothing, and its UTF-8 form follows from it.
bool mayHaveLost(std::string_view cp1252, std::string_view utf8) {
    if (cp1252.find('?') == std::string_view::npos) return false;
    return std::count(cp1252.begin(), cp1252.end(), '?') !=
           std::count(utf8.begin(), utf8.end(), '?');
}

// The white space that TinyXML drops when a text node holds nothing else.
bool isBlank(unsigned long c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c, bool hex) {
    if (c >= '0' && c <= '9') return true;
    return hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// Where a character reference to a blank ("&#32;", "&#x20;", "&#9;" ...)
// that ends just before end starts, at floor or after; npos when the text
// there is anything else. A blank written so is dropped by the parser just
// like a typed one.
std::size_t blankReferenceStart(std::string_view source, std::size_t floor, std::size_t end) {
    if (end == 0 || source[end - 1] != ';') return std::string_view::npos;
    std::size_t digits = end - 1;
    while (digits > floor && isDigit(source[digits - 1], true)) --digits;
    if (digits == end - 1 || digits < floor + 2) return std::string_view::npos;
    const bool hex = digits >= floor + 3 && source[digits - 1] == 'x';
    const std::size_t hash = hex ? digits - 2 : digits - 1;
    if (source[hash] != '#' || source[hash - 1] != '&') return std::string_view::npos;
    unsigned long value = 0;
    for (std::size_t i = digits; i < end - 1; ++i) {
        if (!isDigit(source[i], hex)) return std::string_view::npos;
        const char c = source[i];
        const unsigned long digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = std::min(value * (hex ? 16 : 10) + digit, 0x110000ul);  // leading zeros allowed
    }
    return isBlank(value) ? hash - 1 : std::string_view::npos;
}

}  // namespace

bool PageVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) {
    keepGapBefore(element);
    const ElementMarks marks = marksOf(element);

    const TiXmlAttribute* anchor = entryAnchor(element, marks);
    if (anchor != nullptr) {
        currentAnchor = anchor->ValueStr();
        anchorElement_ = &element;
        anchorAttribute_ = anchor;
    }

    int number = headingLevel(element);
    if (headingElement == nullptr && number != 0 && anchor != nullptr) {
        attachHeading(element, pageDepth_ + number, marks);
    }

    if (const char* ix = keywordMark(marks)) {
        if (keywordElement != nullptr) {
            notes_.nestedKeyword(element, ix);
        } else {
            std::string value = utf8ToCp1252(ix);
            notes_.converted(element, ix, value, false);
            const auto bars = static_cast<std::size_t>(std::count(value.begin(), value.end(), '|'));
            if (bars >= kMaxKeywordLevels) {
                notes_.deepKeyword(element);
                status_ = kStatusInvalidData;
                return false;
            }
            std::string utf8 = mayHaveLost(value, ix) ? utf8AsShown(ix) : std::string();
            startKeyword(element, std::move(value), utf8);
        }
    }
    return true;
}

void PageVisitor::attachHeading(const TiXmlElement& element, int level, const ElementMarks& marks) {
    TopicNode* node = trees_.currentNode;
    while (node->level >= level) node = node->parent;
    if (level - node->level > 1) {
        notes_.skippedLevels(element, node->level - pageDepth_, level - pageDepth_);
    }
    while (node->level < level) {
        TopicNode& child = node->appendChild();
        child.parent = node;
        child.file = pageName_;
        node = &child;
    }
    trees_.currentNode = node;
    node->anchor = currentAnchor;
    notes_.entryAnchored(element, *anchorAttribute_);
    if (marks.icon != nullptr) node->imageNumber = iconNumber(marks.icon->Value());
    headingElement = &element;
    headingUtf8_.stop();
    startCollecting(element);
}

void PageVisitor::startKeyword(const TiXmlElement& element, std::string ixValue,
                               const std::string& ixUtf8) {
    // ixUtf8, when there is one, has the same characters as ixValue, so the
    // same "|" split them. A group is found by its code page 1252 title, as
    // the index file shows it.
    keywordParent = &trees_.keywords.root();
    std::size_t partStart = 0;
    std::size_t utf8Start = 0;
    for (std::size_t bar = ixValue.find('|'); bar != std::string::npos;
         bar = ixValue.find('|', partStart)) {
        const std::string_view part(ixValue.data() + partStart, bar - partStart);
        std::string_view utf8Part;
        if (!ixUtf8.empty()) {
            const std::size_t utf8Bar = ixUtf8.find('|', utf8Start);
            utf8Part = std::string_view(ixUtf8).substr(utf8Start, utf8Bar - utf8Start);
            utf8Start = utf8Bar + 1;
        }
        TopicNode* next = trees_.keywords.findChild(*keywordParent, part);
        if (next == nullptr) {
            next = &keywordParent->appendChild();
            next->title.assign(part);
            keepUtf8Title(*next, utf8Part);
        }
        keywordParent = next;
        partStart = bar + 1;
    }
    std::string keyword = ixValue.substr(partStart);
    if (keyword == "1") keyword.clear();
    if (!keyword.empty()) {
        addKeyword(keyword, std::string_view(ixUtf8).substr(utf8Start));
    } else {
        keywordElement = &element;
        startCollecting(element);
    }
}

void PageVisitor::addKeyword(const std::string& text, std::string_view utf8) {
    // A keyword without text would be written nowhere: the writers skip
    // entries with an empty title. It is dropped.
    if (text.empty()) return;
    TopicNode& node = keywordParent->appendChild();
    node.anchor = currentAnchor;
    if (anchorElement_ != nullptr) notes_.entryAnchored(*anchorElement_, *anchorAttribute_);
    node.file = pageName_;
    node.title = text;
    keepUtf8Title(node, utf8);
}

// A title keeps its UTF-8 form (utf8AsShown; empty when none was made) only
// when code page 1252 turned some of its characters into "?": otherwise that
// form follows from the title itself.
void PageVisitor::keepUtf8Title(const TopicNode& node, std::string_view utf8) {
    if (utf8.empty() || !mayHaveLost(node.title, utf8)) return;
    trees_.utf8Titles.emplace(&node, utf8);
}

// Most titles and keywords lose no character to code page 1252: their UTF-8
// form is made only from the first text that loses one, starting from what
// was gathered before it, which code page 1252 held whole.
void PageVisitor::Utf8Form::append(const std::string& gathered, std::string_view value,
                                   std::string_view utf8) {
    if (!started) {
        if (!mayHaveLost(value, utf8)) return;
        started = true;
        text.clear();
        appendCp1252AsUtf8(text, gathered);
    }
    text.append(utf8AsShown(utf8));
}

void PageVisitor::startCollecting(const TiXmlElement& element) {
    scanFrom_ = &element;
    scanFloor_ = std::string::npos;
}

// TinyXML drops a text node made only of white space, so that the blank
// between "<b>Fichier</b> <i>avanc\351</i>" would vanish from a title. Before
// each node of a title or keyword, the source is read back over blanks,
// references to blanks ("&#32;") and tags to the previous node: a blank there
// counts as one space. Each stretch of source is read back once, so this
// stays linear in the page.
void PageVisitor::keepGapBefore(const TiXmlNode& node) {
    std::string* title = headingElement != nullptr ? &trees_.currentNode->title : nullptr;
    std::string* keyword = keywordElement != nullptr ? &keywordText : nullptr;
    auto wantsSpace = [](const std::string* text) {
        return text != nullptr && !text->empty() && text->back() != ' ';
    };
    if (!wantsSpace(title) && !wantsSpace(keyword)) return;
    if (scanFloor_ == std::string::npos) {
        scanFloor_ = positions_.offset(parsedAt(*scanFrom_));
    }
    const std::size_t at = positions_.offset(parsedAt(node));
    if (at == std::string::npos || scanFloor_ == std::string::npos) return;
    if (blankBefore(at)) {
        if (wantsSpace(title)) {
            title->push_back(' ');
            if (headingUtf8_.started) headingUtf8_.text.push_back(' ');
        }
        if (wantsSpace(keyword)) {
            keyword->push_back(' ');
            if (keywordUtf8_.started) keywordUtf8_.text.push_back(' ');
        }
    }
    if (at > scanFloor_) scanFloor_ = at;
}

bool PageVisitor::blankBefore(std::size_t at) const {
    bool blank = false;
    std::size_t i = at;
    while (i > scanFloor_) {
        const char c = source_[i - 1];
        if (isBlank(static_cast<unsigned char>(c))) {
            blank = true;
            --i;
        } else if (c == ';') {
            const std::size_t reference = blankReferenceStart(source_, scanFloor_, i);
            if (reference == std::string_view::npos) break;
            blank = true;
            i = reference;
        } else if (c == '>') {
            std::size_t open = i - 1;
            while (open > scanFloor_ && source_[open] != '<') --open;
            if (source_[open] != '<') break;
            i = open;
        } else {
            break;
        }
    }
    return blank;
}

bool PageVisitor::Visit(const TiXmlText& text) {
    if (status_ != 0) return false;
    if (headingElement == nullptr && keywordElement == nullptr) return true;
    keepGapBefore(text);
    const std::string value = utf8ToCp1252(text.Value());
    notes_.converted(text, text.Value(), value, headingElement != nullptr);
    if (headingElement != nullptr) {
        std::string& title = trees_.currentNode->title;
        headingUtf8_.append(title, value, text.Value());
        title.append(value);
    }
    if (keywordElement != nullptr) {
        keywordUtf8_.append(keywordText, value, text.Value());
        keywordText.append(value);
    }
    return true;
}

bool PageVisitor::VisitExit(const TiXmlElement& element) {
    if (status_ != 0) return false;
    if (&element == headingElement) {
        std::string& title = trees_.currentNode->title;
        tidyText(title);
        // A heading padded with a page's worth of blanks keeps only its words.
        if (title.capacity() > 2 * title.size() + 256) title.shrink_to_fit();
        if (headingUtf8_.started) {
            tidyUtf8Text(headingUtf8_.text);
            keepUtf8Title(*trees_.currentNode, headingUtf8_.text);
        }
        headingUtf8_.stop();
        if (title.empty()) notes_.untitledHeading(element);
        headingElement = nullptr;
    }
    if (&element == keywordElement) {
        tidyText(keywordText);
        if (keywordUtf8_.started) tidyUtf8Text(keywordUtf8_.text);
        if (keywordText.empty()) notes_.emptyKeyword(element);
        addKeyword(keywordText,
                   keywordUtf8_.started ? std::string_view(keywordUtf8_.text) : std::string_view());
        keywordElement = nullptr;
        keywordParent = nullptr;
        keywordText.clear();
        keywordUtf8_.stop();
    }
    return true;
}

}  // namespace qv
