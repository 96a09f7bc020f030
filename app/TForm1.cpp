// The main window: its controls, the start-up state, the problem flow and the diagram
// window's place. Its menus, options and saving are in TForm1Menus.cpp, its role as the
// interpreter's host in TForm1ScriptHost.cpp.
#include "app/TForm1.h"

#include "app/Dialogs.h"
#include "app/ErrorBox.h"
#include "app/Saving.h"
#include "app/TListBox.h"
#include "app/help/HelpRouter.h"
#include "board/ui/TChessBrd.h"
#include "progress/core/AttemptRecorder.h"
#include "progress/store/SqliteProgressStore.h"
#include "resources/Colours.h"
#include "resources/ResourcePaths.h"
#include "script/core/ProblemIndex.h"
#include "script/ui/TForm2.h"
#include "widgets/TCLEDLabel.h"
#include "widgets/TDRLabel.h"
#include "widgets/TFormResizer.h"
#include "widgets/TLabel3D.h"
#include "windows/TEngineDialog.h"
#include "windows/TForm3.h"
#include "windows/TForm4.h"
#include "windows/TForm5.h"
#include "windows/TStatisticsWindow.h"
#include "windows/WindowLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSoundEffect>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <utility>

namespace qv {

namespace {

// The board and the two pause labels under it, as designed.
const QRect kDesignedBoard(15, 7, 368, 368);
const QPoint kDesignedPaused(128, 88);
const QPoint kDesignedRestart(56, 136);

// Client area of the window as designed: 750 by 515 pixels, the status bar included.
constexpr int kClientWidth = 750;
constexpr int kClientHeight = 515;
constexpr int kStatusHeight = 19;

QFont PixelFont(const char* family, int pixels, bool bold = false, bool italic = false) {
    QFont f{QString::fromLatin1(family)};
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QLabel* MakeLabel(QWidget* parent, int left, int top, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace

// Puzzle collections come after the problem files' own entries.
const char* const TForm1::OpenDialogFilter = "Tactics Files|*.qvn|Text files|*.txt|All files|*.*"
                                             "|Puzzle collections|*.pgn *.epd *.csv";

TForm1::TForm1(Globales& globals, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), g_(globals), flow_(globals, *this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvane - chess tactics trainer - free software"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    CreateControls();
    CreateMenus();

    // Outer size 758 by 569 with the frame: a client area of 750 by 515 under the menu.
    resize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }

    memoFlush_ = new QTimer(this);
    memoFlush_->setSingleShot(true);
    memoFlush_->setInterval(0);
    connect(memoFlush_, &QTimer::timeout, this, [this] { FlushMemo(MemoLinesPerFlush); });

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, Guarded([this] { Timer1Timer(); }));
    Timer1->start();

    FormResizer1 = new TFormResizer(client_, this);
    FormResizer1->SetMinFontSize(8);
    FormResizer1->SetMaxFontSize(48);
    FormResizer1->SetScaleFonts(false);

    // The help router answers the application's help requests from now on.
    help_ = std::make_unique<HelpRouter>();

    FormCreate(arguments);
    created_ = true;
}

TForm1::~TForm1() {
    flow_.SetPlayListener(nullptr);
    delete Statistics; // before the store it reads
    // The board's events point at this window; the board goes with the window.
    if (ChessBrd1) {
        ChessBrd1->OnLegalMove = nullptr;
        ChessBrd1->OnMate = nullptr;
        ChessBrd1->OnDraw = nullptr;
    }
}

void TForm1::CreateControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client_);
    QWidget* c = client_;

    DRLabel3 = new TDRLabel(c);
    DRLabel3->setGeometry(QRect(kDesignedRestart, QSize(296, 19)));
    DRLabel3->setFont(PixelFont("Arial", 16, true));
    DRLabel3->SetCaption(QStringLiteral("Press Restart clock button to continue."));

