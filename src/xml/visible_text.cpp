#include "xml/visible_text.h"

#include <gumbo.h>

#include <vector>

#include "xml/gumbo_arena.h"

namespace qv {

namespace {

// Elements a browser lays out within a line: their edges are no word break.
// An element HTML does not know is inline too, as a browser shows it.
bool isInline(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_A:
        case GUMBO_TAG_ABBR:
        case GUMBO_TAG_ACRONYM:
        case GUMBO_TAG_B:
        case GUMBO_TAG_BDI:
        case GUMBO_TAG_BDO:
        case GUMBO_TAG_BIG:
        case GUMBO_TAG_CITE:
        case GUMBO_TAG_CODE:
        case GUMBO_TAG_DATA:
        case GUMBO_TAG_DEL:
        case GUMBO_TAG_DFN:
        case GUMBO_TAG_EM:
        case GUMBO_TAG_FONT:
        case GUMBO_TAG_I:
        case GUMBO_TAG_INS:
        case GUMBO_TAG_KBD:
        case GUMBO_TAG_LABEL:
        case GUMBO_TAG_MARK:
        case GUMBO_TAG_NOBR:
        case GUMBO_TAG_Q:
        case GUMBO_TAG_RUBY:
        case GUMBO_TAG_S:
        case GUMBO_TAG_SAMP:
        case GUMBO_TAG_SMALL:
        case GUMBO_TAG_SPAN:
        case GUMBO_TAG_STRIKE:
        case GUMBO_TAG_STRONG:
        case GUMBO_TAG_SUB:
        case GUMBO_TAG_SUP:
        case GUMBO_TAG_TIME:
        case GUMBO_TAG_TT:
        case GUMBO_TAG_U:
        case GUMBO_TAG_VAR:
        case GUMBO_TAG_WBR:
        case GUMBO_TAG_UNKNOWN:
            return true;
        default:
            return false;
    }
}

// Elements whose content is never shown as text.
bool isHidden(GumboTag tag) {
    return tag == GUMBO_TAG_HEAD || tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE ||
           tag == GUMBO_TAG_TEMPLATE || tag == GUMBO_TAG_NOFRAMES || tag == GUMBO_TAG_IFRAME;
}

// Walks the tree without recursion: a page may nest as deep as it likes.
std::string collectText(const GumboNode& root) {
    struct Step {
        const GumboNode* node;
        bool leaving;
    };
    std::string text;
    std::vector<Step> pending{{&root, false}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        const GumboNode& node = *step.node;
        if (node.type == GUMBO_NODE_TEXT || node.type == GUMBO_NODE_WHITESPACE ||
            node.type == GUMBO_NODE_CDATA) {
            text += node.v.text.text;
            continue;
        }
        const bool element = node.type == GUMBO_NODE_ELEMENT || node.type == GUMBO_NODE_TEMPLATE;
        if (!element && node.type != GUMBO_NODE_DOCUMENT) continue;  // a comment
        const bool breaks = element && !isInline(node.v.element.tag);
        if (breaks) text += '\n';
        if (step.leaving || (element && isHidden(node.v.element.tag))) continue;
        pending.push_back({&node, true});
        const GumboVector& children = element ? node.v.element.children : node.v.document.children;
        for (unsigned i = children.length; i-- > 0;) {
            pending.push_back({static_cast<const GumboNode*>(children.data[i]), false});
        }
    }
    return text;
}

}  // namespace

std::string visibleText(std::string_view html) {
    html = html.substr(0, html.find('\0'));
    // Gumbo's tree is freed with the arena, at once, where gumbo's own
    // destruction would recurse once per level.
    GumboArena arena;
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = GumboArena::allocate;
    options.deallocator = GumboArena::free;
    options.userdata = &arena;
    options.max_errors = 0;
    const GumboOutput* output = gumbo_parse_with_options(&options, html.data(), html.size());
    return collectText(*output->document);
}

}  // namespace qv
