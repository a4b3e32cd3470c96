#include "page/markup.h"

#include <strings.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "text/ascii.h"

namespace qv {

// One walk over the element's attributes (the parser refuses an element
// that repeats one).
ElementMarks marksOf(const TiXmlElement& element) {
    ElementMarks found;
    for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next()) {
        const char* name = a->Name();
        if (name[0] == 'i' && (name[1] == 'd' || name[1] == 'x') && name[2] == '\0') {
            (name[1] == 'd' ? found.id : found.ix) = a;
        } else if (std::strcmp(name, "name") == 0) {
            found.name = a;
        } else if (std::strcmp(name, "icon") == 0) {
            found.icon = a;
        } else if (std::strcmp(name, "ctx") == 0) {
            found.ctx = a;
        }
    }
    return found;
}

int headingLevel(const TiXmlElement& element) {
    const char* name = element.Value();
    if (lowerAscii(name[0]) == 'h' && name[1] >= '1' && name[1] <= '6' && name[2] == '\0') {
        return name[1] - '0';
    }
    return 0;
}

bool isLinkElement(const TiXmlElement& element) {
    const char* name = element.Value();
    return lowerAscii(name[0]) == 'a' && name[1] == '\0';
}

const TiXmlAttribute* entryAnchor(const TiXmlElement& element, const ElementMarks& marks) {
    if (marks.id != nullptr) return marks.id;
    return isLinkElement(element) ? nullptr : marks.name;
}

int iconNumber(const char* value) {
    long number = std::strtol(value, nullptr, 10);
    if (number > INT_MAX) return INT_MAX;
    if (number < INT_MIN) return INT_MIN;
    return static_cast<int>(number);
}

bool browserAnchor(const TiXmlElement& element, const TiXmlAttribute& attribute) {
    const char* name = attribute.Name();
    if (strcasecmp(name, "id") == 0) return true;
    return strcasecmp(name, "name") == 0 && isLinkElement(element);
}

}  // namespace qv