    DRLabel2 = new TDRLabel(c);
    DRLabel2->setGeometry(QRect(kDesignedPaused, QSize(130, 19)));
    DRLabel2->setFont(PixelFont("Arial", 16, true));
    DRLabel2->SetCaption(QStringLiteral("System paused..."));

    PieceSets.resize(resources::PieceSetCount);
    for (int row = 0; row < resources::PieceSetCount; ++row)
        if (row != resources::BuiltInPieceSetRow && !resources::IsScalablePieceSetRow(row))
            PieceSets[row] = QImage(resources::PieceSetPath(row));

    ChessBrd1 = new TChessBrd(c);
    ChessBrd1->setObjectName(QStringLiteral("ChessBrd1"));
    ChessBrd1->SetSizeOfSquare(40);
    ChessBrd1->SetSizeOfBorder(24);
    ChessBrd1->setGeometry(kDesignedBoard);
    ChessBrd1->SetBorderColor(colours::Silver);
    ChessBrd1->SetAnimateMoves(true);
    ChessBrd1->SetAnimationDelay(0);
    ChessBrd1->SetResizable(false);
    ChessBrd1->SetDisplayCoords(0);
    ChessBrd1->SetBoardLines(false);
    ChessBrd1->SetWhiteOnTop(false);
    ChessBrd1->SetComputerPlaysWhite(false);
    ChessBrd1->SetComputerPlaysBlack(false);
    ChessBrd1->SetSearchDepth(1);
    // Moves by clicks and by keyboard besides dragging, a chooser for promotions, and
    // the last move marked on its two squares.
    ChessBrd1->SetClickMoves(true);
    ChessBrd1->SetKeyboardMoves(true);
    ChessBrd1->SetChoosePromotion(true);
    ChessBrd1->SetHighlightLastMove(true);
    ChessBrd1->OnLegalMove = Guarded(
        [this](BoardModel*, Square oldSq, Square newSq) { ChessBrd1LegalMove(oldSq, newSq); });
    ChessBrd1->OnMate = Guarded([this](BoardModel*, Square, Square) { ChessBrd1Mate(); });
    ChessBrd1->OnDraw = Guarded([this](BoardModel*) { ChessBrd1Draw(); });

    Label3D1 = new TLabel3D(c);
    Label3D1->setGeometry(668, 344, 4, 19);
    Label3D1->setFont(PixelFont("Arial", 16, true));
    Label3D1->SetFontColor(colours::White);
    Label3D1->SetDepth(1);
    Label3D1->SetAutoSize(true);
    Label3D1->SetCaption(QString());

    DRLabel1 = new TDRLabel(c);
    DRLabel1->setGeometry(520, 344, 81, 22);
    DRLabel1->setFont(PixelFont("Arial", 19));
    DRLabel1->SetFontColor(colours::Black);
    DRLabel1->SetShadowColor(colours::Yellow);
    DRLabel1->SetShadowDepth(1);
    DRLabel1->SetBlinkInterval(300);
    DRLabel1->SetCaption(QStringLiteral("Your turn!"));

    Label4 = MakeLabel(c, 400, 8, QStringLiteral("Index:"));

    ListBox1 = new TListBox(c);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(400, 24, 337, 73);
    ListBox1->setFont(QFont(QStringLiteral("Arial"), 8));
    ListBox1->SetItemHeight(14);
    connect(ListBox1, &TListBox::Click, this, Guarded([this] { ListBox1Click(); }));

    // The filter box on the caption's line, as wide as the list reaches.
    FilterEdit1 = new TFilterEdit(ListBox1, c);
    FilterEdit1->setObjectName(QStringLiteral("FilterEdit1"));
    FilterEdit1->setGeometry(440, 2, 297, 21);
    FilterEdit1->setPlaceholderText(QStringLiteral("Filter by label or title"));
    FilterEdit1->setAccessibleName(QStringLiteral("Filter the index"));
    FilterEdit1->setToolTip(QStringLiteral("Shows only the problems whose label or title holds "
                                           "every word typed here, in any case.\n"
                                           "Down or Enter goes into the list; Escape clears."));
    setTabOrder(FilterEdit1, ListBox1);

