#pragma once
#include <tinyxml.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "page/markup.h"
#include "page/page_notes.h"
#include "page/tree_builder.h"
#include "xml/text_positions.h"

namespace qv {

// The most levels an "ix" value may give a keyword (its "|"-separated parts).
// The index file and the HTML index indent each level once more, so that a
// path of n levels writes about n * n bytes: 100,000 parts would make tens
// of gigabytes. A deeper value makes the page fail (status 13) instead.
constexpr std::size_t kMaxKeywordLevels = 256;

// Walks one parsed page: headings h1-h6 with an id (or name) grow the
// contents tree from the builder's current node, and elements with an "ix"
// attribute add keywords to the index tree.
class PageVisitor : public TiXmlVisitor {
public:
    // pageName is the page as the list file names it; pageDepth the number
    // of page entries of the list that enclose it; source the text the
    // document was parsed from. What the walk meets goes to notes.
    PageVisitor(TreeBuilder& trees, const std::string& pageName, int pageDepth,
                std::string_view source, PageNotes& notes)
        : trees_(trees),
          pageName_(pageName),
          pageDepth_(pageDepth),
          source_(source),
          positions_(source, TIXML_ENCODING_UTF8),
          notes_(notes) {}

    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;
    bool VisitExit(const TiXmlElement& element) override;
    bool Visit(const TiXmlText& text) override;

    // 0, or 13 when the page was refused; the walk stops at the refusal.
    int status() const { return status_; }

    // After the walk: with page entries on, a page that has none yet gets
    // one titled with its file name.
    void finishPage();

private:
    void enterHeading(const TiXmlElement& element, int number, bool anchored,
                      const ElementMarks& marks);
    TopicNode& placeNode(const TiXmlElement* element, int level);
    void attachHeading(const TiXmlElement& element, int level, const ElementMarks& marks);
    TopicNode& makePageEntry(const TiXmlElement* element);
    void gatherPageTitle(const TiXmlElement& element);
    void dropPageEntry();
    void titleFromFileName(TopicNode& node);
    void titleFromFormer(TopicNode& node);
    void startKeyword(const TiXmlElement& element, std::string ixValue, const std::string& ixUtf8);
    void addKeyword(const std::string& text, std::string_view utf8);
    void useAnchor();
    void markContexts(const TiXmlElement& element, const TiXmlAttribute& ctx);
    void keepUtf8Title(const TopicNode& node, std::string_view utf8);
    void startCollecting(const TiXmlElement& element);
    void keepGapBefore(const TiXmlNode& node);
    bool blankBefore(std::size_t at) const;

    TreeBuilder& trees_;
    const std::string& pageName_;
    const int pageDepth_;
    std::string_view source_;
    ParserPositions positions_;
    // The gap before a node of a title or keyword is looked for back to the
    // previous such node, or to the element that began the collection.
    const TiXmlElement* scanFrom_ = nullptr;
    std::size_t scanFloor_ = std::string::npos;
    PageNotes& notes_;
    const TiXmlElement* headingElement = nullptr;
    const TiXmlElement* keywordElement = nullptr;
    TopicNode* keywordParent = nullptr;
    std::string currentAnchor;
    // The element and attribute that gave currentAnchor, and whether the
    // anchor has been looked at for characters code page 1252 lacks.
    const TiXmlElement* anchorElement_ = nullptr;
    const TiXmlAttribute* anchorAttribute_ = nullptr;
    bool anchorLossTold_ = false;
    std::string keywordText;
    // The UTF-8 form (utf8AsShown) of the title or keyword being gathered,
    // made only once code page 1252 has lost one of its characters.
    struct Utf8Form {
        bool started = false;
        std::string text;
        // Adds a text value (utf8, value its code page 1252 form) to a title
        // or keyword whose code page 1252 form so far is gathered.
        void append(const std::string& gathered, std::string_view value, std::string_view utf8);
        void stop() { started = false; }
    };
    Utf8Form headingUtf8_;
    Utf8Form keywordUtf8_;
    // With page entries on: the page's own entry, made at its <title>, its
    // first h1 without an anchor, or its first anchored heading below h1.
    TopicNode* pageEntry_ = nullptr;
    bool anchoredHeadingSeen_ = false;
    bool h1Seen_ = false;
    bool titleSeen_ = false;
    // The heading being gathered is the text of the page's entry: empty, it
    // falls back to the file name.
    bool gatheringPageTitle_ = false;
    // The node the contents goes on from once an h1 met after the page's
    // first anchored headings has retitled the page's entry.
    TopicNode* resumeNode_ = nullptr;
    // The page entry's title (and its UTF-8 form, if kept) from <title>,
    // while its first h1 is gathered.
    std::string formerTitle_;
    std::string formerUtf8Title_;
    int status_ = 0;
};

}  // namespace qv
