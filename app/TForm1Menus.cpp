// The main window's menus and the handlers of the Options and File > Save items.
#include "app/Dialogs.h"
#include "app/ErrorBox.h"
#include "app/Saving.h"
#include "app/TForm1.h"
#include "board/ui/TChessBrd.h"
#include "resources/ResourcePaths.h"
#include "windows/TEngineDialog.h"
#include "windows/TForm3.h"
#include "windows/WindowLook.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace qv {

void TForm1::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto add = [this](QMenu* menu, const char* caption, const char* name, auto handler) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                Guarded([this, handler] { (this->*handler)(); }));
        return action;
    };
    Archivo1 = bar->addMenu(QStringLiteral("&File"));
    Archivo1->setObjectName(QStringLiteral("Archivo1"));
    LeerProblemas1 =
        add(Archivo1, "&Read problems", "LeerProblemas1", &TForm1::LeerProblemas1Click);
    RecentFiles1 = Archivo1->addMenu(QStringLiteral("Recent &files"));
    RecentFiles1->setObjectName(QStringLiteral("RecentFiles1"));
    RecentFiles1->setEnabled(false);
    SAveremarks1 = add(Archivo1, "S&Ave remarks", "SAveremarks1", &TForm1::SAveremarks1Click);
    Saveresults1 = add(Archivo1, "&Save results", "Saveresults1", &TForm1::Saveresults1Click);
    Salir1 = add(Archivo1, "&Quit", "Salir1", &TForm1::Salir1Click);

    Opciones1 = bar->addMenu(QStringLiteral("&Options"));
    Opciones1->setObjectName(QStringLiteral("Opciones1"));
    Blancasarribaabajo1 =
        add(Opciones1, "&White UP/Down", "Blancasarribaabajo1", &TForm1::Blancasarribaabajo1Click);
    Lneasentreescaques1 = add(Opciones1, "&Lines between squares", "Lneasentreescaques1",
                              &TForm1::Lneasentreescaques1Click);
    Coordenadas1 = add(Opciones1, "&Coordinates", "Coordenadas1", &TForm1::Coordenadas1Click);
    Colorcasillasblancas1 = add(Opciones1, "W&h&Ite square colour", "Colorcasillasblancas1",
                                &TForm1::Colorcasillasblancas1Click);
    Colorcasillasnegras1 = add(Opciones1, "&Black square colour", "Colorcasillasnegras1",
                               &TForm1::Colorcasillasnegras1Click);
    Engine1 = add(Opciones1, "&Engine...", "Engine1", &TForm1::Engine1Click);
    Opciones1->addSeparator();
    CreateTrainingMenu();

    Ayuda1 = bar->addMenu(QStringLiteral("&Help"));
    Ayuda1->setObjectName(QStringLiteral("Ayuda1"));
    OnlineHelp1 = add(Ayuda1, "O&nLine Help", "OnlineHelp1", &TForm1::OnlineHelp1Click);
    Credits1 = add(Ayuda1, "&About this program", "Credits1", &TForm1::Credits1Click);
    CreateProgressMenus();
}

void TForm1::Engine1Click() {
    if (!form3_) return;
    TEngineDialog dialog(form3_->EngineProgram(), this);
    KeepAboveStayOnTopWindows(&dialog);
    if (dialog.exec() != QDialog::Accepted) return;
    form3_->SetEngineProgram(dialog.Program());
    RememberSettings();
}

// ---------------------------------------------------------------- options

void TForm1::Blancasarribaabajo1Click() {
    ChessBrd1->SetWhiteOnTop(!ChessBrd1->WhiteOnTop());
    preferredWhiteOnTop_ = ChessBrd1->WhiteOnTop();
    RememberSettings();
}

void TForm1::Lneasentreescaques1Click() {
    ChessBrd1->SetBoardLines(!ChessBrd1->BoardLines());
    RememberSettings();
}

void TForm1::Coordenadas1Click() {
    CoordsShown = !CoordsShown;
    ChessBrd1->SetDisplayCoords(CoordsShown ? AllCoords : CoordSet(0));
    RememberSettings();
}

void TForm1::PickSquareColour(bool light) {
    const QColor initial = light ? ChessBrd1->SquareColorLight() : ChessBrd1->SquareColorDark();
    const QColor chosen = Dialogs::Current().GetColor(this, initial);
    if (light)
        ChessBrd1->SetSquareColorLight(chosen);
    else
        ChessBrd1->SetSquareColorDark(chosen);
    RememberSettings();
}

void TForm1::Colorcasillasblancas1Click() {
    PickSquareColour(true);
}

void TForm1::Colorcasillasnegras1Click() {
    PickSquareColour(false);
}

void TForm1::ComboBox1Change() {
    // Typed text counts only when it names one of the items.
    const int index =
        ComboBox1->findText(ComboBox1->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (resources::IsScalablePieceSetRow(index))
        ChessBrd1->SetScalablePieceSet(true); // drawn for the board's squares
    else if (index >= 0 && index < static_cast<int>(PieceSets.size()))
        ChessBrd1->SetCustomPieceSet(PieceSets[index]);
    else
        return;
    RememberSettings();
}

// ---------------------------------------------------------------- saving

void TForm1::Saveresults1Click() {
    const QString name = Dialogs::Current().GetSaveFileName(this, SaveDialogFileName);
    if (name.isEmpty()) return;
    SaveDialogFileName = name;
    WriteResultsFile(name, QString::fromStdString(g_.ProblemTitle), g_.TotalPoints);
}

void TForm1::SAveremarks1Click() {
    FlushMemo();
    const QString name = Dialogs::Current().GetSaveFileName(this, SaveDialogFileName);
    if (name.isEmpty()) return;
    SaveDialogFileName = name;
    WriteRemarksFile(name, MemoVisualLines(*Memo1));
}

} // namespace qv
