#pragma once
#include <tinyxml.h>

#include "xml/parse.h"

namespace qv {

// What the reading of the list file tells whoever reads the help set: a
// run's notes print the messages a run shows, a check's turn everything
// into findings. Nodes are those of the list's parse tree.
class ListNotes {
public:
    virtual ~ListNotes() = default;
    // The list did not parse (failure says why). A list refused by the
    // limits is not walked; one that is not well-formed is walked as far as
    // the parser built it.
    virtual void failed(const XmlFailure& failure) = 0;
    // The document about to be walked.
    virtual void parsed(const TiXmlDocument& document) = 0;
    // Every element, as the walk enters it.
    virtual void entering(const TiXmlElement& element) = 0;
    // The files element's language names no language the tool knows.
    // Returns the status the walk goes on with: a run stops there, a check
    // goes on.
    virtual int unknownLanguage(const TiXmlAttribute& language) = 0;
    // The files element's pages names no way of reading pages; as above.
    virtual int unknownPageSyntax(const TiXmlAttribute& pages) = 0;
    // The files element's pageentries is neither yes nor no; as above.
    virtual int unknownPageEntries(const TiXmlAttribute& pageEntries) = 0;
};

}  // namespace qv
