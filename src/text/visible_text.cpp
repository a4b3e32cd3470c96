#include "text/visible_text.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "text/ascii.h"
#include "text/cp1252.h"
#include "text/entities.h"

namespace qv {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Elements laid out as blocks or replaced by something that is not text:
// their tags stand between words. Every other element (b, a, span, one HTML
// does not know) is inline. The names are in alphabetical order.
bool breaksWords(std::string_view name) {
    static constexpr std::string_view kNames[] = {
        "address",    "applet",    "area",     "article",  "aside",      "audio",   "base",
        "blockquote", "body",      "br",       "button",   "canvas",     "caption", "center",
        "col",        "colgroup",  "dd",       "details",  "dialog",     "dir",     "div",
        "dl",         "dt",        "embed",    "fieldset", "figcaption", "figure",  "footer",
        "form",       "frame",     "frameset", "h1",       "h2",         "h3",      "h4",
        "h5",         "h6",        "head",     "header",   "hgroup",     "hr",      "html",
        "iframe",     "img",       "input",    "legend",   "li",         "link",    "listing",
        "main",       "marquee",   "menu",     "meta",     "meter",      "nav",     "noembed",
        "noframes",   "noscript",  "object",   "ol",       "optgroup",   "option",  "p",
        "param",      "plaintext", "pre",      "progress", "script",     "section", "select",
        "source",     "style",     "summary",  "table",    "tbody",      "td",      "template",
        "textarea",   "tfoot",     "th",       "thead",    "title",      "tr",      "track",
        "ul",         "video",     "xmp"};
    // Met at every tag of every page: the names are kept in order and
    // searched by halves.
    [[maybe_unused]] static const bool sorted =
        std::is_sorted(std::begin(kNames), std::end(kNames));
    assert(sorted);
    return std::binary_search(std::begin(kNames), std::end(kNames), name);
}

// How the text inside an element is read: raw (no tags) or replaced text
// (references decoded, no tags), shown or not.
enum class Inside { Markup, RawHidden, RawShown, ReplacedHidden, ReplacedShown, RestRaw };

Inside insideOf(std::string_view name) {
    if (name == "script" || name == "style" || name == "iframe" || name == "noembed" ||
        name == "noframes" || name == "noscript") {
        return Inside::RawHidden;  // a browser runs scripts, so noscript is not shown
    }
    if (name == "xmp") return Inside::RawShown;
    if (name == "title") return Inside::ReplacedHidden;  // shown in the window's title bar
    if (name == "textarea") return Inside::ReplacedShown;
    if (name == "plaintext") return Inside::RestRaw;
    return Inside::Markup;
}

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
    if (text.size() - at < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lowerAscii(text[at + i]) != prefix[i]) return false;
    }
    return true;
}

void appendCodePoint(std::string& out, std::uint32_t value) {
    if (value >= 0x80 && value <= 0x9F)
        value = codePointFromCp1252(static_cast<unsigned char>(value));
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) value = 0xFFFD;
    appendUtf8(out, value);
}

// The character a named reference stands for, appended; false when the
// tool does not know the name.
bool appendNamed(std::string& out, std::string_view name) {
    std::string_view text;
    if (lookupCharacterEntity(name, text)) {
        // U+0000 plus the code page 1252 byte, in UTF-8.
        const auto byte = static_cast<unsigned char>(
            text.size() == 1 ? text[0] : ((text[0] & 0x03) << 6) | (text[1] & 0x3F));
        appendUtf8(out, codePointFromCp1252(byte));
        return true;
    }
    for (std::size_t i = 0; i < markupEntityCount; ++i) {
        if (name == markupEntities[i].name) {
            appendUtf8(out, codePointFromCp1252(markupEntities[i].code));
            return true;
        }
    }
    if (name != "apos") return false;
    out += '\'';
    return true;
}

class Scanner {
public:
    explicit Scanner(std::string_view html) : html_(html) {}

    PageText run() {
        while (at_ < html_.size()) {
            const char c = html_[at_];
            if (c == '<') {
                markup();
            } else if (c == '&') {
                reference(shown());
            } else {
                const std::size_t end = std::min(html_.find_first_of("<&", at_), html_.size());
                if (shown()) text_.append(html_, at_, end - at_);
                at_ = end;
            }
        }
        page_.text = std::move(text_);
        return std::move(page_);
    }

private:
    bool shown() const { return templates_ == 0; }

    void markup() {
        const std::size_t next = at_ + 1;
        if (html_.compare(next, 3, "!--") == 0) return comment(next + 3);
        if (next < html_.size() && (html_[next] == '!' || html_[next] == '?')) {
            return skipPast('>', next);  // a declaration or a processing instruction
        }
        if (next < html_.size() && html_[next] == '/') {
            if (next + 1 < html_.size() && isLetter(html_[next + 1])) return tag(next + 1, true);
            return skipPast('>', next);  // "</>" or an end tag without a name
        }
        if (next < html_.size() && isLetter(html_[next])) return tag(next, false);
        if (shown()) text_ += '<';
        at_ = next;
    }

