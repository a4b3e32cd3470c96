#include "xml/html_nesting_scan.h"

#include <gumbo.h>

#include <array>
#include <cstdint>
#include <vector>

namespace qv {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr GumboTag kMarker = GUMBO_TAG_LAST;

// How the tree construction treats a tag, as flags.
enum : std::uint8_t {
    kVoid = 1,             // never open: it has no content
    kSpecial = 2,          // the parser's "special" elements, which end its searches
    kFormatting = 4,       // opened again after a block closes it
    kClosesP = 8,          // a start tag that first closes an open <p>
    kScope = 16,           // bounds the searches "in scope"
    kRawText = 32,         // its text runs to its own end tag
    kPutsMarker = 64,      // puts a marker on the formatting list
    kLeavesForeign = 128,  // a start tag that leaves SVG or MathML content
};

using TagKinds = std::array<std::uint8_t, GUMBO_TAG_LAST + 1>;

TagKinds makeTagKinds() {
    TagKinds kinds{};
    auto mark = [&kinds](std::uint8_t flag, std::initializer_list<GumboTag> tags) {
        for (GumboTag tag : tags) kinds[tag] |= flag;
    };
    mark(kVoid,
         {GUMBO_TAG_AREA,  GUMBO_TAG_BASE,  GUMBO_TAG_BASEFONT, GUMBO_TAG_BGSOUND, GUMBO_TAG_BR,
          GUMBO_TAG_COL,   GUMBO_TAG_EMBED, GUMBO_TAG_FRAME,    GUMBO_TAG_HR,      GUMBO_TAG_IMG,
          GUMBO_TAG_IMAGE, GUMBO_TAG_INPUT, GUMBO_TAG_ISINDEX,  GUMBO_TAG_KEYGEN,  GUMBO_TAG_LINK,
          GUMBO_TAG_META,  GUMBO_TAG_PARAM, GUMBO_TAG_SOURCE,   GUMBO_TAG_TRACK,   GUMBO_TAG_WBR});
    mark(kSpecial,
         {GUMBO_TAG_ADDRESS,    GUMBO_TAG_APPLET,   GUMBO_TAG_AREA,      GUMBO_TAG_ARTICLE,
          GUMBO_TAG_ASIDE,      GUMBO_TAG_BASE,     GUMBO_TAG_BASEFONT,  GUMBO_TAG_BGSOUND,
          GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_BODY,     GUMBO_TAG_BR,        GUMBO_TAG_BUTTON,
          GUMBO_TAG_CAPTION,    GUMBO_TAG_CENTER,   GUMBO_TAG_COL,       GUMBO_TAG_COLGROUP,
          GUMBO_TAG_DD,         GUMBO_TAG_DETAILS,  GUMBO_TAG_DIR,       GUMBO_TAG_DIV,
          GUMBO_TAG_DL,         GUMBO_TAG_DT,       GUMBO_TAG_EMBED,     GUMBO_TAG_FIELDSET,
          GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FIGURE,   GUMBO_TAG_FOOTER,    GUMBO_TAG_FORM,
          GUMBO_TAG_FRAME,      GUMBO_TAG_FRAMESET, GUMBO_TAG_H1,        GUMBO_TAG_H2,
          GUMBO_TAG_H3,         GUMBO_TAG_H4,       GUMBO_TAG_H5,        GUMBO_TAG_H6,
          GUMBO_TAG_HEAD,       GUMBO_TAG_HEADER,   GUMBO_TAG_HGROUP,    GUMBO_TAG_HR,
          GUMBO_TAG_HTML,       GUMBO_TAG_IFRAME,   GUMBO_TAG_IMG,       GUMBO_TAG_IMAGE,
          GUMBO_TAG_INPUT,      GUMBO_TAG_ISINDEX,  GUMBO_TAG_LI,        GUMBO_TAG_LINK,
          GUMBO_TAG_LISTING,    GUMBO_TAG_MAIN,     GUMBO_TAG_MARQUEE,   GUMBO_TAG_MENU,
          GUMBO_TAG_MENUITEM,   GUMBO_TAG_META,     GUMBO_TAG_NAV,       GUMBO_TAG_NOEMBED,
          GUMBO_TAG_NOFRAMES,   GUMBO_TAG_NOSCRIPT, GUMBO_TAG_OBJECT,    GUMBO_TAG_OL,
          GUMBO_TAG_P,          GUMBO_TAG_PARAM,    GUMBO_TAG_PLAINTEXT, GUMBO_TAG_PRE,
          GUMBO_TAG_SCRIPT,     GUMBO_TAG_SECTION,  GUMBO_TAG_SELECT,    GUMBO_TAG_SOURCE,
          GUMBO_TAG_STYLE,      GUMBO_TAG_SUMMARY,  GUMBO_TAG_TABLE,     GUMBO_TAG_TBODY,
          GUMBO_TAG_TD,         GUMBO_TAG_TEMPLATE, GUMBO_TAG_TEXTAREA,  GUMBO_TAG_TFOOT,
          GUMBO_TAG_TH,         GUMBO_TAG_THEAD,    GUMBO_TAG_TITLE,     GUMBO_TAG_TR,
          GUMBO_TAG_TRACK,      GUMBO_TAG_UL,       GUMBO_TAG_WBR,       GUMBO_TAG_XMP});
    mark(kFormatting, {GUMBO_TAG_A, GUMBO_TAG_B, GUMBO_TAG_BIG, GUMBO_TAG_CODE, GUMBO_TAG_EM,
                       GUMBO_TAG_FONT, GUMBO_TAG_I, GUMBO_TAG_NOBR, GUMBO_TAG_S, GUMBO_TAG_SMALL,
                       GUMBO_TAG_STRIKE, GUMBO_TAG_STRONG, GUMBO_TAG_TT, GUMBO_TAG_U});
    mark(kClosesP,
         {GUMBO_TAG_ADDRESS, GUMBO_TAG_ARTICLE,  GUMBO_TAG_ASIDE,      GUMBO_TAG_BLOCKQUOTE,
          GUMBO_TAG_CENTER,  GUMBO_TAG_DETAILS,  GUMBO_TAG_DIR,        GUMBO_TAG_DIV,
          GUMBO_TAG_DL,      GUMBO_TAG_FIELDSET, GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FIGURE,
          GUMBO_TAG_FOOTER,  GUMBO_TAG_HEADER,   GUMBO_TAG_HGROUP,     GUMBO_TAG_MAIN,
          GUMBO_TAG_MENU,    GUMBO_TAG_NAV,      GUMBO_TAG_OL,         GUMBO_TAG_P,
          GUMBO_TAG_SECTION, GUMBO_TAG_SUMMARY,  GUMBO_TAG_UL,         GUMBO_TAG_H1,
          GUMBO_TAG_H2,      GUMBO_TAG_H3,       GUMBO_TAG_H4,         GUMBO_TAG_H5,
          GUMBO_TAG_H6,      GUMBO_TAG_PRE,      GUMBO_TAG_LISTING,    GUMBO_TAG_FORM,
          GUMBO_TAG_LI,      GUMBO_TAG_DD,       GUMBO_TAG_DT,         GUMBO_TAG_PLAINTEXT,
          GUMBO_TAG_XMP,     GUMBO_TAG_HR});
    mark(kScope,
         {GUMBO_TAG_APPLET, GUMBO_TAG_CAPTION, GUMBO_TAG_HTML, GUMBO_TAG_TABLE, GUMBO_TAG_TD,
          GUMBO_TAG_TH, GUMBO_TAG_MARQUEE, GUMBO_TAG_OBJECT, GUMBO_TAG_TEMPLATE});
    mark(kRawText, {GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE, GUMBO_TAG_XMP, GUMBO_TAG_IFRAME,
                    GUMBO_TAG_NOEMBED, GUMBO_TAG_NOFRAMES, GUMBO_TAG_TEXTAREA, GUMBO_TAG_TITLE});
    mark(kPutsMarker, {GUMBO_TAG_APPLET, GUMBO_TAG_MARQUEE, GUMBO_TAG_OBJECT, GUMBO_TAG_TEMPLATE,
                       GUMBO_TAG_TD, GUMBO_TAG_TH, GUMBO_TAG_CAPTION});
    mark(kLeavesForeign,
         {GUMBO_TAG_B,       GUMBO_TAG_BIG,    GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_BODY,
          GUMBO_TAG_BR,      GUMBO_TAG_CENTER, GUMBO_TAG_CODE,       GUMBO_TAG_DD,
          GUMBO_TAG_DIV,     GUMBO_TAG_DL,     GUMBO_TAG_DT,         GUMBO_TAG_EM,
          GUMBO_TAG_EMBED,   GUMBO_TAG_H1,     GUMBO_TAG_H2,         GUMBO_TAG_H3,
          GUMBO_TAG_H4,      GUMBO_TAG_H5,     GUMBO_TAG_H6,         GUMBO_TAG_HEAD,
          GUMBO_TAG_HR,      GUMBO_TAG_I,      GUMBO_TAG_IMG,        GUMBO_TAG_LI,
          GUMBO_TAG_LISTING, GUMBO_TAG_MENU,   GUMBO_TAG_META,       GUMBO_TAG_NOBR,
          GUMBO_TAG_OL,      GUMBO_TAG_P,      GUMBO_TAG_PRE,        GUMBO_TAG_RUBY,
          GUMBO_TAG_S,       GUMBO_TAG_SMALL,  GUMBO_TAG_SPAN,       GUMBO_TAG_STRONG,
          GUMBO_TAG_STRIKE,  GUMBO_TAG_SUB,    GUMBO_TAG_SUP,        GUMBO_TAG_TABLE,
          GUMBO_TAG_TT,      GUMBO_TAG_U,      GUMBO_TAG_UL,         GUMBO_TAG_VAR});
    return kinds;
}

// Read only once made: the scan may run on any thread.
const TagKinds& tagKinds() {
    static const TagKinds kinds = makeTagKinds();
    return kinds;
}

bool has(GumboTag tag, std::uint8_t flag) { return (tagKinds()[tag] & flag) != 0; }

bool isHeading(GumboTag tag) { return tag >= GUMBO_TAG_H1 && tag <= GUMBO_TAG_H6; }

// Whether the parser opens the closed formatting elements again before the
// element of a start tag (blocks, headings, table parts, ruby text and what
// belongs to the head are inserted without).
bool reopensFormatting(GumboTag tag) {
    if (tag == GUMBO_TAG_XMP) return true;
    if (has(tag, kClosesP) || isHeading(tag)) return false;
    switch (tag) {
        case GUMBO_TAG_RB:
        case GUMBO_TAG_RTC:
        case GUMBO_TAG_RP:
        case GUMBO_TAG_RT:
        case GUMBO_TAG_BASE:
        case GUMBO_TAG_BASEFONT:
        case GUMBO_TAG_BGSOUND:
        case GUMBO_TAG_LINK:
        case GUMBO_TAG_META:
        case GUMBO_TAG_NOFRAMES:
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_TEMPLATE:
        case GUMBO_TAG_TITLE:
        case GUMBO_TAG_MENUITEM:
        case GUMBO_TAG_TEXTAREA:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_NOEMBED:
        case GUMBO_TAG_PARAM:
        case GUMBO_TAG_SOURCE:
        case GUMBO_TAG_TRACK:
        case GUMBO_TAG_FRAMESET:
        case GUMBO_TAG_FRAME:
            return false;
        default:
            return true;
    }
}

// Whether a start tag's element shows something, so that a frameset can no
// longer take the body's place.
bool endsFramesetOk(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_BODY:
        case GUMBO_TAG_PRE:
        case GUMBO_TAG_LISTING:
        case GUMBO_TAG_LI:
        case GUMBO_TAG_DD:
        case GUMBO_TAG_DT:
        case GUMBO_TAG_BUTTON:
        case GUMBO_TAG_APPLET:
        case GUMBO_TAG_MARQUEE:
        case GUMBO_TAG_OBJECT:
        case GUMBO_TAG_TABLE:
        case GUMBO_TAG_AREA:
        case GUMBO_TAG_BR:
        case GUMBO_TAG_EMBED:
        case GUMBO_TAG_IMG:
        case GUMBO_TAG_IMAGE:
        case GUMBO_TAG_KEYGEN:
        case GUMBO_TAG_WBR:
        case GUMBO_TAG_INPUT:
        case GUMBO_TAG_HR:
        case GUMBO_TAG_XMP:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_SELECT:
        case GUMBO_TAG_TEXTAREA:
        case GUMBO_TAG_ISINDEX:
            return true;
        default:
            return false;
    }
}

