#pragma once
#include <string>

#include "io/file_reader.h"
#include "listfile/list_check.h"
#include "model/help_project.h"
#include "page/page_check.h"
#include "text/input_encoding.h"

namespace qv {

// What a check of the help set adds to its reading. The reading asks it
// for the list file's check and for each page's facts, and tells it how
// each page went; the walk then goes on past every failure.
class HelpSetCheck {
public:
    virtual ~HelpSetCheck() = default;
    // The list file was loaded as text (which outlives the walk) from path.
    virtual ListFileCheck& listLoaded(const std::string& path, const std::string& text) = 0;
    // The list file could not be loaded.
    virtual void listNotLoaded(const std::string& path, int status) = 0;
    // Where the analysis of the page the list names name is to gather its facts.
    virtual PageFacts& pageLoaded(const std::string& name) = 0;
    // The analysis is over (status is its result): the page's text is still
    // there, for the positions of its facts.
    virtual void pageAnalysed(const std::string& name, int status) = 0;
    // The page could not be loaded.
    virtual void pageNotLoaded(const std::string& name, int status) = 0;
    // The file at path was not UTF-8 and was decoded into it as decoding
    // tells (see decodeInputText).
    virtual void inputDecoded(const std::string& path, const InputDecoding& decoding) = 0;
};

// The first phase of a run: announces and reads the list file
// (project.listDirectory + listFile) and analyses every page it names, in
// list order, the moment the walk meets it, into project's two trees.
// Returns 0 or the first failure. With check, the reading reports to it and
// goes on to the end. With jobs above 1, that many threads load and parse
// the pages ahead of the walk (reader must allow reads from several threads);
// what the walk does and reports stays the same.
int readHelpSet(HelpProject& project, const FileReader& reader, const std::string& listFile,
                HelpSetCheck* check = nullptr, unsigned jobs = 1);

}  // namespace qv
