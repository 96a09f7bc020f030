// Layout of the credits window.
#include "windows/TForm4.h"

#include "cmake/QvBuildInfo.h"
#include "resources/ResourcePaths.h"
#include "windows/WindowLook.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace qv {

namespace {

QLabel* MakePicture(QFrame* panel, const QRect& bounds, const QString& path) {
    auto* image = new QLabel(panel);
    image->setGeometry(bounds);
    image->setScaledContents(true);
    image->setPixmap(QPixmap::fromImage(LoadWindowPicture(path)));
    return image;
}

} // namespace

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Form4"));
    setFont(SansSerifFont(11));
    setFixedSize(ClientSizeForOuter(546, 429));

    Panel2 = MakePanel(this, {16, 8, 305, 385});
    Image2 = MakePicture(Panel2, {8, 8, 289, 369}, resources::CreditsTextPicture);
    Panel1 = MakePanel(this, {336, 8, 185, 201});
    Image1 = MakePicture(Panel1, {8, 8, 169, 185}, resources::CreditsPortraitPicture);
    VersionLabel =
        new QLabel(QStringLiteral("Quorvane %1").arg(QLatin1String(build::Version)), this);
    VersionLabel->setGeometry(336, 220, 185, 20);
    VersionLabel->setAlignment(Qt::AlignCenter);

    Button1 = new QPushButton(QStringLiteral("&Close"), this);
    Button1->setGeometry(440, 360, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::Button1Click() {
    accept();
}

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

} // namespace qv
