#pragma once
#include <tinyxml.h>

#include <memory>
#include <string>

#include "model/page_syntax.h"
#include "page/page_notes.h"
#include "page/tree_builder.h"
#include "text/input_encoding.h"
#include "xml/parse.h"

namespace qv {

// One page made ready for the walk: normalised and parsed, with nothing
// reported and no tree touched, so that it can be made apart from the walk
// (ahead of it, on another thread) and handed to it later.
struct PreparedPage {
    std::string path;        // where it was loaded from
    InputDecoding decoding;  // how its bytes were made UTF-8
    // Its text as loaded, before normalisation: kept only when asked, for
    // positions in the file as the author wrote it.
    std::string loaded;
    std::string text;  // the normalised text the parser read
    // What the parser built: the whole page, or what it had when it stopped.
    std::unique_ptr<TiXmlDocument> document;
    XmlFailure failure;  // why the page did not parse, if it did not
};

// The first step of a page's analysis: normalises text and parses it as XML
// or, with PageSyntax::Html, parses it as a browser parses HTML (which only
// the limits can refuse). Touches no tree and prints nothing; the only
// process-wide state it sets is TinyXML's white-space condensing, which it
// turns off the first time (see keepBlanksInPages).
PreparedPage preparePage(std::string path, std::string text, InputDecoding decoding,
                         bool keepLoaded, PageSyntax syntax = PageSyntax::Xml);

// Makes the process-wide parser setting that preparePage needs (blanks kept
// in text) before pages are prepared on several threads, which then only
// read it.
void keepBlanksInPages();

// The second step, run by the list walk in list order: a page that did not
// parse is reported to notes; one that did is walked into the contents and
// index trees, pageName being the page as the list file names it (what the
// trees link to) and pageDepth the number of page entries of the list that
// enclose it. Returns 0 or kStatusInvalidData.
int walkPreparedPage(PreparedPage& page, TreeBuilder& trees, const std::string& pageName,
                     int pageDepth, PageNotes& notes);

// Both steps for a page in memory, read as UTF-8.
int analysePage(TreeBuilder& trees, const std::string& pageName, int pageDepth,
                const std::string& path, std::string text, PageNotes& notes,
                PageSyntax syntax = PageSyntax::Xml);

}  // namespace qv
