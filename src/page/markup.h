#pragma once
#include <tinyxml.h>

#include <string_view>

namespace qv {

// What the marks of one page element mean, written once for the page
// visitor (what the contents and index get), for what the check gathers of
// a page, and for the outputs' anchors.

// The values of the attributes that mark an element for the contents and
// the index. Their names are matched as written ("ID" is not "id"): an XML
// page reads them so, and an HTML page has them in lower case already.
struct ElementMarks {
    const TiXmlAttribute* id = nullptr;
    const TiXmlAttribute* name = nullptr;
    const TiXmlAttribute* ix = nullptr;
    const TiXmlAttribute* icon = nullptr;
    const TiXmlAttribute* ctx = nullptr;
};
ElementMarks marksOf(const TiXmlElement& element);

// 1 to 6 for an element named h1-h6 in either case, 0 for any other.
int headingLevel(const TiXmlElement& element);

// Whether the element is a link, "a" in either case.
bool isLinkElement(const TiXmlElement& element);

// The attribute whose value the contents and index entries after the
// element link to: its id, or else its name on any element but a link (a
// heading marked the old way, <h2><a name="x"></a>...</h2>, stays out of
// the contents). Null when it sets none.
const TiXmlAttribute* entryAnchor(const TiXmlElement& element, const ElementMarks& marks);

// What separates the names of a ctx value.
constexpr std::string_view kContextSeparators = " \t\n\r\f";

// The keyword an element gives the index, its ix value, or null.
inline const char* keywordMark(const ElementMarks& marks) {
    return marks.ix != nullptr ? marks.ix->Value() : nullptr;
}

// Calls take(name) for each context name of a ctx value, the words it
// separates with HTML blanks, in order.
template <typename Take>
void forEachContextName(std::string_view value, Take take) {
    std::size_t start = 0;
    while (start < value.size()) {
        const std::size_t end = value.find_first_of(kContextSeparators, start);
        const std::size_t stop = end == std::string_view::npos ? value.size() : end;
        if (stop > start) take(value.substr(start, stop - start));
        start = stop + 1;
    }
}

// The image number that an icon attribute gives a contents entry, read as
// atoi reads it (blanks, sign, digits up to the first other character, 0
// without digits), held to the range of an int instead of overflowing.
int iconNumber(const char* value);

// Whether a browser goes to element when a link's fragment is attribute's
// value: the id of any element, the name of a link; names in either case,
// as HTML reads them. A name elsewhere (<meta>, <input>, <form>) names
// something else.
bool browserAnchor(const TiXmlElement& element, const TiXmlAttribute& attribute);

}  // namespace qv
