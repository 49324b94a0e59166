#include "app/TestHook.h"

#include "app/evaluation/TableRequests.h"
#include "controls/ZcSpin.h"
#include "core/WindowHelpers.h"
#include "core/ZekoMessages.h"
#include "graph/FullOkno.h"
#include "graph/archiv.h"
#include "platform/Notifier.h"
#include "platform/UserDialogs.h"
#include "grids/Aligrid.h"
#include "platform/qt/Edits.h"
#include "platform/qt/Grids.h"
#include "platform/qt/RadioGroup.h"
#include "platform/report/ReportPrinting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QKeyEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <utility>

namespace zeko {

namespace {

TTestAutomation* instance = nullptr;

// The answers as a script names them and the log writes them.
constexpr std::pair<TModalResult, const char*> AnswerNames[] = {
    {TModalResult::mrOk, "OK"}, {TModalResult::mrCancel, "Cancel"}, {TModalResult::mrYes, "Yes"},
    {TModalResult::mrNo, "No"}};

TModalResult AnswerByName(const std::string& name) {
    for (const auto& [answer, text] : AnswerNames)
        if (name == text)
            return answer;
    return TModalResult::mrNone;
}

const char* ResultName(TModalResult result) {
    for (const auto& [answer, text] : AnswerNames)
        if (answer == result)
            return text;
    return "None";
}

uint16_t MillisecondsFrom(const char* name) {
    const char* text = std::getenv(name);
    if (text == nullptr)
        return 0;
    const long value = std::strtol(text, nullptr, 10);
    return value > 0 && value < 60000 ? static_cast<uint16_t>(value) : 0;
}

// The child of that name, one that is shown before one that is not: the dialogs
// that live from start to exit share names with the one on the screen ("BitBtn1").
template <typename T>
T FirstShownChild(QWidget* within, const QString& name) {
    const QList<T> found = within->findChildren<T>(name);
    for (T child : found)
        if (child->isVisible())
            return child;
    return found.isEmpty() ? nullptr : found.front();
}

// The child of that name; "form/name" looks in that window only, as each table
// window has its own buttons and grids.
template <typename T>
T FindIn(QWidget* mainWindow, const QString& name) {
    const qsizetype slash = name.indexOf('/');
    QWidget* within = mainWindow;
    if (within && slash >= 0)
        within = FirstShownChild<QWidget*>(within, name.left(slash));
    return within ? FirstShownChild<T>(within, name.mid(slash + 1)) : nullptr;
}

// "<msg> <wparam> <lparam>" as three decimal numbers and nothing else.
bool ParseMessage(const std::string& text, uint32_t& msg, uintptr_t& wParam, intptr_t& lParam) {
    std::istringstream in(text);
    unsigned long long m = 0, w = 0;
    long long l = 0;
    if (!(in >> m >> w >> l) || m > UINT32_MAX)
        return false;
    std::string rest;
    if (in >> rest)
        return false;
    msg = static_cast<uint32_t>(m);
    wParam = static_cast<uintptr_t>(w);
    lParam = static_cast<intptr_t>(l);
    return true;
}

// "<name> <n>..." : a control and as many whole numbers as `numbers` holds, and
// nothing else.
bool ParseNamedNumbers(const std::string& text, std::string& name, std::initializer_list<int*> numbers) {
    std::istringstream in(text);
    if (!(in >> name))
        return false;
    for (int* n : numbers)
        if (!(in >> *n))
            return false;
    std::string rest;
    return !(in >> rest);
}

// "<name> <n>...": the control of that name, when it is shown and enabled, and the
// numbers; nullptr when either is missing or the control cannot be used.
template <typename T>
T* UsableNamed(QWidget* mainWindow, const std::string& argument, std::initializer_list<int*> numbers) {
    std::string name;
    if (!ParseNamedNumbers(argument, name, numbers))
        return nullptr;
    T* control = FindIn<T*>(mainWindow, QString::fromStdString(name));
    return control && control->isVisible() && control->isEnabled() ? control : nullptr;
}

// The left button pressed and released at `p` of `target`, as the window system
// delivers it; a double click is a click, then a press of its own kind.
void ClickAt(QWidget* target, QPoint p, bool twice) {
    const QPointF local(p), global(target->mapToGlobal(p));
    auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent event(type, local, global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    if (twice) {
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    }
}

// A click into the cell of a grid, or nothing (false) for a cell out of view.
bool ClickCell(TCustomGrid& grid, int col, int row, bool twice) {
    if (col < 0 || row < 0 || col >= grid.ColCount() || row >= grid.RowCount())
        return false;
    const TRect r = grid.CellRect(col, row);
    if (r.Width() <= 0 || r.Height() <= 0)
        return false;
    ClickAt(grid.viewport(), QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), twice);
    return true;
}

// The spin button of a spin edit, or the button itself.
TZcSpinButton* SpinButtonOf(QWidget* widget) {
    if (auto* edit = dynamic_cast<TZcSpinEdit*>(widget))
        return edit->Button();
    return dynamic_cast<TZcSpinButton*>(widget);
}

// The keys a script names, as the keyboard gives them.
constexpr std::pair<const char*, Qt::Key> KeyNames[] = {
    {"Return", Qt::Key_Return}, {"Escape", Qt::Key_Escape}, {"Delete", Qt::Key_Delete},
    {"Backspace", Qt::Key_Backspace}, {"Tab", Qt::Key_Tab}, {"Left", Qt::Key_Left}, {"Right", Qt::Key_Right},
    {"Up", Qt::Key_Up}, {"Down", Qt::Key_Down}, {"Home", Qt::Key_Home}, {"End", Qt::Key_End}};

// A press and a release of the key, to the widget as if it had the focus.
void SendKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

bool SendNamedKey(QWidget* target, const std::string& name) {
    for (const auto& [text, key] : KeyNames)
        if (name == text) {
            const QString typed = key == Qt::Key_Return ? "\r" : key == Qt::Key_Escape ? "\x1b" : "";
            SendKey(target, key, typed);
            return true;
        }
    return false;
}

// Where the keyboard sends a key for `target`: the widget, or its child that has
// the focus. The editor a grid opens on the first character takes the focus, and
// with it the characters after it, also while the window system has not yet made
// the dialog the active window.
QWidget* KeyReceiver(QWidget* target) {
    QWidget* focused = QApplication::focusWidget();
    if (focused && target->isAncestorOf(focused))
        return focused;
    if (auto* grid = dynamic_cast<TCustomGrid*>(target); grid && grid->InplaceEditor() && grid->InplaceEditor()->Visible())
        return grid->InplaceEditor()->TextControl();
    return target;
}

void TypeText(QWidget* target, const QString& text) {
    for (QChar c : text)
        SendKey(KeyReceiver(target), c.isLetterOrNumber() ? int(c.toUpper().unicode()) : int(c.unicode()), QString(c));
}

// A click on the tab of page `index`, or nothing (false) for a tab not shown.
bool ClickTab(QTabWidget& pages, int index) {
    QTabBar* tabs = pages.tabBar();
    if (index < 0 || index >= tabs->count() || !tabs->isTabVisible(index) || !tabs->isTabEnabled(index))
        return false;
    ClickAt(tabs, tabs->tabRect(index).center(), false);
    return true;
}

std::optional<TDateTime> DateTimeFrom(const char* name) {
    const char* text = std::getenv(name);
    int y, mo, d, h, mi, s;
    TDateTime date, time;
    if (text == nullptr || std::sscanf(text, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6 ||
        !TryEncodeDate(y, mo, d, date) || !TryEncodeTime(h, mi, s, 0, time))
        return std::nullopt;
    return date + time;
}

// "Name[row,col]": the grid's name and the cell; false for a plain name.
bool ParseCell(const std::string& target, std::string& name, int& row, int& col) {
    const size_t open = target.find('[');
    if (open == std::string::npos || target.back() != ']')
        return false;
    name = target.substr(0, open);
    return std::sscanf(target.c_str() + open, "[%d,%d]", &row, &col) == 2;
}

// The text typed into the cell as the user would: the editor opens on it, takes the
// text and is closed, so that the grid's events of an edit run.
bool TypeIntoCell(TStringGrid& grid, int row, int col, const std::string& text) {
    if (col < 0 || row < 0 || col >= grid.ColCount() || row >= grid.RowCount())
        return false;
    grid.setFocus(Qt::OtherFocusReason);
    grid.FocusCell(col, row);
    if (auto* align = dynamic_cast<TStringAlignGrid*>(&grid)) {
        align->ShowEditor();
        if (align->InplaceEditor() == nullptr || !align->InplaceEditor()->Visible())
            return false;
        align->InplaceEditor()->SetText(text);
        align->EndEdit(false);
        return true;
    }
    grid.SetEditText(col, row, text);
    return true;
}

void Leave(QWidget& control) {
    if (control.hasFocus())
        control.clearFocus();
    else if (auto* edit = dynamic_cast<TCustomEdit*>(&control))
        edit->DoExit();
}

// The texts of a grid row, joined by the separator.
std::string RowText(const TStringGrid& grid, int row, const char* separator) {
    std::string text;
    for (int col = 0; col < grid.ColCount(); ++col)
        text += (col > 0 ? separator : "") + grid.Cells(col, row);
    return text;
}

const char* TypeName(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning: return "Warning";
    case TMsgDlgType::mtError: return "Error";
    case TMsgDlgType::mtInformation: return "Information";
    case TMsgDlgType::mtConfirmation: return "Confirmation";
    }
    return "?";
}

const char* ButtonsName(TMsgDlgButtons buttons) {
    switch (buttons) {
    case TMsgDlgButtons::mbOK: return "OK";
    case TMsgDlgButtons::mbOKCancel: return "OK|Cancel";
    case TMsgDlgButtons::mbYesNo: return "Yes|No";
    case TMsgDlgButtons::mbYesNoCancel: return "Yes|No|Cancel";
    }
    return "?";
}

} // namespace

// Message boxes answered from the script and written to the log.
class TTestAutomation::LoggedNotifier : public LoggingNotifier {
public:
    explicit LoggedNotifier(TTestAutomation& owner) : owner_(owner) {}
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override {
        const TModalResult answer = LoggingNotifier::MessageDlg(text, type, buttons);
        owner_.Log(std::string("MessageDlg ") + TypeName(type) + " [" + ButtonsName(buttons) + "] " + text +
                   " -> " + ResultName(answer));
        return answer;
    }

private:
    TTestAutomation& owner_;
};


void TTestAutomation::InstallFromEnvironment() {
    if (instance)
        return;
    const char* log = std::getenv("ZEKO_TEST_LOG");
    const char* script = std::getenv("ZEKO_TEST_SCRIPT");
    if ((log == nullptr || *log == 0) && (script == nullptr || *script == 0))
        return;
    instance = new TTestAutomation(log ? log : "", script ? script : "");
}

TTestAutomation* TTestAutomation::Instance() { return instance; }

TTestAutomation::TTestAutomation(const std::string& logFile, const std::string& scriptFile)
    : scriptFile_(scriptFile), pollMs_(MillisecondsFrom("ZEKO_TEST_POLL_MS")),
      sendMs_(MillisecondsFrom("ZEKO_TEST_SEND_MS")), pcClock_(DateTimeFrom("ZEKO_TEST_PC_CLOCK")) {
    const char* open = std::getenv("ZEKO_TEST_OPEN_DOCUMENTS");
    opensDocuments_ = open != nullptr && std::string(open) == "1";
    if (!logFile.empty())
        log_.open(logFile, std::ios::app);
    notifier_ = std::make_unique<LoggedNotifier>(*this);
    SetNotifier(notifier_.get());
    dialogs_ = std::make_unique<ScriptedDialogs>();
    dialogs_->SetLogSink([this](const std::string& line) { Log(line); });
    SetDialogs(dialogs_.get());
    printing_ = std::make_unique<ScriptedReportPrinting>();
    printing_->SetLogSink([this](const std::string& line) { Log(line); });
    SetReportPrinting(printing_.get());
}

TTestAutomation::~TTestAutomation() {
    SetNotifier(nullptr);
    SetDialogs(nullptr);
    SetReportPrinting(nullptr);
    if (instance == this)
        instance = nullptr;
}

bool TTestAutomation::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow())
            Log("Shown " + dialog->objectName().toStdString());
    }
    return QObject::eventFilter(watched, event);
}

