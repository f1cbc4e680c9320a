#pragma once

namespace brelix::compare {

// Where a comparison stands, by the number its error report prints: the numbers are what a
// user quotes back, so they never change.
enum class Stage {
    None = 0,
    ReadSheetRange = 1,
    NameWorkbooks = 2,
    CheckOpenOffice = 3,
    ShowProgress = 4,
    StartOffice = 5,
    OpenWorkbooks = 6,
    ArrangeWindows = 7,

    // The normal layout: both workbooks side by side above the change history.
    NormalTileWorkbooks = 11,
    NormalOpenHistory = 12,
    NormalArranged = 13,

    // The tiled layouts: the change history made, then the three windows tiled.
    SideBySideCopyTemplate = 21,
    SideBySideMakeWritable = 22,
    SideBySideOpenHistory = 23,
    SideBySideArranged = 24,
    StackedCopyTemplate = 31,
    StackedMakeWritable = 32,
    StackedOpenHistory = 33,
    StackedArranged = 34,

    CountSheets = 51,
    LimitSheetRange = 52,
    CompareSheets = 61,
    MeasureSheetPair = 71,
    CompareSheetPair = 72,

    // One row of a sheet pair, cell by cell.
    NextRow = 101,
    CompareCell = 102,
    ColourCells = 103,
    RecordDifference = 104,
    CountDifference = 105,
    ReadValues = 111,
    ReadFormulas = 112,
    MakeRecord = 113,

    // The change history, once the sheets are compared.
    SheetsCompared = 200,
    NameHistory = 201,
    MarkHistory = 202,
    AnnotateAndSaveHistory = 203,
    ShowOffice = 204,
    HandOver = 205,
};

// The stages of a tiled layout, in their order.
struct TiledStages {
    Stage copyTemplate;
    Stage makeWritable;
    Stage openHistory;
    Stage arranged;
};
inline constexpr TiledStages kSideBySideStages{
    Stage::SideBySideCopyTemplate, Stage::SideBySideMakeWritable, Stage::SideBySideOpenHistory,
    Stage::SideBySideArranged};
inline constexpr TiledStages kStackedStages{Stage::StackedCopyTemplate, Stage::StackedMakeWritable,
                                            Stage::StackedOpenHistory, Stage::StackedArranged};

} // namespace brelix::compare