    Memo1 = new QPlainTextEdit(c);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    // Under the board's move box and verdict line (CreateTrainingControls).
    Memo1->setGeometry(16, 406, 721, 83);
    Memo1->setFont(PixelFont("Arial", 13));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true); // Tab goes on to the next control, as everywhere else
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    // MediaPlayer1 (hidden, 387, 33, 253, 24) is created on the first sound played.

    Panel1 = MakePanel(c, {400, 104, 337, 41});
    Label2 = MakeLabel(Panel1, 16, 8, QString());
    Label2->setFont(PixelFont("MS Sans Serif", 13, false, true));
    // The players' line goes under the side to play: at the designed place (24, 8) the two
    // texts would be drawn over each other whenever a script shows both.
    Label3 = MakeLabel(Panel1, 24, 23, QString());
    Label3->setFont(PixelFont("MS Sans Serif", 13, true));

    Panel2 = MakePanel(c, {400, 264, 337, 73});
    Label1 = MakeLabel(Panel2, 16, 16, QStringLiteral("Pieces: "));
    ComboBox1 = new QComboBox(Panel2);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems(resources::PieceSetBoxEntries());
    ComboBox1->setGeometry(56, 8, 137, 21);
    Label5 = MakeLabel(Panel2, 16, 48, QStringLiteral("Total points:"));
    TCLEDLabel** digits[3] = {&CLEDLabel1, &CLEDLabel2, &CLEDLabel3};
    for (int i = 0; i < 3; ++i) {
        auto* led = new TCLEDLabel(Panel2);
        led->setGeometry(104 + 16 * i, 40, 15, 26);
        led->SetSegmentColor(colours::Yellow);
        led->SetBackgroundColor(colours::Black);
        led->SetUnlitColor(colours::Maroon);
        led->SetThickness(2);
        led->SetCaption(QStringLiteral("0"));
        *digits[i] = led;
    }
    CheckBox1 = new QCheckBox(QStringLiteral("Sound"), Panel2);
    CheckBox1->setGeometry(176, 40, 65, 17);
    CheckBox1->setChecked(true); // as designed; FormCreate switches the sound off
    Button1 = new QPushButton(QStringLiteral("Aux. Board"), Panel2);
    Button1->setGeometry(248, 40, 81, 25);
    Button2 = new QPushButton(QStringLiteral("Clock pause"), Panel2);
    Button2->setGeometry(248, 8, 81, 25);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            Guarded([this] { ComboBox1Change(); }));
    connect(ComboBox1, &QComboBox::editTextChanged, this, Guarded([this] { ComboBox1Change(); }));
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));

    Panel3 = MakePanel(c, {400, 152, 337, 97});
    Label6 = new QLabel(Panel3);
    Label6->setGeometry(16, 16, 305, 65);
    Label6->setWordWrap(true);
    Label6->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label6->setFont(PixelFont("Courier New", 12));

    BitBtn2 = new QPushButton(QStringLiteral("Next"), c);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(400, 344, 49, 25);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    BitBtn2->setIconSize(QSize(10, 10));
    connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }));
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { RememberSettings(); });

    CreateTrainingControls();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setFixedHeight(kStatusHeight);
    StatusBar1->setSizeGripEnabled(true);
    StatusText = new QLabel(QString(60, QLatin1Char(' ')) + QStringLiteral("QUORVANE") +
                                QString(20, QLatin1Char(' ')) +
                                QStringLiteral("Free software for chess players"),
                            StatusBar1);
    StatusBar1->addWidget(StatusText, 1);
    setStatusBar(StatusBar1);
    CreateProgressControls();
    CreateImportControls();
}

void TForm1::AttachWindows(TForm2* form2, TForm3* form3, TForm4* form4, TForm5* form5) {
    form2_ = form2;
    form3_ = form3;
    form4_ = form4;
    form5_ = form5;
    if (form2_) {
        form2_->SetProgramDir(QString::fromStdString(g_.ProgramDir));
        form2_->SetSource([this] { return ChessBrd1->Position(); },
                          [this] { return ChessBrd1->WhiteOnTop(); });
        form2_->OnDrawError = [](const QString& message) { ShowErrorBox(message); };
    }
}

