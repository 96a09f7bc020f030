// The trainer's main window: the problem board, the index, the commentary, the points
// digits, the clock and the menus, and the script host through which problems run.
#pragma once

#include "progress/core/Calendar.h"
#include "progress/core/ProgressReports.h"
#include "script/core/Globales.h"
#include "script/core/ProblemFlow.h"
#include "script/core/ScriptHost.h"
#include "script/core/TrainingOptions.h"
#include "widgets/TYRChronometre.h"

#include <QImage>
#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSoundEffect;
class QStatusBar;
class QTimer;
class QToolButton;

namespace qv {

class TChessBrd;
class TCLEDLabel;
class TDRLabel;
class TLabel3D;
class TFormResizer;
class TFilterEdit;
class TListBox;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TStatisticsWindow;
class AttemptRecorder;
class ProgressStore;
class SqliteProgressStore;
class TrainerSettings;
class PuzzleConversion;
struct ConversionResult;
struct TrainerPreferences;
class TUseHTMLHelp;
using HelpRouter = TUseHTMLHelp;

// The main window of the trainer. It owns the problem board ChessBrd1 and every control
// of the window, drives problems through ProblemFlow and implements ScriptHost for the
// interpreter. The secondary windows are created after it and attached with
// AttachWindows. Controls and handlers are public so that tests can drive the window.
class TForm1 : public QMainWindow, public ScriptHost {
    Q_OBJECT
public:
    // `arguments` is the command line with the program first; the second entry, if any,
    // names a problem file that is listed at once. Creating the window runs FormCreate.
    TForm1(Globales& globals, const QStringList& arguments, QWidget* parent = nullptr);
    ~TForm1() override;

    // The secondary windows, created after the main window (not owned).
    void AttachWindows(TForm2* form2, TForm3* form3, TForm4* form4, TForm5* form5);

    Globales& Globals() { return g_; }
    HelpRouter& Help() { return *help_; }
    ProblemFlow& Flow() { return flow_; }
    QString ProgramDirectory() const;

    // --- controls, in the order of creation ---
    TDRLabel* DRLabel3 = nullptr;
    TDRLabel* DRLabel2 = nullptr;
    TChessBrd* ChessBrd1 = nullptr;
    TLabel3D* Label3D1 = nullptr;
    TDRLabel* DRLabel1 = nullptr;
    QLabel* Label4 = nullptr;
    TFilterEdit* FilterEdit1 = nullptr; // narrows the index list, beside "Index:"
    TListBox* ListBox1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QSoundEffect* MediaPlayer1 = nullptr; // created on the first sound
    QFrame* Panel1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label5 = nullptr;
    TCLEDLabel* CLEDLabel1 = nullptr;
    TCLEDLabel* CLEDLabel2 = nullptr;
    TCLEDLabel* CLEDLabel3 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusText = nullptr; // the status bar's one simple panel

    // --- menus ---
    QMenu* Archivo1 = nullptr;
    QAction* LeerProblemas1 = nullptr;
    QAction* SAveremarks1 = nullptr;
    QAction* Saveresults1 = nullptr;
    QAction* Salir1 = nullptr;
    QMenu* Opciones1 = nullptr;
    QAction* Blancasarribaabajo1 = nullptr;
    QAction* Lneasentreescaques1 = nullptr;
    QAction* Coordenadas1 = nullptr;
    QAction* Colorcasillasblancas1 = nullptr;
    QAction* Colorcasillasnegras1 = nullptr;
    QAction* Engine1 = nullptr; // "&Engine...": the auxiliary board's analysis engine
    QMenu* Ayuda1 = nullptr;
    QAction* OnlineHelp1 = nullptr;
    QAction* Credits1 = nullptr;

    // --- components without a place on the window ---
    QTimer* Timer1 = nullptr;
    TYRChronometre Crono1;
    TFormResizer* FormResizer1 = nullptr;
    QString SaveDialogFileName; // SaveDialog1 remembers the last name chosen
    QString OpenDialogInitialDir;
    static const char* const OpenDialogFilter;

