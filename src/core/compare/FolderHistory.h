#pragma once

#include "core/compare/DiffRunState.h"
#include "core/compare/FolderDiffRun.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/RunUi.h"

namespace brelix::compare {

// The change history of a folder comparison, made from the template once every file is compared:
// its first sheet lists every file with its status, its number of differences and its notes;
// its second (the template's search-results sheet, headed anew) holds the records of every file
// in the order of the files, each led by the file's path, going on in further sheets past the
// rows a sheet holds. It is saved and handed over, the only workbook of the office.
class FolderHistory {
public:
    FolderHistory(host::SpreadsheetHost& host, run::RunUi& ui, DiffRunState& state)
        : m_host(host), m_ui(ui), m_state(state), m_inputs(state.inputs)
    {
    }

    // The status as the summary sheet names it.
    static QString statusCaption(FileStatus status);

    void write(const QList<FileResult>& files);

private:
    void make();
    void writeSummary(const QList<FileResult>& files);
    // The number of records written.
    int writeRecords(const QList<FileResult>& files);
    void nameAndMark(int fileCount, int records);

    host::SpreadsheetHost& m_host;
    run::RunUi& m_ui;
    DiffRunState& m_state;
    const DiffInputs& m_inputs;
};

} // namespace brelix::compare