QString TForm1::ProgramDirectory() const {
    return QString::fromStdString(g_.ProgramDir);
}

// ---------------------------------------------------------------- start-up

void TForm1::FormCreate(const QStringList& arguments) {
    // The folder of the program's files, with a trailing separator: the program's own
    // folder, or the data folder of an installed program.
    QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty() && !arguments.isEmpty()) dir = QFileInfo(arguments.first()).absolutePath();
    g_.ProgramDir = resources::ProgramFilesDir(dir).toStdString();

    // The screen's size as the reference; the layout stands as designed.
    const QScreen* screen = QGuiApplication::primaryScreen();
    RefScreenWidth = screen ? screen->size().width() : kClientWidth;
    RefScreenHeight = screen ? screen->size().height() : kClientHeight;
    AdaptToScreen(RefScreenWidth, RefScreenHeight);

    // The baseline for later resizing. The window does not shrink below it: its
    // controls are laid out for this size and would cut their texts or overlap.
    client_->resize(kClientWidth, kClientHeight - kStatusHeight);
    FormResizer1->Record();
    designedSize_ = size();
    QSize minimum = designedSize_;
    if (screen) minimum = minimum.boundedTo(screen->availableGeometry().size());
    setMinimumSize(minimum);

    // "Your turn!" hidden, blinking once shown.
    DRLabel1->hide();
    DRLabel1->SetBlink(blBlink);

    // Sound off at every start.
    CheckBox1->setChecked(false);

    ChessBrd1->SetWhiteOnTop(false);
    ChessBrd1->SetBoardLines(false);

    BitBtn2->setEnabled(false);

    CoordsShown = false;
    g_.ProblemFileOpen = false;
    g_.OutputToLabel = true;
    g_.OutputToMemo = true;
    g_.TotalPoints = 0;
    g_.StructureOnly = false;

    // Piece set "Set40" on teal and white squares.
    ChessBrd1->SetCustomPieceSet(PieceSets[resources::MainBoardPieceSetRow]);
    ChessBrd1->SetSquareColorDark(colours::Teal);
    ChessBrd1->SetSquareColorLight(colours::White);
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->setCurrentIndex(resources::MainBoardPieceSetRow);
    }

    Crono1.Reset();
    ClockPaused = false;

    // The open dialog starts in the folder of the program's files (with the sample problems).
    OpenDialogInitialDir = ProgramDirectory();

    // A problem file named on the command line is listed at once. A file that
    // cannot be opened is reported and start-up goes on with an empty list.
    if (arguments.size() > 1) {
        try {
            OpenProblemFile(arguments.at(1));
        } catch (...) {
            ShowCurrentException();
        }
    }
}

void TForm1::AdaptToScreen(int refWidth, int refHeight) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || refWidth <= 0 || refHeight <= 0) return;
    const double h = double(screen->size().width()) / refWidth;
    const double v = double(screen->size().height()) / refHeight;
    if (h == 1.0 && v == 1.0) return; // the designed layout stands
    auto scaled = [](int value, double factor) { return int(std::lround(value * factor)); };
    for (QObject* child : client_->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w) continue;
        QRect r = w->geometry();
        r.setWidth(scaled(r.width(), h));
        r.setHeight(scaled(r.height(), v));
        r.moveTo(scaled(r.left(), h), scaled(r.top(), v));
        w->setGeometry(r);
        QFont f = w->font();
        if (f.pixelSize() > 0)
            f.setPixelSize(std::max(1, scaled(f.pixelSize(), h)));
        else
            f.setPointSizeF(std::max(1.0, f.pointSizeF() * h));
        w->setFont(f);
    }
    resize(scaled(width(), h), scaled(height(), v));
}

