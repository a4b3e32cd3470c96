#include "page/page_visitor.h"

#include <algorithm>

#include <strings.h>

#include "model/status.h"
#include "page/markup.h"
#include "text/cp1252.h"
#include "text/tidy_text.h"
#include "xml/parse.h"

namespace qv {

namespace {

bool isTitleElement(const char* name) { return strcasecmp(name, "title") == 0; }

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
        anchorLossTold_ = false;
    }

    if (headingElement == nullptr) {
        int number = headingLevel(element);
        if (number == 0 && trees_.pageEntries && isTitleElement(element.Value())) number = -1;
        if (number != 0) enterHeading(element, number, anchor != nullptr, marks);
    }

    if (marks.ctx != nullptr) markContexts(element, *marks.ctx);

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

// A heading h<number> (-1 for the <title> element, read only with page
// entries on) starts. Without page entries only anchored headings count.
// With them, the page's entry is made at its <title>, at its first h1
// without an anchor, or at its first anchored heading below h1, and that h1
// titles it wherever it comes (before it, <title> or the file name); an
// anchored h1 that comes first takes the place of the entry, so that such a
// page is read exactly as without page entries.
void PageVisitor::enterHeading(const TiXmlElement& element, int number, bool anchored,
                               const ElementMarks& marks) {
    const bool first = !anchoredHeadingSeen_;
    if (anchored && number > 0) {
        anchoredHeadingSeen_ = true;
        if (first && number == 1 && pageEntry_ != nullptr) dropPageEntry();
        if (first && number > 1) {
            if (!trees_.pageEntries) {
                notes_.unplacedPage(element, number);
            } else if (pageEntry_ == nullptr) {
                titleFromFileName(makePageEntry(&element));
            }
        }
        if (number == 1) h1Seen_ = true;
        attachHeading(element, pageDepth_ + number, marks);
        return;
    }
    if (!trees_.pageEntries) return;
    if (number == -1 && first && !titleSeen_ && !h1Seen_ && pageEntry_ == nullptr) {
        titleSeen_ = true;
        makePageEntry(&element);
        gatherPageTitle(element);
    } else if (number == 1 && !h1Seen_) {
        h1Seen_ = true;
        if (pageEntry_ == nullptr) {
            makePageEntry(&element);
        } else {  // titled by <title> or the file name so far: kept if the h1 has no text
            formerTitle_.swap(pageEntry_->title);
            pageEntry_->title.clear();
            const auto utf8 = trees_.utf8Titles.find(pageEntry_);
            formerUtf8Title_.clear();
            if (utf8 != trees_.utf8Titles.end()) {
                formerUtf8Title_ = std::move(utf8->second);
                trees_.utf8Titles.erase(utf8);
            }
            // After anchored headings, the next ones go on from the last.
            if (trees_.currentNode != pageEntry_) resumeNode_ = trees_.currentNode;
            trees_.currentNode = pageEntry_;
        }
        gatherPageTitle(element);
    }
}

// The text of element becomes the page entry's title, as a heading's does.
void PageVisitor::gatherPageTitle(const TiXmlElement& element) {
    gatheringPageTitle_ = true;
    headingElement = &element;
    headingUtf8_.stop();
    startCollecting(element);
}

// The page's entry, at the page's level, linking to the page itself, made
// where element is (none at the end of the page), untitled.
TopicNode& PageVisitor::makePageEntry(const TiXmlElement* element) {
    TopicNode& node = placeNode(element, pageDepth_ + 1);
    node.anchor = kTopOfPageAnchor;
    pageEntry_ = &node;
    trees_.currentNode = &node;
    return node;
}

// The page entry made before the page's first anchored heading turned out
// to be an h1: it goes, so that the h1 is placed where it would have been.
void PageVisitor::dropPageEntry() {
    TopicNode* parent = pageEntry_->parent;
    trees_.utf8Titles.erase(pageEntry_);
    if (pageEntry_->children.empty() && !parent->children.empty() &&
        parent->children.back().get() == pageEntry_) {
        parent->children.pop_back();
        trees_.currentNode = parent;
    }
    pageEntry_ = nullptr;
}

void PageVisitor::titleFromFileName(TopicNode& node) {
    const std::size_t slash = pageName_.find_last_of("\\/");
    const std::string_view name = slash == std::string::npos
                                      ? std::string_view(pageName_)
                                      : std::string_view(pageName_).substr(slash + 1);
    node.title = utf8ToCp1252(name);
    if (mayHaveLost(node.title, name)) keepUtf8Title(node, utf8AsShown(name));
}

// A page entry whose <title> or h1 has no text keeps the title it had (from
// <title>), or takes the file name.
void PageVisitor::titleFromFormer(TopicNode& node) {
    if (formerTitle_.empty()) return titleFromFileName(node);
    node.title.swap(formerTitle_);
    keepUtf8Title(node, formerUtf8Title_);
}

void PageVisitor::finishPage() {
    if (status_ != 0 || !trees_.pageEntries || pageEntry_ != nullptr || anchoredHeadingSeen_) {
        return;
    }
    titleFromFileName(makePageEntry(nullptr));
}

// Makes the node of a heading at level (element; none at the end of a page)
// below the current node or one it is in, with the entries without a title
// that a skipped level needs.
TopicNode& PageVisitor::placeNode(const TiXmlElement* element, int level) {
    TopicNode* node = trees_.currentNode;
    while (node->level >= level) node = node->parent;
    if (level - node->level > 1 && element != nullptr) {
        notes_.skippedLevels(*element, node->level - pageDepth_, level - pageDepth_);
    }
    while (node->level < level) {
        TopicNode& child = node->appendChild();
        child.parent = node;
        child.file = pageName_;
        node = &child;
    }
    return *node;
}

void PageVisitor::attachHeading(const TiXmlElement& element, int level, const ElementMarks& marks) {
    TopicNode* node = &placeNode(&element, level);
    trees_.currentNode = node;
    node->anchor = currentAnchor;
    useAnchor();
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
    useAnchor();
    node.file = pageName_;
    node.title = text;
    keepUtf8Title(node, utf8);
}

// Tells the notes which element set the anchor an entry links to. The
// sitemap files hold anchors in code page 1252: an anchor that loses a
// character there is told once, when the first entry links to it.
void PageVisitor::useAnchor() {
    if (anchorElement_ == nullptr) return;
    notes_.entryAnchored(*anchorElement_, *anchorAttribute_);
    if (anchorLossTold_) return;
    anchorLossTold_ = true;
    const std::string& anchor = currentAnchor;
    if (std::any_of(anchor.begin(), anchor.end(),
                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) &&
        mayHaveLost(utf8ToCp1252(anchor), anchor)) {
        notes_.lostAnchorCharacter(*anchorElement_, anchor);
    }
}

// Each name of a ctx value is a context of the place where element stands:
// the anchor current there, which is the element's own when it sets one.
void PageVisitor::markContexts(const TiXmlElement& element, const TiXmlAttribute& ctx) {
    forEachContextName(ctx.ValueStr(), [this](std::string_view name) {
        trees_.contexts.push_back({std::string(name), pageName_, currentAnchor});
    });
    if (!currentAnchor.empty()) useAnchor();
    notes_.contextMarked(element, ctx);
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
        if (title.empty() && gatheringPageTitle_) {
            titleFromFormer(*trees_.currentNode);
        } else if (title.empty()) {
            notes_.untitledHeading(element);
        }
        gatheringPageTitle_ = false;
        headingElement = nullptr;
        if (resumeNode_ != nullptr) trees_.currentNode = resumeNode_;
        resumeNode_ = nullptr;
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
