#pragma once

namespace qv {

// How the pages of a help set are read: as XML after the tool's own
// normalisation (the default), or as a browser reads HTML.
enum class PageSyntax { Xml, Html };

}  // namespace qv