    // The client area in which the controls lie (below the menu, above the status bar).
    QWidget* Client() const { return client_; }

    // Commentary lines that the script added and the memo does not show yet: a run of
    // many lines reaches the memo in one piece, at the latest when control returns to
    // the event loop or before anything else is shown. A run of more than
    // MemoLinesPerFlush lines arrives in pieces of that many, one per turn of the event
    // loop, so that the window keeps answering while a million lines go in.
    static constexpr int MemoLinesPerFlush = 50000;
    int PendingMemoLines() const { return int(pendingMemo_.size()); }
    // Shows at most `limit` pending lines now, and the rest on the next turn of the
    // event loop.
    void FlushMemo(int limit = std::numeric_limits<int>::max());

    // Where the diagram window goes when a script shows it, so that it covers neither
    // the board nor the comment label: beside the main window (right, else left) where
    // the available screen area has room for it; if only the two side by side fit, the
    // main window moves left just enough; else the designed place. Frames are outer
    // window rectangles; the result holds both windows' frame positions.
    struct DiagramPlacement {
        QPoint Main;
        QPoint Diagram;
        bool operator==(const DiagramPlacement&) const = default;
    };
    static DiagramPlacement DiagramPlace(const QRect& mainFrame, const QSize& diagramFrame,
                                         const QRect& available, const QPoint& designed);

    // --- handlers ---
    void FormCreate(const QStringList& arguments);
    void FormResize();
    void AdaptToScreen(int refWidth, int refHeight);
    void LeerProblemas1Click();
    void SAveremarks1Click();
    void Saveresults1Click();
    void Salir1Click();
    void Blancasarribaabajo1Click();
    void Lneasentreescaques1Click();
    void Coordenadas1Click();
    void Colorcasillasblancas1Click();
    void Colorcasillasnegras1Click();
    void Engine1Click();
    void OnlineHelp1Click();
    void Credits1Click();
    void ListBox1Click();
    void BitBtn2Click();
    void Button1Click();
    void Button2Click();
    void Timer1Timer();
    void ComboBox1Change();
    void ChessBrd1LegalMove(Square oldSq, Square newSq);
    void ChessBrd1Mate();
    void ChessBrd1Draw();

    // The bitmaps of the Pieces box's sets, by row of resources::PieceSets; the built-in
    // set's row holds a null image, which gives the board its own set back.
    std::vector<QImage> PieceSets;

    // Display state of the window: the clock paused by the user, coordinates shown on the
    // board, and the screen size at the window's creation (the reference for AdaptToScreen).
    bool ClockPaused = false;
    bool CoordsShown = false;
    int RefScreenWidth = 0;
    int RefScreenHeight = 0;

    // --- training: the options, the verdict, hints, the banner and the move box
    // (TForm1Training.cpp) ---
    QMenu* Training1 = nullptr; // Options > Training
    QAction* InstantVerdict1 = nullptr;
    QMenu* TriesPerMove1 = nullptr;
    QActionGroup* TriesGroup = nullptr;
    QAction* Tries1[4] = {}; // 1, 2, 3, unlimited
    QAction* Hints1 = nullptr;
    QAction* Announce1 = nullptr;
    QLabel* VerdictLabel1 = nullptr;      // under the board, beside the move box
    QPushButton* HintButton1 = nullptr;   // beside Next, shown with the Hints option
    QLabel* Banner1 = nullptr;            // "Check Mate", "Draw" over the board
    QLineEdit* MoveEdit1 = nullptr;       // the move box under the board
    QSoundEffect* VerdictSound = nullptr; // created on the first verdict heard
    // How long a wrong try stays on the board before it is taken back, and the banner.
    static constexpr int RetryDelayMs = 450;
    static constexpr int BannerMs = 3000;

