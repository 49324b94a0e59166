#pragma once
// The spreadsheet program the "XL&S" exports talk to. No program on this system
// serves their data-exchange conversation, so the program serves it itself
// (platform/SheetServer.h): it is registered under the name the exports start
// ("Excel") and comes up on the first export. Each export adds a sheet in front of
// the others; the workbook of the session is then written as a new file in the
// program folder's "Export", named after the table in front ("Denní tabulka
// <measurement> 2024-03-05.xlsx"), and opened with the desktop's program for
// spreadsheets, and the status line names the file; a workbook that did not open
// is told with its file name.
#include <functional>
#include <string>

namespace zeko {

class TSheetServer;

// `open` opens a written file and calls its second argument with the reason when
// the file did not open, at once or later (TSheetServer::OpenDocument); `tell`
// shows a status line.
using TOpenDocument = std::function<void(const std::string& file, std::function<void(const std::string&)> failed)>;
void InstallSpreadsheetProgram(TOpenDocument open, std::function<void(const std::string&)> tell);
// Unregisters the program and drops its workbook.
void RemoveSpreadsheetProgram();
// The server while it runs, else null.
TSheetServer* SpreadsheetServer();

// A title as a file name: the characters that no disk's file names may hold become
// "-", blanks and dots at either end go.
std::string WorkbookFileStem(const std::string& title);
// "<ProgramDir>Export/<title>.xlsx" (for an empty title "Tabulky yyyy-mm-dd
// hh-nn-ss" of now), with " (2)", " (3)"... before the extension while such a
// file exists.
std::string NewWorkbookFileName(const std::string& title);

} // namespace zeko