void TForm1::FormResize() {
    if (!created_ || !FormResizer1) return;
    FormResizer1->Rescale();
    if (client_->size() == FormResizer1->RecordedFormSize()) return; // all as designed

    // The board stays square: it takes the largest board that fits its scaled bounds,
    // so that it never reaches into the controls beside or below it.
    const QRect r = ChessBrd1->geometry();
    const int border = ChessBrd1->SizeOfBorder();
    const int square = std::max((std::min(r.width(), r.height()) - 2 * border) / 8, 1);
    const int side = 8 * square + 2 * border;
    ChessBrd1->setGeometry(r.left(), r.top(), side, side);

    // The two pause labels lie under the board where they were designed to lie.
    const double scale = double(side) / kDesignedBoard.width();
    for (auto [label, designed] :
         {std::pair{DRLabel2, kDesignedPaused}, std::pair{DRLabel3, kDesignedRestart}}) {
        const QPoint offset = designed - kDesignedBoard.topLeft();
        label->move(r.left() + int(std::lround(offset.x() * scale)),
                    r.top() + int(std::lround(offset.y() * scale)));
    }
    if (Banner1 && Banner1->isVisible()) PlaceBanner();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A message given before the window was first shown (a store or settings fault at
    // start) is given again: the status bar hides its notice under a message only
    // while it is shown, and the two texts would otherwise be drawn over each other.
    const QString message = StatusBar1->currentMessage();
    if (!message.isEmpty() && StatusText->isVisible()) {
        StatusBar1->clearMessage();
        StatusBar1->showMessage(message);
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, even while the diagram window is shown.
    QMainWindow::closeEvent(event);
    if (!event->isAccepted()) return;
    AbandonProblem();   // the problem under way is recorded as left
    RememberSettings(); // the window's place and size
    QCoreApplication::quit();
}

void TForm1::Salir1Click() {
    AbandonProblem();
    RememberSettings();
    if (g_.ProblemFileOpen) {
        g_.ProblemFile.Close();
        g_.ProblemFileOpen = false;
    }
    Crono1.Stop();
    Timer1->stop();
    QCoreApplication::quit();
}

void TForm1::OnlineHelp1Click() {
    QString error;
    if (!help_->OnlineHelp(ProgramDirectory(), &error)) ShowErrorBox(error);
}

void TForm1::Credits1Click() {
    if (!form4_) return;
    KeepAboveStayOnTopWindows(form4_);
    form4_->exec();
}

// ---------------------------------------------------------------- problem flow

void TForm1::LeerProblemas1Click() {
    const QString name = Dialogs::Current().GetOpenFileName(this, OpenDialogInitialDir,
                                                            QString::fromLatin1(OpenDialogFilter));
    // Cancel changes nothing: the list and the open file stay as they are.
    if (name.isEmpty()) return;
    OpenProblemFile(name);
}

void TForm1::ListProblems(const std::vector<std::string>& entries, const QString& fileName) {
    // A new file is shown whole: the filter box starts empty.
    FilterEdit1->clear();
    ListBox1->SetEntries(entries);
    if (!entries.empty()) {
        StatusBar1->clearMessage();
        return;
    }
    // Say so, rather than leave an empty list and a Next button of the previous problem.
    ShowStatusMessage(QStringLiteral("No problems found in %1")
                          .arg(QDir::toNativeSeparators(QFileInfo(fileName).fileName())));
    BitBtn2->setEnabled(false);
}

void TForm1::ShowStatusMessage(const QString& text) {
    StatusBar1->showMessage(text);
}

void TForm1::ListBox1Click() {
    const QString entry = ListBox1->CurrentEntry();
    if (ListBox1->currentRow() < 0) return;
    // The problem left here is recorded with the time the clock gave it.
    AbandonProblem();
    reviewDone_ = false;
    Crono1.Stop();
    Crono1.Reset();
    clockRunningAtPause_ = false;
    retryTimer_->stop();
    HideBanner();
    // A turn that was under way ends here: the board must not take moves on the
    // position that the new problem's script is about to replace.
    SetBoardEnabled(false);
    ShowYourTurn(false);
    SetBoardBorderColor(BorderSilver);
    flow_.SelectProblem(entry.toStdString());
    FlushMemo();
    RememberSettings();
}

void TForm1::BitBtn2Click() {
    HideBanner();
    // A reviewed problem has ended: Next goes on to the next due one.
    if (ReviewNextOnNext()) return;
    flow_.Next();
    FlushMemo(MemoLinesPerFlush);
    if (reviewDone_) {
        if (reviewQueue_.empty()) {
            ReviewNext(); // says that the review is done
        } else {
            BitBtn2->setEnabled(true);
            StatusBar1->showMessage(
                QStringLiteral("Press Next for the next due problem (%1 left).").arg(ReviewLeft()));
        }
    }
}

void TForm1::ChessBrd1LegalMove(Square oldSq, Square newSq) {
    HideBanner();
    flow_.BoardLegalMove(oldSq, newSq);
    // A wrong try stays in sight for a moment, then goes back (never inside the move).
    if (flow_.RetryPending()) retryTimer_->start();
}

void TForm1::ChessBrd1Mate() {
    flow_.BoardMate();
}

void TForm1::ChessBrd1Draw() {
    flow_.BoardDraw();
}

void TForm1::Timer1Timer() {
    Label3D1->SetCaption(Crono1.FormatElapsed().left(8));
}

void TForm1::Button2Click() {
    if (!ClockPaused) {
        clockRunningAtPause_ = Crono1.Running();
        Crono1.Stop();
        Button2->setText(QStringLiteral("Restart clock"));
        ClockPaused = true;
        ChessBrd1->hide();
        // The auxiliary board would show the hidden position.
        Button1->setEnabled(false);
    } else {
        // The clock goes on only if a turn was being timed when the pause began.
        if (clockRunningAtPause_) Crono1.Start();
        clockRunningAtPause_ = false;
        Button2->setText(QStringLiteral("Clock pause"));
        ClockPaused = false;
        ChessBrd1->show();
        Button1->setEnabled(true);
        if (flow_.RetryPending()) retryTimer_->start(); // it waited for the pause to end
    }
}

void TForm1::Button1Click() {
    if (ClockPaused || !form3_) return;
    form3_->AuxPosition = ChessBrd1->Position();
    KeepAboveStayOnTopWindows(form3_);
    form3_->exec();
}

// ---------------------------------------------------------------- diagram window

TForm1::DiagramPlacement TForm1::DiagramPlace(const QRect& mainFrame, const QSize& diagramFrame,
                                              const QRect& available, const QPoint& designed) {
    const int lowest = available.bottom() + 1 - diagramFrame.height();
    const int top = std::max(available.top(), std::min(mainFrame.top(), lowest));
    const QPoint main = mainFrame.topLeft();
    if (available.right() - mainFrame.right() >= diagramFrame.width())
        return {main, {mainFrame.right() + 1, top}};
    if (mainFrame.left() - available.left() >= diagramFrame.width())
        return {main, {mainFrame.left() - diagramFrame.width(), top}};
    if (available.width() >= mainFrame.width() + diagramFrame.width()) {
        const int left = available.right() + 1 - diagramFrame.width() - mainFrame.width();
        return {{left, main.y()}, {left + mainFrame.width(), top}};
    }
    return {main, designed};
}

void TForm1::PlaceDiagramWindow() {
    if (!form2_ || form2_->isVisible()) return; // a shown window stays where it is
    const QScreen* s = screen();
    if (!s) return;
    // The diagram window gets a frame like the main window's.
    const QSize decoration = frameGeometry().size() - size();
    const DiagramPlacement place = DiagramPlace(frameGeometry(), form2_->size() + decoration,
                                                s->availableGeometry(), TForm2::DesignedPlace);
    if (place.Main != pos() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        move(place.Main);
    form2_->move(place.Diagram);
}

} // namespace qv