    // The options as the Training menu shows them; setting them ticks the menu.
    TrainingOptions TrainingChoice() const;
    void SetTrainingChoice(const TrainingOptions& options);
    void TrainingMenuClick(); // any item of the Training menu
    void HintButton1Click();
    void MoveEdit1Enter(); // Enter in the move box
    void FocusMoveBox();   // M or /

    // --- puzzle collections: converted in the background, then listed (TForm1Import.cpp) ---
    QProgressBar* ImportProgress1 = nullptr; // in the status bar while a conversion runs
    QToolButton* ImportCancel1 = nullptr;
    PuzzleConversion* Conversion = nullptr;
    QString ImportCacheDir; // where converted collections are kept
    void ImportCancel1Click();

    // --- remembering (TForm1Settings.cpp) ---
    QMenu* RecentFiles1 = nullptr; // File > Recent files
    // Restores what the settings remember (before the window is first shown) and keeps
    // them up to date from now on. Without it (tests) nothing is remembered.
    void UseSettings(TrainerSettings* settings);
    TrainerPreferences CurrentPreferences() const;
    void RememberSettings();
    void OpenRecentFile(const QString& path);
    QStringList RecentFiles() const { return recentFiles_; }

    // --- progress: attempts recorded, marks, Continue, Review, Statistics
    // (TForm1Progress.cpp) ---
    QAction* Continue1 = nullptr;            // File > Continue
    QMenu* Review1 = nullptr;                // the Review menu
    QAction* ReviewDue1 = nullptr;           // Review > Review due problems
    QAction* Statistics1 = nullptr;          // Review > Statistics...
    QLabel* SolvedText = nullptr;            // status bar, right: "12 of 40 solved"
    TStatisticsWindow* Statistics = nullptr; // created when first asked for
    void Continue1Click();
    void ReviewDue1Click();
    void Statistics1Click();
    // The progress store, opened on first use at ProgressFilePath(); it answers even
    // when the file cannot be used (and says so once in the status bar).
    ProgressStore& Progress();
    // Solved, failed or untried for each entry of the index list, in its order.
    const std::vector<ProblemMark>& Marks() const { return marks_; }
    // Working through the due problems: how many are still to come.
    bool Reviewing() const { return reviewing_; }
    int ReviewLeft() const { return int(reviewQueue_.size()); }
    // The clock of the problem under way, for the attempt that records it.
    double ClockSeconds() const override;

    // --- ScriptHost ---
    void SetLabelText(ScriptLabel label, const std::string& text) override;
    void SetLabelVisible(ScriptLabel label, bool visible) override;
    void AddMemoLine(const std::string& text) override;
    void ClearMemo() override;
    void SetNextEnabled(bool enabled) override;
    std::string BoardPosition() const override;
    void SetBoardPosition(const std::string& text) override;
    bool BoardWhiteToMove() const override;
    void SetBoardWhiteToMove(bool white) override;
    void SetBoardWhiteOnTop(bool whiteOnTop) override;
    void SetBoardEnabled(bool enabled) override;
    void SetBoardBorderColor(RgbColor colour) override;
    bool BoardMoveBack() override;
    bool BoardMoveForward() override;
    bool BoardMakeMove(Square from, Square to, char promotion) override;
    void BoardNewGame() override;
    void AuxMakeMove(Square from, Square to, char promotion) override;
    void ShowYourTurn(bool shown) override;
    bool PlayPop(std::string& errorMessage) override;
    void StartClock() override;
    void StopClock() override;
    bool AskAddPoints(const std::string& text, int value) override;
    void SetPointsDigits(const std::string& digits) override;
    std::string DiagramCommand(const std::string& command,
                               const std::vector<std::string>& args) override;
    void ShowError(const std::string& message) override;
    void ShowInfo(const std::string& text) override;
    void ShowBanner(const std::string& text) override;
    void ShowVerdict(Verdict verdict) override;
    bool TakeBackTry(Square from, Square to) override;
    void SetHintAvailable(bool available) override;
    void ShowHint(Square from, Square to) override;
    void ClearHints() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void PlaceDiagramWindow();
    void ShowStatusMessage(const QString& text);
    void ListProblems(const std::vector<std::string>& entries, const QString& fileName);
    void CreateTrainingControls();
    void CreateTrainingMenu();
    void PlaceBanner();
    void HideBanner();
    bool PlayVerdictSound();
    // Reads a problem file and lists its problems (Read problems, a recent file).
    void OpenProblemFile(const QString& name);
    void ListProblemFile(const QString& readFrom, const QString& standsFor);
    void CreateImportControls();
    void OpenPuzzleFile(const QString& name);
    void ShowConversion(bool shown);
    void ConversionFinished(const ConversionResult& result);
    void ListConvertedFile(const ConversionResult& result);
    void UpdateRecentMenu();
    void RestoreLastProblem(const TrainerPreferences& preferences);
    void PickSquareColour(bool light);
    void CreateProgressControls();
    void CreateProgressMenus();
    // Ends the play of the problem under way (recording it when attempted); before
    // the clock is reset, so that the attempt keeps its thinking time.
    void AbandonProblem();
    void PlayRecorded(const ProblemPlay& play);
    void UpdateProgress();
    void TellProgressNotice();
    void ReviewNext();
    bool ReviewNextOnNext();
    void SelectEntry(int fileRow); // selects and starts it, as a click does
    QLabel* LabelAt(ScriptLabel label) const;

