#pragma once
#include <tinyxml.h>

namespace qv {

// What the elements of the list file mean, written once for the walk that
// reads the help set, for the pages it foresees and for the check. Element
// names are read in any case, attribute names as written.

// The root of a help set, "files": its title, language and pages.
bool isHelpSetElement(const TiXmlElement& element);

// The page a "file" element names (its name), or null when the element is
// no page entry.
const char* pageEntryName(const TiXmlElement& element);

// A template entry: "table" names a contents template, "index" an index
// template.
enum class TemplateKind { None, Contents, Index };
struct TemplateEntry {
    TemplateKind kind = TemplateKind::None;
    const char* name = nullptr;
};
TemplateEntry templateEntry(const TiXmlElement& element);

// The header a "map" element names (its name): a C header whose "#define"
// lines number the contexts. Null when the element is no map entry.
const char* contextHeaderName(const TiXmlElement& element);

// The attributes read on an element of the list (null-terminated), or null
// for an element the walk ignores.
const char* const* listAttributes(const TiXmlElement& element);

}  // namespace qv
