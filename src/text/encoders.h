#pragma once
#include <string>
#include <string_view>

namespace qv {

// Appends code page 1252 text as a sitemap file holds it: bytes from 0x80 up
// as named entities (or "&#xHH;" where no name exists), the markup
// characters " & < > as numeric references, everything else unchanged.
void appendEntities(std::string& out, std::string_view text);

// Appends code page 1252 text as an HTML page holds it: the no-break space
// and the markup characters as entities, other bytes from 0x80 up as the
// UTF-8 of the character they stand for (0x92 as U+2019; the five bytes the
// code page leaves undefined as U+0081 ... U+009D), everything else unchanged.
void appendUtf8Html(std::string& out, std::string_view text);

// Appends UTF-8 text (as utf8AsShown gives it) as an HTML page holds it: the
// no-break space and the markup characters as entities, everything else
// unchanged. For text that code page 1252 holds whole, this writes what
// appendUtf8Html writes for its code page 1252 form.
void appendHtml(std::string& out, std::string_view utf8);

// Appends a UTF-8 anchor as an HTML page's href holds it: " & < > as the
// entities &quot; &amp; &lt; &gt;, everything else unchanged, so that a
// browser reads back the anchor as written.
void appendAnchorHtml(std::string& out, std::string_view utf8);

// Appends a UTF-8 anchor as a sitemap file's Local value holds it: its code
// page 1252 form (utf8ToCp1252; bytes from 0x80 up as they are, never as
// named entities) with " & < > as &quot; &amp; &lt; &gt;.
void appendAnchorCp1252(std::string& out, std::string_view utf8);

// Appends UTF-8 text as a double-quoted JSON string that an HTML page's
// script element can hold: the quote, the backslash and the control
// characters escaped (\n, \t ... or \u00XX), "<" as \u003c so that neither
// "</script>" nor "<!--" appears, U+2028 and U+2029 as \u2028 and \u2029;
// every other character as its own bytes.
void appendScriptString(std::string& out, std::string_view utf8);

}  // namespace qv