    // "<!-->" and "<!--->" close at once; otherwise "-->" or "--!>" close.
    void comment(std::size_t from) {
        if (html_.compare(from, 1, ">") == 0) return void(at_ = from + 1);
        if (html_.compare(from, 2, "->") == 0) return void(at_ = from + 2);
        // One pass for both ends: looking for each apart would read the rest
        // of the page again at every comment that lacks one of them.
        for (std::size_t dashes = html_.find("--", from); dashes != std::string_view::npos;
             dashes = html_.find("--", dashes + 1)) {
            if (html_.compare(dashes + 2, 1, ">") == 0) return void(at_ = dashes + 3);
            if (html_.compare(dashes + 2, 2, "!>") == 0) return void(at_ = dashes + 4);
        }
        at_ = html_.size();
    }

    void skipPast(char c, std::size_t from) {
        const std::size_t end = html_.find(c, from);
        at_ = end == std::string_view::npos ? html_.size() : end + 1;
    }

    void tag(std::size_t nameStart, bool end) {
        std::size_t i = nameStart;
        std::string name;
        while (i < html_.size() && !isHtmlBlank(html_[i]) && html_[i] != '/' && html_[i] != '>') {
            name += lowerAscii(html_[i++]);
        }
        at_ = skipAttributes(i);
        if (breaksWords(name) && shown()) text_ += '\n';
        if (name == "template") {
            if (!end)
                ++templates_;
            else if (templates_ > 0)
                --templates_;
            return;
        }
        if (!end) content(name, insideOf(name));
    }

    // Up to the ">" that closes the tag: one inside a quoted value does not.
    std::size_t skipAttributes(std::size_t i) const {
        while (i < html_.size() && html_[i] != '>') {
            if (html_[i++] != '=') continue;
            while (i < html_.size() && isHtmlBlank(html_[i])) ++i;
            if (i < html_.size() && (html_[i] == '"' || html_[i] == '\'')) {
                const std::size_t close = html_.find(html_[i], i + 1);
                i = close == std::string_view::npos ? html_.size() : close + 1;
            }
        }
        return std::min(i + 1, html_.size());
    }

    // The text of an element that holds no tags, up to its end tag.
    void content(const std::string& name, Inside inside) {
        if (inside == Inside::Markup) return;
        std::size_t end = html_.size();
        if (inside != Inside::RestRaw) end = endTag(name);
        const bool show = shown() && (inside == Inside::RawShown ||
                                      inside == Inside::ReplacedShown || inside == Inside::RestRaw);
        if (inside == Inside::ReplacedShown || inside == Inside::ReplacedHidden) {
            // The page's first title is kept apart, decoded as shown text is.
            const bool title = name == "title" && !titleSeen_;
            std::string shownText;
            if (title) std::swap(text_, shownText);
            const std::string_view whole = html_;
            html_ = whole.substr(0, end);
            while (at_ < end) {
                if (html_[at_] == '&') {
                    reference(show || title);
                } else {
                    const std::size_t stop = std::min(html_.find('&', at_), end);
                    if (show || title) text_.append(html_, at_, stop - at_);
                    at_ = stop;
                }
            }
            html_ = whole;
            if (title) {
                titleSeen_ = true;
                page_.title = std::move(text_);
                text_ = std::move(shownText);
            }
        } else if (show) {
            text_.append(html_, at_, end - at_);
        }
        at_ = end;  // the end tag is read as any other
    }

    // Where "</name" followed by a blank, "/" or ">" starts, or the end.
    std::size_t endTag(const std::string& name) const {
        for (std::size_t i = html_.find("</", at_); i != std::string_view::npos;
             i = html_.find("</", i + 2)) {
            const std::size_t after = i + 2 + name.size();
            if (startsWithNoCase(html_, i + 2, name) &&
                (after == html_.size() || isHtmlBlank(html_[after]) || html_[after] == '/' ||
                 html_[after] == '>')) {
                return i;
            }
        }
        return html_.size();
    }

    void reference(bool show) {
        std::size_t i = at_ + 1;
        if (i < html_.size() && html_[i] == '#') {
            numeric(i + 1, show);
            return;
        }
        while (i < html_.size() && (isLetter(html_[i]) || isDigit(html_[i]))) ++i;
        const std::string_view name = html_.substr(at_ + 1, i - at_ - 1);
        const bool closed = i < html_.size() && html_[i] == ';';
        std::string decoded;
        if (!name.empty() && appendNamed(decoded, name)) {
            if (show) text_ += decoded;
            at_ = closed ? i + 1 : i;
        } else if (!name.empty() && closed) {
            if (show) text_ += ' ';  // a symbol the table lacks
            at_ = i + 1;
        } else {
            if (show) text_ += '&';
            ++at_;
        }
    }

    void numeric(std::size_t i, bool show) {
        const bool hex = i < html_.size() && (html_[i] == 'x' || html_[i] == 'X');
        if (hex) ++i;
        const std::size_t digits = i;
        std::uint32_t value = 0;
        for (; i < html_.size(); ++i) {
            const char c = lowerAscii(html_[i]);
            int digit = -1;
            if (isDigit(c))
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            if (digit < 0) break;
            value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
        }
        if (i == digits) {  // no digits: the text as written
            if (show) text_ += '&';
            ++at_;
            return;
        }
        if (show) appendCodePoint(text_, value);
        at_ = i < html_.size() && html_[i] == ';' ? i + 1 : i;
    }

    std::string_view html_;
    std::size_t at_ = 0;
    std::size_t templates_ = 0;  // template elements open: their content is not shown
    std::string text_;
    PageText page_;
    bool titleSeen_ = false;
};

}  // namespace

PageText visibleText(std::string_view html) { return Scanner(html).run(); }

}  // namespace qv
