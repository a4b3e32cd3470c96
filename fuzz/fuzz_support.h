#pragma once
// What the fuzz targets share: a quiet, private place to run in, and every
// tree writer run into memory. Files are served from memory by the tests'
// MemoryFileReader.

#include <tinyxml.h>

#include <string>

#include "model/help_project.h"

namespace qv::fuzz {

// Sends the tool's messages to /dev/null and moves into a scratch directory
// of its own (removed at exit), so that whatever the code under test writes
// (a page's diagnostic copy) stays there.
void setUp();

// Sorts the index and writes both trees with every writer into memory: the
// contents in sitemap and HTML form, the index as sitemap and HTML, each
// once without and once with a link target and a tab indentation.
void writeTrees(HelpProject& project);

// Aborts unless the nesting scan saw TinyXML's parse of text go at least as
// deep as the tree it built: the scan is what keeps the parser's recursion
// bounded, so it must never see less than the parser does.
void checkNestingScan(const TiXmlDocument& document, const std::string& text);

// Aborts unless the HTML scan of text expected a tree at least about as deep
// as the one gumbo built (within twice and a few levels: the scan follows
// the tree construction closely but not in every corner), so that a page
// cannot nest far deeper than what the limits see.
void checkHtmlNestingScan(const std::string& text);

}  // namespace qv::fuzz
