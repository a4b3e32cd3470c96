#include "xml/html_document.h"

#include <gumbo.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "xml/gumbo_arena.h"
#include "xml/html_nesting_scan.h"
#include "xml/text_positions.h"

namespace qv {

namespace {

// TinyXML keeps where a node or attribute stands in a protected member that
// only its own parser fills. A class derived from TiXmlBase may name that
// member, and the member pointer so formed reaches it in any node.
class TinyXmlLocation : private TiXmlBase {
public:
    static void set(TiXmlBase& item, ParsedPosition position) {
        TiXmlCursor& cursor = item.*(&TinyXmlLocation::location);
        cursor.row = position.row - 1;
        cursor.col = position.column - 1;
    }
};

// Frees what gumbo allocated for a node besides its children, then the
// node: the copy below frees each node as it leaves it, so that gumbo's tree
// shrinks while TinyXML's grows (where gumbo_destroy_output would free it
// all at the end, recursing once per level). These are the blocks gumbo's
// own destruction frees.
void freeAttributes(GumboArena& arena, GumboVector& attributes) {
    for (unsigned i = 0; i < attributes.length; ++i) {
        auto* attribute = static_cast<GumboAttribute*>(attributes.data[i]);
        GumboArena::free(&arena, const_cast<char*>(attribute->name));
        GumboArena::free(&arena, const_cast<char*>(attribute->value));
        GumboArena::free(&arena, attribute);
    }
    GumboArena::free(&arena, attributes.data);
    attributes = {};
}

void freeNode(GumboArena& arena, GumboNode* node) {
    switch (node->type) {
        case GUMBO_NODE_DOCUMENT:
            GumboArena::free(&arena, node->v.document.children.data);
            GumboArena::free(&arena, const_cast<char*>(node->v.document.name));
            GumboArena::free(&arena, const_cast<char*>(node->v.document.public_identifier));
            GumboArena::free(&arena, const_cast<char*>(node->v.document.system_identifier));
            break;
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE:
            freeAttributes(arena, node->v.element.attributes);
            GumboArena::free(&arena, node->v.element.children.data);
            break;
        default:
            GumboArena::free(&arena, const_cast<char*>(node->v.text.text));
            break;
    }
    GumboArena::free(&arena, node);
}

// The element's name in lower case, as HTML compares names.
std::string elementName(const GumboElement& element) {
    if (element.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(element.tag);
    GumboStringPiece piece = element.original_tag;
    gumbo_tag_from_original_text(&piece);
    std::string name(piece.data == nullptr ? "" : piece.data, piece.length);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    return name;
}

// Copies gumbo's tree into a TinyXML document, freeing it as it goes,
// without recursion: a page may nest as deep as the limits allow.
class TreeCopy {
public:
    TreeCopy(GumboArena& arena, std::string_view text, const XmlLimits& limits)
        : arena_(arena), positions_(text, TIXML_ENCODING_UTF8), limits_(limits) {}

    XmlExcess copy(GumboOutput* output, TiXmlDocument& document) {
        GumboNode* root = output->document;
        queueChildren(*root, &document, {0, {1, 1}, 0}, false);
        while (!pending_.empty()) {
            const Pending next = pending_.back();
            pending_.pop_back();
            GumboNode* node = next.node;
            if (next.leaving) {
                freeNode(arena_, node);
            } else if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) {
                enter(*node, next);
            } else {
                const bool text = node->type == GUMBO_NODE_TEXT ||
                                  node->type == GUMBO_NODE_WHITESPACE ||
                                  node->type == GUMBO_NODE_CDATA;
                if (text && next.into != nullptr) copyText(node->v.text, *next.into);
                freeNode(arena_, node);
            }
        }
        freeNode(arena_, root);
        // No error is kept (max_errors is 0): the list holds none.
        GumboArena::free(&arena_, output->errors.data);
        GumboArena::free(&arena_, output);
        if (excess_.found()) document.Clear();
        return excess_;
    }

private:
    // Where an element stands: its offset and position, and its depth.
    struct Place {
        std::size_t offset;
        ParsedPosition position;
        std::size_t depth;
    };
    struct Pending {
        GumboNode* node;
        TiXmlNode* into;  // null: freed, not copied
        Place parent;
        bool leaving;  // all its children done: free the node
    };

    void enter(GumboNode& node, const Pending& from) {
        const Place place = placeOf(node, from.parent);
        TiXmlNode* element = nullptr;
        if (from.into != nullptr && !excess_.found()) {
            if (place.depth > limits_.nesting) {
                excess_.offset = place.offset;
                excess_.kind = XmlExcess::Kind::Nesting;
                excess_.limits = limits_;
            } else {
                element = &copyElement(node.v.element, place, *from.into);
            }
        }
        freeAttributes(arena_, node.v.element.attributes);
        pending_.push_back({&node, nullptr, place, true});
        // A template's content is no part of the page a browser shows.
        if (node.type == GUMBO_NODE_TEMPLATE) element = nullptr;
        const GumboTag tag = node.v.element.tag;
        queueChildren(node, element, place, tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE);
    }

    void queueChildren(GumboNode& parent, TiXmlNode* into, const Place& place, bool withoutText) {
        const GumboVector& children = parent.type == GUMBO_NODE_DOCUMENT
                                          ? parent.v.document.children
                                          : parent.v.element.children;
        for (unsigned i = children.length; i-- > 0;) {
            auto* child = static_cast<GumboNode*>(children.data[i]);
            const bool copied = !withoutText || child->type == GUMBO_NODE_ELEMENT;
            pending_.push_back({child, copied ? into : nullptr, place, false});
        }
    }

    Place placeOf(const GumboNode& node, const Place& parent) {
        if ((node.parse_flags & GUMBO_INSERTION_BY_PARSER) != 0) {
            return {parent.offset, parent.position, parent.depth + 1};
        }
        const std::size_t offset = node.v.element.start_pos.offset;
        return {offset, positions_.position(offset), parent.depth + 1};
    }

    TiXmlNode& copyElement(const GumboElement& from, const Place& place, TiXmlNode& into) {
        auto element = std::make_unique<TiXmlElement>(elementName(from).c_str());
        TinyXmlLocation::set(*element, place.position);
        for (unsigned i = 0; i < from.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(from.attributes.data[i]);
            element->SetAttribute(attribute->name, attribute->value);
            TinyXmlLocation::set(*element->LastAttribute(),
                                 positions_.position(attribute->name_start.offset));
        }
        return *into.LinkEndChild(element.release());
    }

    // A carriage return left in text (written as "&#13;": the parser folds
    // the typed ones into line feeds) shows as a space, as every blank does.
    void copyText(const GumboText& from, TiXmlNode& into) {
        std::string value = from.text;
        std::replace(value.begin(), value.end(), '\r', ' ');
        auto text = std::make_unique<TiXmlText>(value);
        TinyXmlLocation::set(*text, positions_.position(from.start_pos.offset));
        into.LinkEndChild(text.release());
    }

    GumboArena& arena_;
    ParserPositions positions_;
    const XmlLimits& limits_;
    std::vector<Pending> pending_;
    XmlExcess excess_;
};

}  // namespace

XmlExcess parseHtml(TiXmlDocument& document, std::string_view text, const XmlLimits& limits) {
    text = text.substr(0, text.find('\0'));
    const HtmlNesting scanned = scanHtmlNesting(text, limits);
    if (scanned.excess.found()) return scanned.excess;
    GumboArena arena;
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = GumboArena::allocate;
    options.deallocator = GumboArena::free;
    options.userdata = &arena;
    options.max_errors = 0;  // the parse errors are not reported: keep none
    GumboOutput* output = gumbo_parse_with_options(&options, text.data(), text.size());
    return TreeCopy(arena, text, limits).copy(output, document);
}

}  // namespace qv
