#pragma once
// Test automation of the program, off unless its environment variables are set.
//
//   ZEKO_TEST_LOG=<file>     every message box, input box and file dialog is answered
//                            by a scripted notifier instead of a dialog, and written
//                            to the file, one line each, together with the program's
//                            observable events:
//                              Status <panel> <text>   a status panel got a text
//                              Online <values...>      the live-values window redrew
//                              Archiv <date> <n1> <n2> <n3> cos <n>
//                                                      the archive window showed a
//                                                      day: the points of series
//                                                      1..3 and of the power factor
//                              Command <line>          a script command was run
//                              Shown <objectName>      a dialog window was shown
//                                                      (TypForm, KalendarForm)
//                              MessageDlg <type> [<buttons>] <text> -> <answer>
//                              InputQuery ..., OpenDialog ..., SaveDialog ...
//                              PrinterSetup -> <file>|cancel
//                              Preview <n> pages -> <file>   the report was printed
//                                                    (" failed" after it: the file was
//                                                    not written)
//                              OpenDocument <file>   a spreadsheet export's workbook
//                                                    (written, not opened unless
//                                                    ZEKO_TEST_OPEN_DOCUMENTS is 1)
//   ZEKO_TEST_SCRIPT=<file>  the program polls this file (every 50 ms) for lines
//                            appended to it and runs each once, in order, each
//                            after the one before has finished (unless that one
//                            waits in a modal dialog for the commands that answer it;
//                            those after the one that closes the dialog wait again
//                            until the command that showed it has finished), and
//                            none while a table is being evaluated:
//                              menu <objectName>    trigger a menu item (cmNactiZaznamy)
//                              click <objectName>   click a button (Btn_PrerusZaznamy)
//                              click <form>/<objectName>  click a button of one
//                                                   window (DenniTabulkaForm/Btn_ExportTXT)
//                                                   or dialog (KalendarForm/BitBtn1)
//                              select <combo> <index>  choose an item of a combo
//                                                   box as the user does, its choice
//                                                   reported (TypForm/MereniCombo 1)
//                              clickcell <grid> <col> <row>  click into a cell of a
//                                                   grid, as the mouse does
//                              dblclickcell <grid> <col> <row>  double-click it
//                                                   (KalendarForm/RokyGrid 2 0)
//                              clicktab <pages> <index>  click the tab of a page
//                                                   control's page, as the mouse
//                                                   does (NastaveniForm/PageControl1 2)
//                              spin <objectName> up|down  click the top or bottom
//                                                   half of a spin button, or of a
//                                                   spin edit's button
//                              key <objectName> <key>  a key pressed in a widget (of
//                                                   one window: <form>/<objectName>), as
//                                                   the keyboard gives it to the widget
//                                                   with the focus: Return, Escape,
//                                                   Delete, Backspace, Tab, Left, Right,
//                                                   Up, Down, Home, End
//                              type <objectName> <text>  the characters of the text
//                                                   typed into a widget one by one (into
//                                                   the child that takes the focus, such
//                                                   as a grid's cell editor)
//                              answer <Yes|No|OK|Cancel>  the next message box
//                                                   gets that answer
//                              input <text>         the next input box is confirmed
//                                                   with the text (the rest of the
//                                                   line, blanks and all)
//                              file <path>          the next file dialog chooses it
//                              file cancel          the next file dialog is cancelled
//                              printer pdf <file>   the next printer set-up prints into
//                                                   that PDF file; its preview prints at
//                                                   once, without a dialog
//                              printer cancel       the next printer set-up is cancelled
//                              post <msg> <wparam> <lparam>  posts a window message
//                                                   to "THlavniForm" (decimal numbers);
//                                                   the commands after it run once it
//                                                   has been handled
//                              set <objectName> <text>  types the text into an edit or
//                                                   a masked edit, or into a grid cell
//                                                   named <objectName>[row,col], or
//                                                   chooses the item of that text in a
//                                                   combo box or a radio group; then
//                                                   the control is left, so that its
//                                                   exit check runs
//                              dump <objectName> <file>  writes a grid's cell texts
//                                                   into the file, a line per row, the
//                                                   cells separated by tabs
//                              cells <objectName>   logs the texts of a string grid
//                              cells <form>/<objectName>  (or of one window's grid),
//                                                   a line per row:
//                                                   Cells <name as given> <row> <c0>|<c1>|...
//                              graph print <mode>   the archive window's graph is printed
//                                                   (mode as its Print takes it) on the
//                                                   printer of the next printer set-up;
//                                                   logs GraphPrint <mode> printed|cancel|failed
//                                                   (failed: the printer or the PDF file
//                                                   did not take the page)
//                              graph picture <mode> <file.jpg>  the graph's picture export;
//                                                   logs GraphPicture <mode> -> <file>,
//                                                   followed by " failed" when the file
//                                                   could not be written
//                              grab <file.png>      save a picture of the main window
//                              close                close the main window
//   ZEKO_TEST_POLL_MS=<ms>   the serial port's polling delay (how soon its watch
//                            looks again at bytes left unread) instead of 40 ms, and
//   ZEKO_TEST_SEND_MS=<ms>   the send timer repeats a telegram after this many ms
//                            without a reply instead of 500: long downloads of the
//                            tests run at the speed of the pty, not of the line.
//   ZEKO_TEST_PC_CLOCK="YYYY-MM-DD HH:MM:SS"  the PC time that "Nastavit čas
//                            regulátoru" sends (the rest of the program keeps the
//                            real clock).
//   ZEKO_TEST_OPEN_DOCUMENTS=1  an exported workbook is opened as without the
//                            automation (by the xdg-open found on PATH), besides
//                            being logged.
//
// The log is flushed after every line, so a test can wait for a line to appear. A
// line break inside an event (a message of several lines) is written as "\n", the
// two characters, so that each event stays one line.
#include "platform/DateTime.h"