void TTestAutomation::Attach(QWidget* mainWindow) {
    mainWindow_ = mainWindow;
    qApp->installEventFilter(this);
    if (scriptFile_.empty() || timer_)
        return;
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { PollScript(); });
    timer_->start(50);
}

void TTestAutomation::Log(const std::string& line) {
    // One event, one line: the line breaks of a message are written as "\n".
    std::string oneLine;
    for (char c : line) {
        if (c == '\n')
            oneLine += "\\n";
        else if (c != '\r')
            oneLine += c;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (log_.is_open()) {
        log_ << oneLine << '\n';
        log_.flush();
    }
}

void TTestAutomation::PollScript() {
    // A command that lets the event loop run while it works (a file loading with
    // its progress box) finishes before the next one starts; one that shows a modal
    // dialog waits for the commands that answer it.
    if (running_ && QApplication::activeModalWidget() == nullptr)
        return;
    // A table being evaluated lets the event loop run after each day; the next
    // command waits for the table to be filled.
    if (TableRequestRunning())
        return;
    const bool outer = !running_;
    running_ = true;
    // A timer is not delivered again while its own slot runs: the modal dialog's
    // event loop polls through a timer of this level.
    QTimer nested;
    connect(&nested, &QTimer::timeout, this, [this] { PollScript(); });
    nested.start(timer_ ? timer_->interval() : 50);
    ReadScript(outer ? nullptr : QApplication::activeModalWidget());
    if (outer)
        running_ = false;
}

void TTestAutomation::ReadScript(QWidget* modal) {
    std::ifstream in(scriptFile_, std::ios::binary);
    if (!in)
        return;
    in.seekg(scriptRead_);
    std::string chunk;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        chunk.append(buffer, static_cast<size_t>(in.gcount()));
    scriptRead_ += static_cast<std::streamoff>(chunk.size());
    partialLine_ += chunk;
    size_t end;
    while ((end = partialLine_.find('\n')) != std::string::npos) {
        std::string command = partialLine_.substr(0, end);
        partialLine_.erase(0, end + 1);
        if (!command.empty() && command.back() == '\r')
            command.pop_back();
        // After a post the rest waits for the next poll, when the message has been
        // handled; after the command that closed the dialog they were answering, for
        // the command that showed it to end.
        if (!command.empty() && !Run(command))
            break;
        if (modal && QApplication::activeModalWidget() != modal)
            break;
    }
}

bool TTestAutomation::Run(const std::string& command) {
    Log("Command " + command);
    const size_t space = command.find(' ');
    const std::string verb = command.substr(0, space);
    const std::string argument = space == std::string::npos ? "" : command.substr(space + 1);
    const QString name = QString::fromStdString(argument);
    if (verb == "menu") {
        QAction* action = mainWindow_ ? mainWindow_->findChild<QAction*>(name) : nullptr;
        if (action && action->isEnabled())
            action->trigger();
        else
            Log("CommandFailed " + command);
    } else if (verb == "click") {
        auto* button = FindIn<QAbstractButton*>(mainWindow_, name);
        if (button && button->isEnabled())
            button->click();
        else
            Log("CommandFailed " + command);
    } else if (verb == "select") {
        int index = -1;
        auto* combo = UsableNamed<QComboBox>(mainWindow_, argument, {&index});
        if (combo && index >= 0 && index < combo->count()) {
            // As the user's choice: reported also when the item was selected before.
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        } else {
            Log("CommandFailed " + command);
        }
    } else if (verb == "clickcell" || verb == "dblclickcell") {
        int col = 0, row = 0;
        auto* grid = UsableNamed<TCustomGrid>(mainWindow_, argument, {&col, &row});
        if (!grid || !ClickCell(*grid, col, row, verb == "dblclickcell"))
            Log("CommandFailed " + command);
    } else if (verb == "clicktab") {
        int index = -1;
        auto* pages = UsableNamed<QTabWidget>(mainWindow_, argument, {&index});
        if (!pages || !ClickTab(*pages, index))
            Log("CommandFailed " + command);
    } else if (verb == "spin") {
        const size_t blank = argument.rfind(' ');
        const std::string half = blank == std::string::npos ? "" : argument.substr(blank + 1);
        TZcSpinButton* button = SpinButtonOf(FindIn<QWidget*>(mainWindow_, QString::fromStdString(argument.substr(0, blank))));
        if (button && button->isVisible() && button->isEnabled() && (half == "up" || half == "down"))
            // The top half lies above the diagonal, the bottom half below it.
            ClickAt(button, half == "up" ? QPoint(1, 1) : QPoint(button->width() - 2, button->height() - 2), false);
        else
            Log("CommandFailed " + command);
    } else if (verb == "key" || verb == "type") {
        // "<objectName> <rest>": the rest is a key name, or the text to type.
        const size_t split = argument.find(' ');
        QWidget* target =
            split == std::string::npos ? nullptr
                                       : FindIn<QWidget*>(mainWindow_, QString::fromStdString(argument.substr(0, split)));
        const std::string rest = split == std::string::npos ? "" : argument.substr(split + 1);
        if (target == nullptr || !target->isEnabled())
            Log("CommandFailed " + command);
        else if (verb == "type")
            TypeText(target, QString::fromStdString(rest));
        else if (!SendNamedKey(target, rest))
            Log("CommandFailed " + command);
    } else if (verb == "answer") {
        notifier_->QueueAnswer(AnswerByName(argument));
    } else if (verb == "input") {
        dialogs_->AnswerInput(argument);
    } else if (verb == "file") {
        if (argument == "cancel")
            dialogs_->CancelFile();
        else
            dialogs_->AnswerFile(argument);
    } else if (verb == "printer") {
        if (argument == "cancel")
            printing_->Cancel();
        else if (argument.rfind("pdf ", 0) == 0)
            printing_->PrintToPdf(argument.substr(4));
        else
            Log("CommandFailed " + command);
    } else if (verb == "post") {
        uint32_t msg = 0;
        uintptr_t wParam = 0;
        intptr_t lParam = 0;
        if (!ParseMessage(argument, msg, wParam, lParam) || !PostToWindow(MainWindowClass, msg, wParam, lParam)) {
            Log("CommandFailed " + command);
            return true;
        }
        return false;
    } else if (verb == "set") {
        if (!Set(argument))
            Log("CommandFailed " + command);
    } else if (verb == "dump") {
        if (!Dump(argument))
            Log("CommandFailed " + command);
    } else if (verb == "cells") {
        auto* grid = dynamic_cast<TStringGrid*>(FindIn<QWidget*>(mainWindow_, name));
        if (grid)
            LogCells(argument, *grid);
        else
            Log("CommandFailed " + command);
    } else if (verb == "graph") {
        if (!RunGraphCommand(argument))
            Log("CommandFailed " + command);
    } else if (verb == "grab") {
        if (!mainWindow_ || !mainWindow_->grab().save(name, "PNG"))
            Log("CommandFailed " + command);
    } else if (verb == "close") {
        if (mainWindow_)
            mainWindow_->close();
    } else {
        Log("CommandFailed " + command);
    }
    return true;
}

bool TTestAutomation::RunGraphCommand(const std::string& argument) {
    auto* archive = FindIn<TArchivForm*>(mainWindow_, "ArchivForm");
    std::istringstream in(argument);
    std::string what, file;
    int mode = -1;
    if (archive == nullptr || archive->Graph == nullptr || !(in >> what >> mode) || mode < 0)
        return false;
    std::getline(in >> std::ws, file);  // the rest of the line, blanks and all
    try {
        if (what == "print" && file.empty()) {
            const bool chosen = archive->Graph->PrinterSetup();
            const bool printed = chosen && archive->PrintGraph(mode, false, "");
            Log("GraphPrint " + std::to_string(mode) + (!chosen ? " cancel" : printed ? " printed" : " failed"));
            return true;
        }
        if (what == "picture" && !file.empty()) {
            const bool saved = archive->PrintGraph(mode, true, file);
            Log("GraphPicture " + std::to_string(mode) + " -> " + file + (saved ? "" : " failed"));
            return true;
        }
    } catch (const std::exception& e) {
        Log(std::string("GraphFailed ") + e.what());
    }
    return false;
}

void TTestAutomation::LogCells(const std::string& name, const TStringGrid& grid) {
    for (int row = 0; row < grid.RowCount(); ++row)
        Log("Cells " + name + " " + std::to_string(row) + " " + RowText(grid, row, "|"));
}

bool TTestAutomation::Set(const std::string& argument) {
    const size_t space = argument.find(' ');
    if (space == std::string::npos)
        return false;
    const std::string target = argument.substr(0, space);
    const std::string text = argument.substr(space + 1);
    std::string gridName;
    int row = 0, col = 0;
    if (ParseCell(target, gridName, row, col)) {
        auto* grid = dynamic_cast<TStringGrid*>(FindIn<QWidget*>(mainWindow_, QString::fromStdString(gridName)));
        return grid && grid->isEnabled() && TypeIntoCell(*grid, row, col, text);
    }
    QWidget* control = FindIn<QWidget*>(mainWindow_, QString::fromStdString(target));
    if (control == nullptr || !control->isEnabled())
        return false;
    const QString item = QString::fromStdString(text);
    if (auto* edit = dynamic_cast<TCustomEdit*>(control)) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->SetText(text);
        edit->SetModified(true);
        Leave(*edit);
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int index = combo->findText(item);
        if (index < 0)
            return false;
        combo->setFocus(Qt::OtherFocusReason);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        Leave(*combo);
        return true;
    }
    if (auto* group = dynamic_cast<TRadioGroup*>(control)) {
        for (QRadioButton* button : group->findChildren<QRadioButton*>())
            if (button->text() == item) {
                button->click();
                return true;
            }
    }
    return false;
}

bool TTestAutomation::Dump(const std::string& argument) {
    const size_t space = argument.find(' ');
    if (space == std::string::npos)
        return false;
    auto* grid =
        dynamic_cast<TStringGrid*>(FindIn<QWidget*>(mainWindow_, QString::fromStdString(argument.substr(0, space))));
    if (grid == nullptr)
        return false;
    std::ofstream out(argument.substr(space + 1), std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    for (int row = 0; row < grid->RowCount(); ++row)
        out << RowText(*grid, row, "\t") << '\n';
    return static_cast<bool>(out);
}

void TestLog(const std::string& line) {
    if (instance)
        instance->Log(line);
}

} // namespace zeko