// Whether a start tag before the body leaves the parser in the head.
bool belongsToHead(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_HTML:
        case GUMBO_TAG_HEAD:
        case GUMBO_TAG_TITLE:
        case GUMBO_TAG_META:
        case GUMBO_TAG_LINK:
        case GUMBO_TAG_BASE:
        case GUMBO_TAG_BASEFONT:
        case GUMBO_TAG_BGSOUND:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_NOSCRIPT:
        case GUMBO_TAG_NOFRAMES:
        case GUMBO_TAG_TEMPLATE:
            return true;
        default:
            return false;
    }
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// Whether text is name (in lower case) in any ASCII case.
bool equalFolded(std::string_view text, std::string_view name) {
    if (text.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (lower(text[i]) != name[i]) return false;
    }
    return true;
}

// FNV-1a, over lower-cased bytes when fold is set.
std::uint64_t hashBytes(std::uint64_t hash, std::string_view bytes, bool fold) {
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(fold ? lower(c) : c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}
constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ULL;

// One tag as the tokenizer reads it.
struct TagToken {
    GumboTag tag = GUMBO_TAG_UNKNOWN;
    std::uint64_t name = 0;        // an unknown tag's name, in SVG and MathML
    std::uint64_t attributes = 0;  // what tells formatting elements apart
    std::size_t count = 0;         // attributes, repeated ones included
    bool selfClosing = false;
    bool presentational = false;  // a color, face or size attribute
};

// An element of the stack of open elements. In HTML the parser tells
// elements by their tag alone: every element of a name it does not know is
// one GUMBO_TAG_UNKNOWN, and any unknown end tag closes the nearest of them.
// In SVG and MathML it compares their names.
struct Open {
    GumboTag tag;
    std::uint64_t name;  // of an unknown SVG or MathML element
    // Its depth in the tree, which may pass its place in the stack: the
    // parser takes a <form> out of the stack when it ends, and the elements
    // opened inside it stay inside it.
    std::size_t level;
    bool foreign;      // SVG or MathML
    bool mathMl;       // MathML
    bool integration;  // an SVG or MathML element whose content is HTML again
    bool active;       // on the formatting list
};

// An entry of the list of active formatting elements.
struct Active {
    GumboTag tag;  // kMarker for a marker
    std::uint64_t attributes;
    std::size_t open;  // its element's place in the stack, kNone once closed
};

class Scan {
public:
    Scan(std::string_view text, const XmlLimits& limits) : text_(text), limits_(limits) {
        result_.deepest = depth();
    }

    HtmlNesting run() {
        for (std::size_t at = 0; at < text_.size() && !stopped();) {
            const std::size_t lt = text_.find('<', at);
            const std::size_t end = lt == std::string_view::npos ? text_.size() : lt;
            if (end > at) characters(at, end);
            if (end == text_.size()) break;
            at = markup(lt);
        }
        return result_;
    }

private:
    bool stopped() const { return result_.excess.found() || plainText_; }

    // Of the stack of open elements, with html and body.
    std::size_t depth() const { return stack_.size() + 2; }
    // Of the tree at the current node.
    std::size_t level() const { return stack_.empty() ? 2 : stack_.back().level; }

    void refuse(XmlExcess::Kind kind) {
        if (result_.excess.found()) return;
        result_.excess.offset = tagStart_;
        result_.excess.kind = kind;
        result_.excess.limits = limits_;
    }

    void charge(std::size_t steps) {
        work_ += steps;
        if (work_ > limits_.work) refuse(XmlExcess::Kind::Work);
    }
    std::size_t beyondFree() const { return depth() > kFreeDepth ? depth() - kFreeDepth : 0; }

    // Markup at lt ("<"); returns where the text goes on.
    std::size_t markup(std::size_t lt) {
        tagStart_ = lt;
        const char next = lt + 1 < text_.size() ? text_[lt + 1] : '\0';
        if (next == '!') {
            if (text_.compare(lt, 4, "<!--") == 0) return afterComment(lt + 4);
            if (inForeign() && text_.compare(lt, 9, "<![CDATA[") == 0) return after(lt + 9, "]]>");
            return after(lt + 2, ">");
        }
        if (next == '?') return after(lt + 2, ">");
        if (next == '/') {
            if (lt + 2 < text_.size() && isLetter(text_[lt + 2])) {
                TagToken token;
                const std::size_t end = readTag(lt + 2, token);
                if (end != kNone) endTag(token);
                return end == kNone ? text_.size() : end;
            }
            return after(lt + 2, ">");
        }
        if (isLetter(next)) {
            TagToken token;
            const std::size_t end = readTag(lt + 1, token);
            if (end == kNone) return text_.size();  // a tag the text ends in is dropped
            return startTag(token, end);
        }
        characters(lt, lt + 1);
        return lt + 1;
    }

    std::size_t after(std::size_t from, std::string_view end) const {
        const std::size_t found = text_.find(end, from);
        return found == std::string_view::npos ? text_.size() : found + end.size();
    }

    std::size_t afterComment(std::size_t from) const {
        if (text_.compare(from, 1, ">") == 0) return from + 1;   // <!-->
        if (text_.compare(from, 2, "->") == 0) return from + 2;  // <!--->
        return after(from, "-->");
    }

    // Reads a tag's name and attributes from its name's first byte; returns
    // the position after its ">", kNone when the text ends first.
    std::size_t readTag(std::size_t at, TagToken& token) const {
        const std::size_t nameStart = at;
        while (at < text_.size() && !isSpace(text_[at]) && text_[at] != '/' && text_[at] != '>')
            ++at;
        const std::string_view name = text_.substr(nameStart, at - nameStart);
        token.tag = gumbo_tagn_enum(name.data(), static_cast<unsigned>(name.size()));
        if (token.tag == GUMBO_TAG_UNKNOWN) token.name = hashBytes(kHashStart, name, true);
        token.attributes = kHashStart;
        while (at < text_.size()) {
            const char c = text_[at];
            if (c == '>') return at + 1;
            if (isSpace(c)) {
                ++at;
                continue;
            }
            if (c == '/') {
                token.selfClosing = at + 1 < text_.size() && text_[at + 1] == '>';
                ++at;
                continue;
            }
            token.selfClosing = false;
            const std::size_t attributeStart = at++;  // the first byte may be "="
            while (at < text_.size() && !isSpace(text_[at]) && text_[at] != '/' &&
                   text_[at] != '>' && text_[at] != '=') {
                ++at;
            }
            ++token.count;
            const std::string_view attribute = text_.substr(attributeStart, at - attributeStart);
            token.attributes = hashBytes(token.attributes, attribute, true);
            for (std::string_view name : {"color", "face", "size"}) {
                if (equalFolded(attribute, name)) token.presentational = true;
            }
            std::size_t look = at;
            while (look < text_.size() && isSpace(text_[look])) ++look;
            if (look >= text_.size() || text_[look] != '=') continue;
            at = look + 1;
            while (at < text_.size() && isSpace(text_[at])) ++at;
            if (at >= text_.size()) return kNone;
            const std::size_t valueStart = at;
            if (text_[at] == '"' || text_[at] == '\'') {
                const std::size_t close = text_.find(text_[at], at + 1);
                if (close == std::string_view::npos) return kNone;
                at = close + 1;
            } else {
                while (at < text_.size() && !isSpace(text_[at]) && text_[at] != '>') ++at;
            }
            token.attributes = hashBytes(token.attributes ^ 0x3d,
                                         text_.substr(valueStart, at - valueStart), false);
        }
        return kNone;
    }

    // The text of a raw text element up to its end tag; returns the position
    // after that end tag.
    std::size_t afterRawText(std::size_t from, GumboTag tag) const {
        const std::string_view name = gumbo_normalized_tagname(tag);
        for (std::size_t at = text_.find("</", from); at != std::string_view::npos;
             at = text_.find("</", at + 2)) {
            const std::size_t after = at + 2 + name.size();
            if (after > text_.size()) break;
            if (!equalFolded(text_.substr(at + 2, name.size()), name)) continue;
            if (after == text_.size() || isSpace(text_[after]) || text_[after] == '/' ||
                text_[after] == '>') {
                return this->after(after, ">");
            }
        }
        return text_.size();
    }

    void characters(std::size_t from, std::size_t to) {
        if (!bodyStarted_ || framesetOk_) {
            for (std::size_t i = from; i < to; ++i) {
                if (isSpace(text_[i])) continue;
                bodyStarted_ = true;
                framesetOk_ = false;
                break;
            }
        }
        if (framed_ || inForeign() || !reopeningNeeded()) return;
        if (inTableContext()) {
            bool blank = true;
            for (std::size_t i = from; i < to && blank; ++i) blank = isSpace(text_[i]);
            if (blank) return;
        }
        tagStart_ = from;
        reopenFormatting();
    }

    bool inForeign() const {
        return !stack_.empty() && stack_.back().foreign && !stack_.back().integration;
    }

    // Elements opened and closed at once, levels below the current node.
    void reachLeaf(std::size_t levels) {
        if (level() + levels > result_.deepest) result_.deepest = level() + levels;
    }

    bool inSelect() const { return selectOpen() != kNone; }

    static bool isTablePart(GumboTag tag) {
        return tag == GUMBO_TAG_CAPTION || tag == GUMBO_TAG_TABLE || tag == GUMBO_TAG_TBODY ||
               tag == GUMBO_TAG_TFOOT || tag == GUMBO_TAG_THEAD || tag == GUMBO_TAG_TR ||
               tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH;
    }

    // Closes the element at index, which put a marker on the formatting list.
    void closeWithMarker(std::size_t index) {
        popTo(index);
        clearToMarker();
    }

    // The <select> whose options are being read: the current node, or the
    // element below its open options.
    std::size_t selectOpen() const {
        for (std::size_t i = stack_.size(); i-- > 0;) {
            const Open& open = stack_[i];
            if (open.foreign) return kNone;
            if (open.tag == GUMBO_TAG_SELECT) return i;
            if (open.tag != GUMBO_TAG_OPTION && open.tag != GUMBO_TAG_OPTGROUP) return kNone;
        }
        return kNone;
    }

    bool inTableContext() const {
        if (stack_.empty() || stack_.back().foreign) return false;
        const GumboTag top = stack_.back().tag;
        return top == GUMBO_TAG_TABLE || top == GUMBO_TAG_TBODY || top == GUMBO_TAG_THEAD ||
               top == GUMBO_TAG_TFOOT || top == GUMBO_TAG_TR;
    }

    bool topIs(GumboTag tag, bool foreign = false) const {
        return !stack_.empty() && stack_.back().foreign == foreign && stack_.back().tag == tag;
    }

    // The parser's "special" elements; in SVG and MathML those where HTML
    // comes back, and annotation-xml.
    static bool isSpecial(const Open& open) {
        if (open.foreign) return open.integration || open.tag == GUMBO_TAG_ANNOTATION_XML;
        return has(open.tag, kSpecial);
    }

    // Whether an element ends the searches "in scope"; extra adds the
    // elements of a narrower scope.
    static bool boundsScope(const Open& open, std::initializer_list<GumboTag> extra) {
        if (open.foreign) return open.integration || open.tag == GUMBO_TAG_ANNOTATION_XML;
        if (has(open.tag, kScope)) return true;
        for (GumboTag tag : extra) {
            if (open.tag == tag) return true;
        }
        return false;
    }

    // The nearest open HTML element that match accepts, searched from the
    // current node down to the first element that bounds the scope.
    template <typename Match>
    std::size_t inScope(Match match, std::initializer_list<GumboTag> extra = {}) const {
        for (std::size_t i = stack_.size(); i-- > 0;) {
            if (!stack_[i].foreign && match(stack_[i].tag)) return i;
            if (boundsScope(stack_[i], extra)) return kNone;
        }
        return kNone;
    }
    std::size_t inScope(GumboTag tag, std::initializer_list<GumboTag> extra = {}) const {
        return inScope([tag](GumboTag open) { return open == tag; }, extra);
    }

    // The nearest of tags, searched down to the table that encloses it.
    std::size_t inTableScope(std::initializer_list<GumboTag> tags) const {
        for (std::size_t i = stack_.size(); i-- > 0;) {
            const Open& open = stack_[i];
            if (open.foreign) continue;
            for (GumboTag tag : tags) {
                if (open.tag == tag) return i;
            }
            if (open.tag == GUMBO_TAG_TABLE || open.tag == GUMBO_TAG_TEMPLATE) return kNone;
        }
        return kNone;
    }

    void push(GumboTag tag) { pushIn(false, false, tag, 0); }

    // An SVG or MathML element (the namespace of the current node, or the
    // one <svg> or <math> opens).
    void pushForeign(GumboTag tag, std::uint64_t name) {
        bool mathMl = tag == GUMBO_TAG_MATH;
        if (inForeign()) mathMl = stack_.back().mathMl;
        if (tag == GUMBO_TAG_SVG && topIs(GUMBO_TAG_ANNOTATION_XML, true)) mathMl = false;
        pushIn(true, mathMl, tag, name);
    }

    void pushIn(bool foreign, bool mathMl, GumboTag tag, std::uint64_t name) {
        // Where HTML comes back inside SVG or MathML.
        const bool integration =
            foreign &&
            (mathMl ? tag == GUMBO_TAG_MI || tag == GUMBO_TAG_MO || tag == GUMBO_TAG_MN ||
                          tag == GUMBO_TAG_MS || tag == GUMBO_TAG_MTEXT
                    : tag == GUMBO_TAG_FOREIGNOBJECT || tag == GUMBO_TAG_DESC ||
                          tag == GUMBO_TAG_TITLE);
        stack_.push_back({tag, name, level() + 1, foreign, mathMl, integration, false});
        if (!foreign && has(tag, kPutsMarker)) active_.push_back({kMarker, 0, kNone});
        if (level() > result_.deepest) result_.deepest = level();
        if (level() > limits_.nesting) refuse(XmlExcess::Kind::Nesting);
    }

    // The formatting list's entry of the open element at index.
    std::size_t activeOf(std::size_t index) {
        charge(active_.size() / kFreeDepth);
        for (std::size_t j = active_.size(); j-- > 0;) {
            if (active_[j].open == index) return j;
        }
        return kNone;
    }

    void popOne() {
        const Open& open = stack_.back();
        if (open.active) {
            const std::size_t entry = activeOf(stack_.size() - 1);
            if (entry != kNone) active_[entry].open = kNone;
        }
        // Closing a cell or caption clears the formatting list back to its
        // marker; an object or template only when its end tag closes it.
        const bool cell = !open.foreign && (open.tag == GUMBO_TAG_TD || open.tag == GUMBO_TAG_TH ||
                                            open.tag == GUMBO_TAG_CAPTION);
        stack_.pop_back();
        if (cell) clearToMarker();
    }

    // Closes the element at index and every element opened after it.
    void popTo(std::size_t index) {
        while (stack_.size() > index) popOne();
    }

    // Takes the element at index out of the stack, leaving those above it.
    void removeAt(std::size_t index) {
        if (stack_[index].active) {
            const std::size_t entry = activeOf(index);
            if (entry != kNone) active_[entry].open = kNone;
        }
        stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(index));
        charge((stack_.size() - index) / kFreeDepth);
        for (Active& entry : active_) {
            if (entry.open != kNone && entry.open > index) --entry.open;
        }
    }

    void clearToMarker() {
        while (!active_.empty()) {
            const bool marker = active_.back().tag == kMarker;
            if (active_.back().open != kNone) stack_[active_.back().open].active = false;
            active_.pop_back();
            if (marker) break;
        }
    }

    // The last entry of the formatting list for tag after its last marker.
    std::size_t lastActive(GumboTag tag) const {
        for (std::size_t j = active_.size(); j-- > 0;) {
            if (active_[j].tag == kMarker) break;
            if (active_[j].tag == tag) return j;
        }
        return kNone;
    }

    bool reopeningNeeded() const {
        return !active_.empty() && active_.back().tag != kMarker && active_.back().open == kNone;
    }

    // The formatting elements that a closed block closed are opened again,
    // in their order, each a new element.
    void reopenFormatting() {
        if (!reopeningNeeded()) return;
        std::size_t j = active_.size();
        while (j > 0 && active_[j - 1].tag != kMarker && active_[j - 1].open == kNone) --j;
        for (; j < active_.size() && !result_.excess.found(); ++j) {
            push(active_[j].tag);
            stack_.back().active = true;
            active_[j].open = stack_.size() - 1;
            charge(kFreeDepth + beyondFree());
        }
    }

    void pushFormatting(const TagToken& token) {
        reopenFormatting();
        push(token.tag);
        stack_.back().active = true;
        // At most three equal entries after the last marker: the earliest goes.
        std::size_t equal = 0;
        std::size_t earliest = kNone;
        std::size_t j = active_.size();
        for (; j-- > 0;) {
            const Active& entry = active_[j];
            if (entry.tag == kMarker) break;
            if (entry.tag == token.tag && entry.attributes == token.attributes) {
                ++equal;
                earliest = j;
            }
        }
        charge((active_.size() - j) / 4);
        if (equal >= 3) {
            if (active_[earliest].open != kNone) stack_[active_[earliest].open].active = false;
            active_.erase(active_.begin() + static_cast<std::ptrdiff_t>(earliest));
        }
        active_.push_back({token.tag, token.attributes, stack_.size() - 1});
    }

    // The end of a formatting element: it closes with what is opened inside
    // it, unless a block was opened inside it; then the parser moves it
    // below that block (the depth stays) and tries again, at most eight times.
    void adopt(GumboTag tag) {
        for (int round = 0; round < 8 && !result_.excess.found(); ++round) {
            const std::size_t entry = lastActive(tag);
            if (entry == kNone) {
                closeAnyOther(tag);
                return;
            }
            const std::size_t open = active_[entry].open;
            if (open == kNone) {
                active_.erase(active_.begin() + static_cast<std::ptrdiff_t>(entry));
                return;
            }
            for (std::size_t i = stack_.size(); --i > open;) {
                if (boundsScope(stack_[i], {})) return;  // not in scope: ignored
            }
            charge(beyondFree());
            std::size_t block = kNone;
            for (std::size_t i = open + 1; i < stack_.size() && block == kNone; ++i) {
                if (isSpecial(stack_[i])) block = i;
            }
            if (block == kNone) {
                popTo(open);
                const std::size_t closed = lastActive(tag);
                if (closed != kNone)
                    active_.erase(active_.begin() + static_cast<std::ptrdiff_t>(closed));
                return;
            }
            Open moved = stack_[open];
            moved.level = stack_[block].level + 1;  // a copy of it, inside the block
            if (moved.level > result_.deepest) result_.deepest = moved.level;
            stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(open));
            stack_.insert(stack_.begin() + static_cast<std::ptrdiff_t>(block), moved);
            for (Active& other : active_) {
                if (other.open != kNone && other.open > open && other.open <= block) --other.open;
            }
            active_[entry].open = block;
        }
    }

    // An end tag that closes the nearest element of its name, unless a
    // special element stands between.
    void closeAnyOther(GumboTag tag) {
        for (std::size_t i = stack_.size(); i-- > 0;) {
            const Open& open = stack_[i];
            if (!open.foreign && open.tag == tag) {
                popTo(i);
                return;
            }
            if (isSpecial(open)) return;
        }
    }

    // Closes the current node while it is an element HTML ends implicitly
    // (dd, dt, li, option, optgroup, p, rb, rp, rt, rtc), but for except.
    void closeImplied(GumboTag except) {
        while (!stack_.empty() && !stack_.back().foreign && stack_.back().tag != except) {
            switch (stack_.back().tag) {
                case GUMBO_TAG_DD:
                case GUMBO_TAG_DT:
                case GUMBO_TAG_LI:
                case GUMBO_TAG_OPTION:
                case GUMBO_TAG_OPTGROUP:
                case GUMBO_TAG_P:
                case GUMBO_TAG_RB:
                case GUMBO_TAG_RP:
                case GUMBO_TAG_RT:
                case GUMBO_TAG_RTC:
                    popOne();
                    continue;
                default:
                    return;
            }
        }
    }

    void closeP() {
        const std::size_t p = inScope(GUMBO_TAG_P, {GUMBO_TAG_BUTTON});
        if (p != kNone) popTo(p);
    }

    // An <li> closes an open <li>, a <dd> or <dt> an open <dd> or <dt>,
    // unless a block other than address, div and p stands between.
    void closeListItem(GumboTag a, GumboTag b) {
        for (std::size_t i = stack_.size(); i-- > 0;) {
            const Open& open = stack_[i];
            if (!open.foreign && (open.tag == a || open.tag == b)) {
                popTo(i);
                return;
            }
            if (isSpecial(open) &&
                (open.foreign || (open.tag != GUMBO_TAG_ADDRESS && open.tag != GUMBO_TAG_DIV &&
                                  open.tag != GUMBO_TAG_P))) {
                return;
            }
        }
    }

    // Table sections, rows and cells close those before them and open the
    // ones HTML implies; outside a table they are ignored.
    void tablePart(GumboTag tag) {
        if (tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH) {
            const std::size_t at = inTableScope(
                {GUMBO_TAG_TR, GUMBO_TAG_TBODY, GUMBO_TAG_THEAD, GUMBO_TAG_TFOOT, GUMBO_TAG_TABLE});
            if (at == kNone) return;
            const GumboTag found = stack_[at].tag;
            popTo(at + 1);
            if (found == GUMBO_TAG_TABLE) push(GUMBO_TAG_TBODY);
            if (found != GUMBO_TAG_TR) push(GUMBO_TAG_TR);
        } else if (tag == GUMBO_TAG_TR) {
            const std::size_t at =
                inTableScope({GUMBO_TAG_TBODY, GUMBO_TAG_THEAD, GUMBO_TAG_TFOOT, GUMBO_TAG_TABLE});
            if (at == kNone) return;
            const GumboTag found = stack_[at].tag;
            popTo(at + 1);
            if (found == GUMBO_TAG_TABLE) push(GUMBO_TAG_TBODY);
        } else {
            const std::size_t at = inTableScope({GUMBO_TAG_TABLE});
            if (at == kNone) return;
            popTo(at + 1);
            if (tag == GUMBO_TAG_COL) tag = GUMBO_TAG_COLGROUP;
        }
        push(tag);
    }

    // A frameset takes the body's place while nothing shown came before it,
    // and holds framesets and frames alone; elsewhere it is ignored.
    std::size_t framesetTag(GumboTag tag, std::size_t end) {
        if (tag == GUMBO_TAG_FRAMESET && (framesetOk_ || topIs(GUMBO_TAG_FRAMESET))) {
            if (!framed_) {
                popTo(0);
                active_.clear();
            }
            framed_ = true;
            framesetOk_ = false;
            bodyStarted_ = true;
            push(tag);
        } else if (tag == GUMBO_TAG_FRAME) {
            reachLeaf(1);
        } else if (tag == GUMBO_TAG_NOFRAMES) {
            reachLeaf(1);
            return afterRawText(end, tag);
        }
        return end;
    }

    // Handles a start tag that ends at end; returns where the text goes on.
    std::size_t startTag(const TagToken& token, std::size_t end) {
        charge(depth() + 1 > kFreeDepth ? depth() + 1 - kFreeDepth : 0);  // at its own depth
        if (token.count > limits_.attributes) refuse(XmlExcess::Kind::Attributes);
        if (result_.excess.found()) return end;
        const GumboTag tag = token.tag;
        if (inForeign()) {
            const bool leaves =
                has(tag, kLeavesForeign) || (tag == GUMBO_TAG_FONT && token.presentational);
            if (!leaves) {
                if (token.selfClosing) {
                    reachLeaf(1);
                } else {
                    pushForeign(tag, token.name);
                }
                return end;
            }
            while (inForeign()) popOne();
        }
        if (const std::size_t select = selectOpen(); select != kNone) {
            // A <select> takes only its options; a field or a table part
            // closes it first, anything else is ignored.
            switch (tag) {
                case GUMBO_TAG_OPTION:
                case GUMBO_TAG_OPTGROUP:
                case GUMBO_TAG_SCRIPT:
                case GUMBO_TAG_TEMPLATE:
                    break;
                case GUMBO_TAG_SELECT:
                    popTo(select);
                    return end;
                case GUMBO_TAG_INPUT:
                case GUMBO_TAG_KEYGEN:
                case GUMBO_TAG_TEXTAREA:
                    popTo(select);
                    break;
                default:
                    if (!isTablePart(tag) || inTableScope({GUMBO_TAG_TABLE}) == kNone) return end;
                    popTo(select);
                    break;
            }
        }
        if (framed_ || tag == GUMBO_TAG_FRAMESET) return framesetTag(tag, end);
        if (endsFramesetOk(tag)) framesetOk_ = false;
        if (!bodyStarted_) bodyStarted_ = !belongsToHead(tag);
        switch (tag) {
            case GUMBO_TAG_HTML:
            case GUMBO_TAG_HEAD:
            case GUMBO_TAG_BODY:
                return end;
            case GUMBO_TAG_NOSCRIPT:
                if (bodyStarted_) break;
                // In the head it holds only links, metadata and styles, and
                // anything else closes it.
                reachLeaf(2);
                return end;
            case GUMBO_TAG_ISINDEX:
                if (!formPointer_) closeP();  // read as a form, unless one is open
                reachLeaf(3);
                return end;
            case GUMBO_TAG_FORM:
                if (formPointer_) return end;  // a form inside a form is ignored
                formPointer_ = true;
                break;
            case GUMBO_TAG_RB:
            case GUMBO_TAG_RTC:
            case GUMBO_TAG_RP:
            case GUMBO_TAG_RT:
                if (inScope(GUMBO_TAG_RUBY) != kNone) {
                    closeImplied(tag == GUMBO_TAG_RP || tag == GUMBO_TAG_RT ? GUMBO_TAG_RTC
                                                                            : GUMBO_TAG_LAST);
                }
                break;
            case GUMBO_TAG_LI:
                closeListItem(GUMBO_TAG_LI, GUMBO_TAG_LI);
                break;
            case GUMBO_TAG_DD:
            case GUMBO_TAG_DT:
                closeListItem(GUMBO_TAG_DD, GUMBO_TAG_DT);
                break;
            case GUMBO_TAG_A:
                if (lastActive(GUMBO_TAG_A) != kNone) {
                    adopt(GUMBO_TAG_A);
                    const std::size_t left = lastActive(GUMBO_TAG_A);
                    if (left != kNone) {
                        if (active_[left].open != kNone) removeAt(active_[left].open);
                        active_.erase(active_.begin() + static_cast<std::ptrdiff_t>(left));
                    }
                }
                pushFormatting(token);
                return end;
            case GUMBO_TAG_NOBR:
                reopenFormatting();
                if (inScope(GUMBO_TAG_NOBR) != kNone) adopt(GUMBO_TAG_NOBR);
                pushFormatting(token);
                return end;
            case GUMBO_TAG_TABLE: {
                if (inTableContext()) popTo(inTableScope({GUMBO_TAG_TABLE}));
                push(tag);
                return end;
            }
            case GUMBO_TAG_CAPTION:
            case GUMBO_TAG_COLGROUP:
            case GUMBO_TAG_COL:
            case GUMBO_TAG_TBODY:
            case GUMBO_TAG_THEAD:
            case GUMBO_TAG_TFOOT:
            case GUMBO_TAG_TR:
            case GUMBO_TAG_TD:
            case GUMBO_TAG_TH:
                tablePart(tag);
                if (tag == GUMBO_TAG_COL) reachLeaf(1);
                return end;
            case GUMBO_TAG_OPTION:
            case GUMBO_TAG_OPTGROUP:
                if (topIs(GUMBO_TAG_OPTION)) popOne();
                break;
            case GUMBO_TAG_BUTTON: {
                const std::size_t open = inScope(GUMBO_TAG_BUTTON);
                if (open != kNone) popTo(open);
                break;
            }
            case GUMBO_TAG_SVG:
            case GUMBO_TAG_MATH:
                reopenFormatting();
                if (token.selfClosing) {
                    reachLeaf(1);
                } else {
                    pushForeign(tag, 0);
                }
                return end;
            default:
                break;
        }
        if (has(tag, kClosesP)) closeP();
        if (isHeading(tag) && !stack_.empty() && isHeading(stack_.back().tag) &&
            !stack_.back().foreign) {
            popOne();
        }
        if (has(tag, kFormatting)) {
            pushFormatting(token);
            return end;
        }
        if (reopensFormatting(tag)) reopenFormatting();
        if (has(tag, kVoid) || has(tag, kRawText)) {
            // Opened and closed at once, or around its text alone.
            reachLeaf(1);
            return has(tag, kVoid) ? end : afterRawText(end, tag);
        }
        push(tag);
        // Everything after <plaintext> is text, unless a <select> ignores it.
        if (tag == GUMBO_TAG_PLAINTEXT && !inSelect()) {
            if (end < text_.size()) characters(end, text_.size());
            plainText_ = true;
        }
        return end;
    }

    void endTag(const TagToken& token) {
        charge(beyondFree());
        if (token.count > limits_.attributes) refuse(XmlExcess::Kind::Attributes);
        if (result_.excess.found()) return;
        const GumboTag tag = token.tag;
        if (!stack_.empty() && stack_.back().foreign) {
            for (std::size_t i = stack_.size(); i-- > 0 && stack_[i].foreign;) {
                if (stack_[i].tag == tag && stack_[i].name == token.name) {
                    popTo(i);
                    return;
                }
            }
        }
        if (const std::size_t select = selectOpen();
            select != kNone && tag != GUMBO_TAG_OPTION && tag != GUMBO_TAG_OPTGROUP &&
            tag != GUMBO_TAG_SELECT && tag != GUMBO_TAG_TEMPLATE) {
            // Ignored inside a <select>, but for the end of the table part
            // it stands in.
            if (!isTablePart(tag) || inTableScope({tag}) == kNone) return;
            popTo(select);
        }
        std::size_t open = kNone;
        switch (tag) {
            case GUMBO_TAG_HTML:
            case GUMBO_TAG_BODY:
            case GUMBO_TAG_HEAD:
                bodyStarted_ = true;
                return;
            case GUMBO_TAG_BR:  // read as <br>
                bodyStarted_ = true;
                reopenFormatting();
                reachLeaf(1);
                return;
            case GUMBO_TAG_P:
                open = inScope(tag, {GUMBO_TAG_BUTTON});
                if (open == kNone) reachLeaf(1);  // read as an empty <p>
                break;
            case GUMBO_TAG_LI:
                open = inScope(tag, {GUMBO_TAG_OL, GUMBO_TAG_UL});
                break;
            case GUMBO_TAG_H1:
            case GUMBO_TAG_H2:
            case GUMBO_TAG_H3:
            case GUMBO_TAG_H4:
            case GUMBO_TAG_H5:
            case GUMBO_TAG_H6:
                open = inScope(isHeading);
                break;
            case GUMBO_TAG_FORM:
                formPointer_ = false;
                open = inScope(tag);
                if (open == kNone) return;
                closeImplied(GUMBO_TAG_LAST);
                removeAt(open);
                return;
            case GUMBO_TAG_TEMPLATE:
                for (std::size_t i = stack_.size(); i-- > 0 && open == kNone;) {
                    if (!stack_[i].foreign && stack_[i].tag == tag) open = i;
                }
                if (open != kNone) closeWithMarker(open);
                return;
            case GUMBO_TAG_TABLE:
            case GUMBO_TAG_CAPTION:
            case GUMBO_TAG_COLGROUP:
            case GUMBO_TAG_TBODY:
            case GUMBO_TAG_THEAD:
            case GUMBO_TAG_TFOOT:
            case GUMBO_TAG_TR:
            case GUMBO_TAG_TD:
            case GUMBO_TAG_TH:
                open = inTableScope({tag});
                break;
            case GUMBO_TAG_SELECT:
                for (std::size_t i = stack_.size(); i-- > 0;) {
                    const Open& entry = stack_[i];
                    if (entry.foreign) break;
                    if (entry.tag == tag) {
                        open = i;
                        break;
                    }
                    if (entry.tag != GUMBO_TAG_OPTION && entry.tag != GUMBO_TAG_OPTGROUP) break;
                }
                break;
            case GUMBO_TAG_OPTION:
            case GUMBO_TAG_OPTGROUP:
                if (tag == GUMBO_TAG_OPTGROUP && topIs(GUMBO_TAG_OPTION) && stack_.size() >= 2 &&
                    stack_[stack_.size() - 2].tag == GUMBO_TAG_OPTGROUP) {
                    popOne();
                }
                if (topIs(tag)) popOne();
                return;
            default:
                if (has(tag, kFormatting)) {
                    adopt(tag);
                    return;
                }
                if (has(tag, kPutsMarker)) {  // applet, marquee, object
                    open = inScope(tag);
                    if (open != kNone) closeWithMarker(open);
                    return;
                }
                if ((has(tag, kClosesP) || tag == GUMBO_TAG_BUTTON) && tag != GUMBO_TAG_HR &&
                    tag != GUMBO_TAG_PLAINTEXT) {
                    open = inScope(tag);
                    break;
                }
                closeAnyOther(tag);
                return;
        }
        if (open != kNone) popTo(open);
    }

    std::string_view text_;
    const XmlLimits& limits_;
    std::vector<Open> stack_;
    std::vector<Active> active_;
    std::size_t work_ = 0;
    std::size_t tagStart_ = 0;
    bool plainText_ = false;
    bool formPointer_ = false;  // a <form> was opened and has not ended
    bool bodyStarted_ = false;  // past the page's head
    bool framesetOk_ = true;    // nothing shown yet: a frameset may replace the body
    bool framed_ = false;       // a frameset replaced the body
    HtmlNesting result_;
};

}  // namespace

HtmlNesting scanHtmlNesting(std::string_view text, const XmlLimits& limits) {
    return Scan(text, limits).run();
}

}  // namespace qv