    Globales& g_;
    ProblemFlow flow_;
    QWidget* client_ = nullptr;
    TForm2* form2_ = nullptr;
    TForm3* form3_ = nullptr;
    TForm4* form4_ = nullptr;
    TForm5* form5_ = nullptr;
    std::unique_ptr<HelpRouter> help_;
    bool created_ = false;
    QStringList pendingMemo_;
    QTimer* memoFlush_ = nullptr;
    bool clockRunningAtPause_ = false; // resume the clock when the pause ends
    QSize designedSize_;
    // Training and remembering.
    QTimer* retryTimer_ = nullptr;
    QTimer* bannerTimer_ = nullptr;
    bool hintAvailable_ = false;
    bool verdictSoundFailed_ = false; // said once in the status bar
    TrainerSettings* settings_ = nullptr;
    bool settingsFailed_ = false;
    bool preferredWhiteOnTop_ = false; // the orientation the user chose, not the script's
    QStringList recentFiles_;
    QString openFile_; // the problem file listed, as an absolute path (a collection's own path)
    QString pendingProblem_;             // selected once the collection being converted is listed
    bool reviewAfterConversion_ = false; // the review waits for a collection's conversion
    // Progress.
    // Hands the flow's plays to the recorder, opening the store when the first one starts.
    class PlayWatcher : public PlayListener {
    public:
        explicit PlayWatcher(TForm1& form) : form_(form) {}
        void PlayStarted(const ProblemPlay& play) override;
        void PlayFinished(const ProblemPlay& play) override;

    private:
        ProblemPlay OfListedFile(const ProblemPlay& play) const;
        TForm1& form_;
    };
    SystemClock clock_;
    std::unique_ptr<SqliteProgressStore> progress_;
    std::unique_ptr<AttemptRecorder> recorder_;
    std::unique_ptr<PlayWatcher> watcher_;
    std::vector<ProblemDigest> digests_; // of the open file, one per index entry, once needed
    bool digestsRead_ = false;
    const std::vector<ProblemDigest>& Digests();
    std::vector<ProblemMark> marks_;
    std::deque<ProblemRecord> reviewQueue_;
    bool reviewing_ = false;
    bool reviewDone_ = false;     // the problem under review has ended: Next goes on
    std::uint64_t reviewKey_ = 0; // identity of the problem under review
    int reviewShown_ = 0;         // problems of this review selected so far
    int reviewTotal_ = 0;         // problems due when the review began
    QStringList reviewSkipped_;   // files of this review that were not found
};

} // namespace qv
