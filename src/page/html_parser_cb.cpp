#include "page/html_parser_cb.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "driver/help_project.h"
#include "driver/loading.h"
#include "driver/messages.h"
#include "page/encoding.h"

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
        if (name[0] == 'i' && name[2] == '\0' && (name[1] == 'd' || name[1] == 'x')) {
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

bool HtmlParserCb::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) {
    const char* elementName = element.Value();
    const MarkedAttributes marked = markedAttributes(element);

    const char* anchor = marked.id;
    if (anchor == nullptr && !isAnchorElement(elementName)) anchor = marked.name;
    if (anchor != nullptr) currentAnchor = anchor;

    int number = headingNumber(elementName);
    if (headingElement == nullptr && number != 0 && anchor != nullptr) {
        attachHeading(element, project.pageDepth + number);
    }

    if (const char* ix = marked.ix) {
        if (keywordElement != nullptr) {
            reportNestedKeyword(element, ix);
        } else {
            std::string value = utf8ToAnsi(ix);
            const auto bars = static_cast<std::size_t>(std::count(value.begin(), value.end(), '|'));
            if (bars >= kMaxKeywordLevels) {
                refuseDeepKeyword(element);
                return false;
            }
            startKeyword(element, std::move(value));
        }
    }
    return true;
}

void HtmlParserCb::attachHeading(const TiXmlElement& element, int level) {
    TopicNode* node = project.currentNode;
    while (node->level >= level) node = node->parent;
    while (node->level < level) {
        TopicNode& child = node->appendChild();
        child.parent = node;
        child.file = project.contentsRoot.file;
        node = &child;
    }
    project.currentNode = node;
    node->anchor = currentAnchor;
    if (const char* icon = element.Attribute("icon")) node->imageNumber = iconNumber(icon);
    headingElement = &element;
}

void HtmlParserCb::startKeyword(const TiXmlElement& element, std::string ixValue) {
    keywordParent = &project.indexRoot;
    std::size_t partStart = 0;
    for (std::size_t bar = ixValue.find('|'); bar != std::string::npos;
         bar = ixValue.find('|', partStart)) {
        const std::string_view part(ixValue.data() + partStart, bar - partStart);
        TopicNode* next = project.findKeywordChild(*keywordParent, part);
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
    }
}

void HtmlParserCb::addKeyword(const std::string& text) {
    // A keyword without text would be written nowhere: the writers skip
    // entries with an empty title. It is dropped.
    if (text.empty()) return;
    TopicNode& node = keywordParent->appendChild();
    node.anchor = currentAnchor;
    node.file = project.contentsRoot.file;
    node.title = text;
}

void HtmlParserCb::reportNestedKeyword(const TiXmlElement& element, const char* ixValue) {
    printMessage({"Erreur durant l'analyse du fichier\"", project.contentsRoot.file, "\""});
    printMessage({" Ligne=", std::to_string(element.Row()), ", Colonne=",
                  std::to_string(element.Column())});
    printMessage({" Description=\"Attribut ix='", ixValue, "' illegalement imbrique\"."});
}

void HtmlParserCb::refuseDeepKeyword(const TiXmlElement& element) {
    printMessage({"Erreur durant l'analyse du fichier\"", project.contentsRoot.file, "\""});
    printMessage({" Ligne=", std::to_string(element.Row()), ", Colonne=",
                  std::to_string(element.Column())});
    printMessage({" Description=\"Attribut ix de plus de ", std::to_string(kMaxKeywordLevels),
                  " niveaux\"."});
    status_ = kStatusInvalidData;
}

bool HtmlParserCb::Visit(const TiXmlText& text) {
    if (status_ != 0) return false;
    if (headingElement == nullptr && keywordElement == nullptr) return true;
    const std::string value = utf8ToAnsi(text.Value());
    if (headingElement != nullptr) project.currentNode->title.append(value);
    if (keywordElement != nullptr) keywordText.append(value);
    return true;
}

bool HtmlParserCb::VisitExit(const TiXmlElement& element) {
    if (status_ != 0) return false;
    if (&element == headingElement) {
        std::string& title = project.currentNode->title;
        tidyText(title);
        // A heading padded with a page's worth of blanks keeps only its words.
        if (title.capacity() > 2 * title.size() + 256) title.shrink_to_fit();
        headingElement = nullptr;
    }
    if (&element == keywordElement) {
        tidyText(keywordText);
        addKeyword(keywordText);
        keywordElement = nullptr;
        keywordParent = nullptr;
        keywordText.clear();
    }
    return true;
}

}  // namespace qv
