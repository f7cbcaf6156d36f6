#pragma once

#include <QString>

namespace tolva {

// Numbers of the catalog texts, by what they say.
namespace Msg {
enum : int {
    ConnectTitle = 101,
    ConnectPrompt = 102,
    DsnLabel = 103,
    UserLabel = 104,
    PasswordLabel = 105,
    Ok = 106,
    Cancel = 107,
    NoDataSource = 108,  // "(Aucun)", first entry of the data-source list
    MonitorsNotFound = 109,
    ChooseDataSource = 110,
    CounterUnreadable = 111,
    ValueSetError = 112,
    OfTheValue = 113,
    ValueDeleteError = 114,
    PickerTitle = 128,
    PickerDsnPanel = 129,
    FolderListMissing = 130,
    FolderListError = 131,
    NoTolvaOptions = 132,
    ShortcutsTitle = 133,
    ShortcutsFirst = 134,
    ShortcutsLast = 138,
    EditorTitle = 139,
    SaveQuestion = 140,
    NotANumber = 141,
    OptionsMenu = 142,
    ChangeDsnEntry = 143,
    ChangeMonitorEntry = 144,
    SaveEntry = 145,
    ExitEntry = 146,
    ViewMenu = 147,
    ProcEntry = 148,
    XEntry = 149,
    REntry = 150,
    CharacteristicHeading = 151,
    QueryHeading = 152,
    ChangeDsnTip = 162,
    ChangeMonitorTip = 163,
    SaveTip = 164,
    ProcTip = 165,
    XTip = 166,
    RTip = 167,
    StatusDsn = 168,
    StatusMonitor = 169,
    ExportEntry = 201,
    CsvFileFilter = 202,
    ExportFailed = 203,
    MonitorSearchHint = 204,
    MonitorsShown = 205,  // after the count
    EditMenu = 206,
    UndoEntry = 207,
    RedoEntry = 208,
    CopyEntry = 209,
    PasteEntry = 210,
    RevertEntry = 211,
    PastedCount = 212,  // 212 to 214: "%1" stands for the count
    ChangedCount = 213,
    SavedCount = 214,
    NoDataSourceHelp = 215,  // how to define a data source, on a machine with none
    SavedBeforeError = 216,  // appended to a failed save's message: how far it got
    // 217 to 230 stand where a driver's description would, when the program itself
    // finds the fault
    UnexpectedNull = 217,
    NotAWholeNumber = 218,
    ResultClosed = 219,
    NoCurrentRow = 220,
    MissingColumn = 221,
    ConnectionClosed = 222,
    MissingOptionRow = 223,
    OdbcConnectionUnavailable = 224,
    OdbcStatementUnavailable = 225,
    OdbcErrorWithoutText = 226,
    NoMonitorChosen = 227,
    NullChartName = 228,
    OptionCounterAtMaximum = 229,
    SavedButRereadFailed = 240,  // heads the failure of the re-read after a save
    // 260 to 279: the CSV import and its preview
    ImportEntry = 260,
    PasteLeftOut = 261,  // "%1" rows and "%2" columns of a pasted block past the grid
    ImportUnreadable = 262,
    ImportNotText = 263,
    ImportNoNameColumn = 264,
    ImportUnclosedQuote = 265,  // "%1": the line
    BlanksClear = 266,
    ImportButton = 267,
    ImportChangeCount = 268,
    ImportNoChange = 269,
    ImportLimitHeading = 270,
    ImportCurrentHeading = 271,
    ImportNewHeading = 272,
    ImportNonNumbers = 273,  // 273 to 277: the preview's lists, "%1" their length
    ImportDuplicates = 274,
    ImportNotFound = 275,
    ImportNotMentioned = 276,
    ImportIgnoredColumns = 277,
    ImportLines = 278,      // "%1": file lines
    ImportGridTwice = 279,  // "%1": how many grid rows carry the name
    HistoryEntry = 280,     // the journal of saved changes, 280 to 296
    CharacteristicHistoryEntry = 281,
    NoJournal = 282,
    ReasonLabel = 283,
    HistoryTitle = 284,
    HistoryFilterLabel = 285,
    HistoryCurrentOnly = 286,
    HistoryDateHeading = 287,
    HistoryUserHeading = 288,
    HistoryWorkstationHeading = 289,
    HistoryLimitHeading = 290,
    HistoryChangeHeading = 291,
    HistoryReasonHeading = 292,
    ClearedValue = 293,
    NoValue = 294,
    HistoryRowCount = 295,
    CloseButton = 296,
    // A server that stops answering.
    NoAnswerBox = 250,  // "%1": seconds without an answer
    WaitButton = 251,
    AbandonButton = 252,
    OperationAbandoned = 253,
    CommitUnanswered = 254,  // appended to a save's message: a group's fate unknown
    LoginUnanswered = 255,   // "%1": seconds
    NoAnswerQuestion = 256,
    SaveStoppedOnConflict = 300,  // %1: the characteristic
    ConflictTitle = 301,
    ConflictText = 302,  // %1: the group, %2: the characteristic
    ConflictAtLoad = 303,
    ConflictInDatabase = 304,
    ConflictYours = 305,
    ConflictOverwrite = 306,
    ConflictTakeStored = 307,
    ConflictStop = 308,
    ConflictForTheRest = 309,
    SeveralStoredValues = 320,
};
}  // namespace Msg

// The numbered French message catalog (texts 101 to 169, no 127; additions from
// 201 and 280). Every text the user sees comes from here, looked up when it is set or shown.
QString catalogText(int number);

// A column heading: the catalog text with every "\n" turned into CR LF.
QString catalogHeading(int number);

// Catalog CR LF line breaks as Qt's widgets break lines (LF alone).
QString withLineBreaks(const QString& text);

}  // namespace tolva
