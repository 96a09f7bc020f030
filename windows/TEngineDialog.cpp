// The engine chooser: two choices, a program box with the engines found, a file dialog.
#include "windows/TEngineDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace qv {

QStringList TEngineDialog::InstalledEngines() {
    QStringList found;
    auto add = [&found](const QString& path) {
        const QFileInfo info(path);
        if (!path.isEmpty() && info.isFile() && info.isExecutable() &&
            !found.contains(info.absoluteFilePath()))
            found << info.absoluteFilePath();
    };
    add(QStringLiteral("/usr/games/stockfish"));
    add(QStandardPaths::findExecutable(QStringLiteral("stockfish")));
    return found;
}

TEngineDialog::TEngineDialog(const QString& program, QWidget* parent)
    : QDialog(parent), program_(program) {
    setObjectName(QStringLiteral("EngineDialog"));
    setWindowTitle(tr("Engine"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("The engine that analyses positions on the auxiliary board:"));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    RadioButton1 = new QRadioButton(tr("&Built-in engine"));
    RadioButton2 = new QRadioButton(tr("&UCI engine:"));
    layout->addWidget(RadioButton1);
    layout->addWidget(RadioButton2);

    auto* row = new QHBoxLayout;
    ComboBox1 = new QComboBox;
    ComboBox1->setEditable(true);
    ComboBox1->addItems(InstalledEngines());
    ComboBox1->setMinimumContentsLength(28);
    ComboBox1->lineEdit()->setPlaceholderText(tr("program name or path"));
    Button1 = new QPushButton(tr("B&rowse..."));
    row->addSpacing(20);
    row->addWidget(ComboBox1, 1);
    row->addWidget(Button1);
    layout->addLayout(row);

    Label1 = new QLabel;
    Label1->setWordWrap(true);
    Label1->setStyleSheet(QStringLiteral("color: #a00000"));
    layout->addWidget(Label1);

    ButtonBox1 = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(ButtonBox1);
    connect(ButtonBox1, &QDialogButtonBox::accepted, this, &TEngineDialog::accept);
    connect(ButtonBox1, &QDialogButtonBox::rejected, this, &TEngineDialog::reject);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(RadioButton1, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });

    if (program.isEmpty()) {
        RadioButton1->setChecked(true);
    } else {
        RadioButton2->setChecked(true);
        ComboBox1->setCurrentText(program);
    }
    UpdateEnabled();

    BrowseForFile = [](QWidget* owner) {
        return QFileDialog::getOpenFileName(owner, tr("UCI engine"), QStringLiteral("/usr/games"));
    };
}

void TEngineDialog::UpdateEnabled() {
    const bool uci = RadioButton2->isChecked();
    ComboBox1->setEnabled(uci);
    Button1->setEnabled(uci);
    Label1->clear();
}

void TEngineDialog::Button1Click() {
    const QString file = BrowseForFile ? BrowseForFile(this) : QString();
    if (file.isEmpty()) return;
    ComboBox1->setCurrentText(file);
    RadioButton2->setChecked(true);
}

void TEngineDialog::accept() {
    if (RadioButton1->isChecked()) {
        program_.clear();
        QDialog::accept();
        return;
    }
    const QString text = ComboBox1->currentText().trimmed();
    // A bare name is looked up on the search path; anything with a slash is a file.
    const QString path =
        text.contains(QLatin1Char('/')) ? text : QStandardPaths::findExecutable(text);
    const QFileInfo info(path);
    if (text.isEmpty()) {
        Label1->setText(tr("Name the engine's program, or choose the built-in engine."));
    } else if (path.isEmpty() || !info.exists()) {
        Label1->setText(tr("\u201c%1\u201d was not found.").arg(text));
    } else if (!info.isFile() || !info.isExecutable()) {
        Label1->setText(tr("\u201c%1\u201d is not a program.").arg(text));
    } else {
        program_ = info.absoluteFilePath();
        QDialog::accept();
        return;
    }
}

} // namespace qv
