#pragma once
// THlavniForm: the main window, the multiple-document frame of the program. It owns
// the menus, the bar with the table buttons and the download gauge, the status bar
// and the two timers; it creates and frees the program-wide objects of the
// conversation with the regulator, reads and writes "Zeko.ini", and runs the
// conversation itself: the reply parser and dispatch (hlavniReplies.cpp), the
// start-up reading and live-value polling (hlavniStartup.cpp) and the record
// download (hlavniDownload.cpp). Registered under the class name "THlavniForm",
// so other windows post their requests to it.
#include "platform/WindowMessages.h"

#include <QMainWindow>

#include <array>
#include <string>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace zeko {

class THlavniForm : public QMainWindow, public MessageTarget {
    Q_OBJECT
public:
    explicit THlavniForm(QWidget* parent = nullptr);
    ~THlavniForm() override;

    // Menus (captions as the user sees them; handlers below).
    QMenu* cmProgram;
    QMenu* cmOkno;
    QAction* cmOnline;
    QAction* cmArchiv;
    QAction* cmDennitabulka;
    QAction* cmMesicniTabulka;
    QAction* cmRocniTabulka;
    QMenu* cmNastaveni;
    QAction* cmNastaveniRegulatoru;
    QAction* cmNastavitCas;
    QAction* cmSmeny;
    QAction* cmTarify;
    QMenu* cmServis;
    QAction* cmNactiZaznamyZeSouboru;
    QAction* cmNulujZaznamy;
    QAction* cmNactiZaznamy;
    QMenu* cmComPort;
    std::array<QAction*, 8> cmCom;  // "Com 1" .. "Com 8", Tag 0..7
    QMenu* cmUsporadaniOken;
    QAction* cmKaskada;         // Tag 0
    QAction* cmDlazdice;        // Tag 1
    QAction* cmUsporadejIkony;  // Tag 2

    // The bar under the menu: the table buttons and the record-download progress.
    QWidget* SpeedBar1;
    QToolButton* Btn_A1;
    QToolButton* Btn_DenniTabulka;
    QToolButton* Btn_MesicniTabulka;
    QToolButton* Btn_RocniTabulka;
    QLabel* Lbl_NacitaniZaznamu;
    QProgressBar* Gau_NacitaniZaznamu;
    QPushButton* Btn_PrerusZaznamy;

    // Status panels 0..4: the status line, two empty panels, the first and the
    // second identification text of the regulator.
    std::array<QLabel*, 5> StatusPanels;
    // The PC date and time while no child window is open.
    QLabel* Pnl_Datum;
    QLabel* Pnl_Cas;
    // The settings-read progress.
    QFrame* Panel1;
    QLabel* ProgressLabel;
    QProgressBar* ProgressBar;
    QPushButton* ZrusNacitani;

    QMdiArea* MdiArea() const { return mdiArea_; }

    // Status line (panel 0) and its stamped form used by every conversation result.
    void SetStatusLine(const std::string& text);
    std::string StatusLine() const;
    void SetStatusPanel(int index, const std::string& text);

    void HandleMessage(const TMessage& message) override;

    // Handlers of this window. FormCreate is the start-up: the program runs it once
    // the window is shown, so that its messages appear over the window.
    void FormCreate();
    void FormResize();
    void cmComClick(int tag);
    void cmKaskadaClick(int tag);
    void Tmr_ProgramTimer();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreateSpeedBar();
    void CreateStatusBar();
    void CreatePanels();

    QMdiArea* mdiArea_;
    QActionGroup* comGroup_;
    bool resizeAttached_ = false;
};

} // namespace zeko
