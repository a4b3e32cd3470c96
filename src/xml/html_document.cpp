#include "xml/html_document.h"

#include <gumbo.h>

#include <memory>
#include <string>
#include <vector>

#include "xml/html_nesting_scan.h"
#include "xml/text_positions.h"

namespace qv {

namespace {

// TinyXML keeps where a node or attribute stands in a protected member that
// only its own parser fills. A class derived from TiXmlBase may name that
// member, and the member pointer so formed reaches it in any node.
class TinyXmlLocation : private TiXmlBase {
public:
    static void set(TiXmlBase& item, TextPosition position) {
        TiXmlCursor& cursor = item.*(&TinyXmlLocation::location);
        cursor.row = position.row - 1;
        cursor.col = position.column - 1;
    }
};

struct GumboOutputDeleter {
    void operator()(GumboOutput* output) const {
        gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
};

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

// Copies gumbo's tree into a TinyXML document, without recursion: a page
// may nest as deep as the limits allow.
class TreeCopy {
public:
    TreeCopy(std::string_view text, const XmlLimits& limits)
        : positions_(text, TIXML_ENCODING_UTF8), limits_(limits) {}

    XmlExcess copy(const GumboNode& root, TiXmlDocument& document) {
        const GumboVector& top = root.v.document.children;
        queueChildren(top, document, {0, {1, 1}, 0}, false);
        while (!pending_.empty()) {
            const Pending next = pending_.back();
            pending_.pop_back();
            const GumboNode& node = *next.node;
            if (node.type == GUMBO_NODE_ELEMENT || node.type == GUMBO_NODE_TEMPLATE) {
                const Place place = placeOf(node, next.parent);
                if (place.depth > limits_.nesting) {
                    document.Clear();
                    XmlExcess excess;
                    excess.offset = place.offset;
                    excess.kind = XmlExcess::Kind::Nesting;
                    excess.limits = limits_;
                    return excess;
                }
                TiXmlNode& element = copyElement(node.v.element, place, *next.into);
                // A template's content is no part of the page a browser shows.
                if (node.type == GUMBO_NODE_TEMPLATE) continue;
                const GumboTag tag = node.v.element.tag;
                queueChildren(node.v.element.children, element, place,
                              tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE);
            } else if (node.type == GUMBO_NODE_TEXT || node.type == GUMBO_NODE_WHITESPACE ||
                       node.type == GUMBO_NODE_CDATA) {
                auto text = std::make_unique<TiXmlText>(node.v.text.text);
                TinyXmlLocation::set(*text, positions_.position(node.v.text.start_pos.offset));
                next.into->LinkEndChild(text.release());
            }
        }
        return {};
    }

private:
    // Where an element stands: its offset and position, and its depth.
    struct Place {
        std::size_t offset;
        TextPosition position;
        std::size_t depth;
    };
    struct Pending {
        const GumboNode* node;
        TiXmlNode* into;
        Place parent;
    };

    void queueChildren(const GumboVector& children, TiXmlNode& into, const Place& place,
                       bool withoutText) {
        for (unsigned i = children.length; i-- > 0;) {
            const auto* child = static_cast<const GumboNode*>(children.data[i]);
            if (withoutText && child->type != GUMBO_NODE_ELEMENT) continue;
            pending_.push_back({child, &into, place});
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

    ParserPositions positions_;
    const XmlLimits& limits_;
    std::vector<Pending> pending_;
};

}  // namespace

XmlExcess parseHtml(TiXmlDocument& document, std::string_view text, const XmlLimits& limits) {
    text = text.substr(0, text.find('\0'));
    const HtmlNesting scanned = scanHtmlNesting(text, limits);
    if (scanned.excess.found()) return scanned.excess;
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;  // the parse errors are not reported: keep none
    const std::unique_ptr<GumboOutput, GumboOutputDeleter> output(
        gumbo_parse_with_options(&options, text.data(), text.size()));
    return TreeCopy(text, limits).copy(*output->document, document);
}

}  // namespace qv
