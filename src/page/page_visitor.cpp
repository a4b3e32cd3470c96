#include "page/page_visitor.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "model/status.h"
#include "text/cp1252.h"
#include "text/tidy_text.h"

namespace qv {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// The heading number of an element named h1-h6 in either case, or 0.
int headingNumber(const char* name) {
    if (lowerAscii(name[0]) == 'h' && name[1] >= '1' && name[1] <= '6' && name[2] == '\0') {
        return name[1] - '0';
    }
    return 0;
}

bool isAnchorElement(const char* name) { return lowerAscii(name[0]) == 'a' && name[1] == '\0'; }

// The values of the attributes the visitor reads, in one walk over the
// element's attributes (the parser refuses an element that repeats one).
struct MarkedAttributes {
    const char* id = nullptr;
    const char* name = nullptr;
    const char* ix = nullptr;
};

MarkedAttributes markedAttributes(const TiXmlElement& element) {
    MarkedAttributes found;
    for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next()) {
        const char* name = a->Name();
        if (name[0] == 'i' && (name[1] == 'd' || name[1] == 'x') && name[2] == '\0') {
            (name[1] == 'd' ? found.id : found.ix) = a->Value();
        } else if (std::strcmp(name, "name") == 0) {
            found.name = a->Value();
        }
    }
    return found;
}

// An icon number read as atoi reads it (blanks, sign, digits up to the first
// other character, 0 without digits), held to the range of an int instead
// of overflowing.
int iconNumber(const char* value) {
    long number = std::strtol(value, nullptr, 10);
    if (number > INT_MAX) return INT_MAX;
    if (number < INT_MIN) return INT_MIN;
    return static_cast<int>(number);
}

}  // namespace

bool PageVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) {
    keepGapBefore(element);
    const char* elementName = element.Value();
    const MarkedAttributes marked = markedAttributes(element);

    const char* anchor = marked.id;
    if (anchor == nullptr && !isAnchorElement(elementName)) anchor = marked.name;
    if (anchor != nullptr) currentAnchor = anchor;

    int number = headingNumber(elementName);
    if (headingElement == nullptr && number != 0 && anchor != nullptr) {
        attachHeading(element, pageDepth_ + number);
    }

    if (const char* ix = marked.ix) {
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
            startKeyword(element, std::move(value));
        }
    }
    return true;
}

void PageVisitor::attachHeading(const TiXmlElement& element, int level) {
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
    if (const char* icon = element.Attribute("icon")) node->imageNumber = iconNumber(icon);
    headingElement = &element;
    startCollecting(element);
}

void PageVisitor::startKeyword(const TiXmlElement& element, std::string ixValue) {
    keywordParent = &trees_.keywords.root();
    std::size_t partStart = 0;
    for (std::size_t bar = ixValue.find('|'); bar != std::string::npos;
         bar = ixValue.find('|', partStart)) {
        const std::string_view part(ixValue.data() + partStart, bar - partStart);
        TopicNode* next = trees_.keywords.findChild(*keywordParent, part);
        if (next == nullptr) {
            next = &keywordParent->appendChild();
            next->title.assign(part);
        }
        keywordParent = next;
        partStart = bar + 1;
    }
    std::string keyword = ixValue.substr(partStart);
    if (keyword == "1") keyword.clear();
    if (!keyword.empty()) {
        addKeyword(keyword);
    } else {
        keywordElement = &element;
        startCollecting(element);
    }
}

void PageVisitor::addKeyword(const std::string& text) {
    // A keyword without text would be written nowhere: the writers skip
    // entries with an empty title. It is dropped.
    if (text.empty()) return;
    TopicNode& node = keywordParent->appendChild();
    node.anchor = currentAnchor;
    node.file = pageName_;
    node.title = text;
}

void PageVisitor::startCollecting(const TiXmlElement& element) {
    scanFrom_ = &element;
    scanFloor_ = std::string::npos;
}

// TinyXML drops a text node made only of white space, so that the blank
// between "<b>Fichier</b> <i>avanc\351</i>" would vanish from a title. Before
// each node of a title or keyword, the source is read back over blanks and
// tags to the previous node: a blank there counts as one space. Each stretch
// of source is read back once, so this stays linear in the page.
void PageVisitor::keepGapBefore(const TiXmlNode& node) {
    std::string* title = headingElement != nullptr ? &trees_.currentNode->title : nullptr;
    std::string* keyword = keywordElement != nullptr ? &keywordText : nullptr;
    auto wantsSpace = [](const std::string* text) {
        return text != nullptr && !text->empty() && text->back() != ' ';
    };
    if (!wantsSpace(title) && !wantsSpace(keyword)) return;
    if (scanFloor_ == std::string::npos) {
        scanFloor_ = positions_.offset({scanFrom_->Row(), scanFrom_->Column()});
    }
    const std::size_t at = positions_.offset({node.Row(), node.Column()});
    if (at == std::string::npos || scanFloor_ == std::string::npos) return;
    if (blankBefore(at)) {
        if (wantsSpace(title)) title->push_back(' ');
        if (wantsSpace(keyword)) keyword->push_back(' ');
    }
    if (at > scanFloor_) scanFloor_ = at;
}

bool PageVisitor::blankBefore(std::size_t at) const {
    bool blank = false;
    std::size_t i = at;
    while (i > scanFloor_) {
        const char c = source_[i - 1];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
            blank = true;
            --i;
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
    if (headingElement != nullptr) trees_.currentNode->title.append(value);
    if (keywordElement != nullptr) keywordText.append(value);
    return true;
}

bool PageVisitor::VisitExit(const TiXmlElement& element) {
    if (status_ != 0) return false;
    if (&element == headingElement) {
        std::string& title = trees_.currentNode->title;
        tidyText(title);
        // A heading padded with a page's worth of blanks keeps only its words.
        if (title.capacity() > 2 * title.size() + 256) title.shrink_to_fit();
        if (title.empty()) notes_.untitledHeading(element);
        headingElement = nullptr;
    }
    if (&element == keywordElement) {
        tidyText(keywordText);
        if (keywordText.empty()) notes_.emptyKeyword(element);
        addKeyword(keywordText);
        keywordElement = nullptr;
        keywordParent = nullptr;
        keywordText.clear();
    }
    return true;
}

}  // namespace qv