#include <QObject>

#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class QTimer;
class QWidget;

namespace zeko {

class ScriptedDialogs;
class ScriptedReportPrinting;
class TStringGrid;

class TTestAutomation : public QObject {
    Q_OBJECT
public:
    // Reads the environment; installs the scripted notifier when the log is set.
    static void InstallFromEnvironment();
    static TTestAutomation* Instance();  // nullptr while automation is off

    // Starts polling the script; commands act on `mainWindow` and its children.
    void Attach(QWidget* mainWindow);
    void Log(const std::string& line);
    // The timing the tests ask for; 0 = the program's own.
    uint16_t PortPollingMs() const { return pollMs_; }
    uint16_t SendTimerMs() const { return sendMs_; }
    const std::optional<TDateTime>& PcClock() const { return pcClock_; }
    bool OpensDocuments() const { return opensDocuments_; }

    ~TTestAutomation() override;

protected:
    // Logs the dialogs shown.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TTestAutomation(const std::string& logFile, const std::string& scriptFile);
    void PollScript();
    // Runs the commands appended; those that answer the modal dialog `modal` only
    // while it is shown.
    void ReadScript(QWidget* modal);
    // Runs one command; false when the next ones are to wait for the next poll.
    bool Run(const std::string& command);
    // "print <mode>" or "picture <mode> <file>" on the archive window's graph.
    bool RunGraphCommand(const std::string& argument);
    void LogCells(const std::string& name, const TStringGrid& grid);
    bool Set(const std::string& argument);
    bool Dump(const std::string& argument);

    std::mutex mutex_;
    std::ofstream log_;
    std::string scriptFile_;
    uint16_t pollMs_ = 0;
    uint16_t sendMs_ = 0;
    std::optional<TDateTime> pcClock_;
    bool opensDocuments_ = false;
    std::streamoff scriptRead_ = 0;
    std::string partialLine_;
    bool running_ = false;
    class LoggedNotifier;
    std::unique_ptr<LoggedNotifier> notifier_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<ScriptedReportPrinting> printing_;
    QWidget* mainWindow_ = nullptr;
    QTimer* timer_ = nullptr;
};

// Writes a line to the automation log when automation is on; nothing otherwise.
void TestLog(const std::string& line);

} // namespace zeko
