#pragma once
#include <string>

#include "io/file_reader.h"
#include "listfile/list_notes.h"
#include "model/help_project.h"
#include "page/analyse_page.h"
#include "page/page_notes.h"
#include "text/input_encoding.h"

namespace qv {

// What the reading of a help set tells whoever asked for it, file by file:
// a run's notes print the messages a run shows and end the reading at the
// first failure; a check's turn everything into findings and read on.
class HelpSetNotes {
public:
    virtual ~HelpSetNotes() = default;

    // Whether pages keep their text as loaded (PreparedPage::loaded).
    virtual bool keepsLoadedPages() const = 0;
    // The list file or a page is about to be loaded from path.
    virtual void loading(const std::string& path) = 0;

    // The list file could not be loaded (status).
    virtual void listNotLoaded(const std::string& path, int status) = 0;
    // The list file was loaded as text (UTF-8, read as decoding says),
    // which outlives its reading: the notes for that reading.
    virtual ListNotes& listLoaded(const std::string& path, const std::string& text,
                                  const InputDecoding& decoding) = 0;

    // The page the list names name (at depth) could not be loaded; returns
    // the status the reading goes on with.
    virtual int pageNotLoaded(const std::string& name, int depth, int status) = 0;
    // The page was loaded and prepared: the notes for its walk, valid until
    // pageDone.
    virtual PageNotes& pageLoaded(const PreparedPage& page, const std::string& name, int depth) = 0;
    // The page's walk ended with status; returns the status the reading
    // goes on with.
    virtual int pageDone(const PreparedPage& page, const std::string& name, int status) = 0;
};

// The reading of a help set, the same for a run and a check: reads the list
// file (project.listDirectory + listFile) and analyses every page it names,
// in list order, the moment the walk meets it, into project's two trees;
// everything that happens goes to notes. Returns 0 or the status the reading
// ended with. With jobs above 1, that many threads load and parse the pages
// ahead of the walk (reader must allow reads from several threads); what the
// walk does and reports stays the same.
int readHelpSet(HelpProject& project, const FileReader& reader, const std::string& listFile,
                HelpSetNotes& notes, unsigned jobs = 1);

}  // namespace qv
