#include "check/link_rule.h"

#include "text/links.h"

namespace qv {

void LinkRule::pageRead(const std::string& pageName, PageFindings& page,
                        const std::unordered_set<std::string>& listed) {
    PageAnchors& anchors = pages_[helpSetPath(pageName)];
    anchors.parsed = page.facts().parsed;
    anchors.anchors.insert(page.facts().anchors.begin(), page.facts().anchors.end());
    for (const PageLink& link : page.facts().links) follow(pageName, anchors, page, link, listed);
}

void LinkRule::follow(const std::string& pageName, const PageAnchors& own, PageFindings& page,
                      const PageLink& link, const std::unordered_set<std::string>& listed) {
    const LinkTarget target = followLink(pageName, link.value);
    if (!target.local) return;
    const bool anchored = target.hasFragment && !target.fragment.empty();
    const std::string pagePath = project_.listDirectory + pageName;
    const auto at = [&] { return page.fromParser(link.parsed); };
    if (target.file.empty()) {
        if (anchored && lacks(own, target.fragment, target.fragmentAsWritten)) {
            missingAnchor(
                {pagePath, at(), link.value, {}, target.fragment, target.fragmentAsWritten});
        }
        return;
    }
    if (listed.count(target.file) != 0) {
        // A page of the set: a missing one is reported at its entry.
        if (!anchored) return;
        auto read = pages_.find(target.file);
        if (read == pages_.end()) {
            waiting_.push_back({pagePath, at(), link.value, target.file, target.fragment,
                                target.fragmentAsWritten});
        } else if (lacks(read->second, target.fragment, target.fragmentAsWritten)) {
            missingAnchor({pagePath, at(), link.value, target.file, target.fragment,
                           target.fragmentAsWritten});
        }
        return;
    }
    auto [known, added] = exists_.try_emplace(target.file, false);
    if (added) known->second = reader_.exists(project_.listDirectory + target.file);
    if (!known->second) {
        findings_.report({pagePath,
                          at(),
                          Severity::Warning,
                          {"lien \253 ", AuthorText{link.value}, " \273 : fichier introuvable"}});
    }
}

void LinkRule::finish() {
    for (const AnchorLink& link : waiting_) {
        auto page = pages_.find(link.target);
        if (page != pages_.end() && lacks(page->second, link.fragment, link.fragmentAsWritten))
            missingAnchor(link);
    }
}

void LinkRule::missingAnchor(const AnchorLink& link) {
    FindingText message{"lien \253 ", AuthorText{link.value}, " \273 : ancre \253 ",
                        AuthorText{link.fragment}, " \273 absente de "};
    if (link.target.empty()) {
        message.push_back("cette page");
    } else {
        message.push_back(AuthorText{link.target});
    }
    findings_.report({link.path, link.at, Severity::Warning, std::move(message)});
}

}  // namespace qv
