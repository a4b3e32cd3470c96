#pragma once
#include <string>

#include "listfile/list_notes.h"

namespace qv {

// The list file's notes as a run gives them: its parse error, an unknown
// language (which ends the run); everything else passes in silence.
class ListMessages : public ListNotes {
public:
    // text: the list as loaded, which outlives its reading.
    ListMessages(const std::string& path, const std::string& text) : path_(path), text_(text) {}

    void failed(const XmlFailure& failure) override;
    void parsed(const TiXmlDocument&) override {}
    void entering(const TiXmlElement&) override {}
    int unknownLanguage(const TiXmlAttribute& language) override;
    int unknownPageSyntax(const TiXmlAttribute& pages) override;
    int unknownPageEntries(const TiXmlAttribute& pageEntries) override;

private:
    const std::string& path_;
    const std::string& text_;
};

}  // namespace qv
