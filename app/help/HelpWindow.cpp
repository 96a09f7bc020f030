// The help window: a contents tree read from the help project's ".hhc" and a page view.
#include "app/help/HelpWindow.h"

#include "app/help/HelpBrowser.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QRegularExpression>
#include <QSplitter>
#include <QStringDecoder>
#include <QToolBar>
#include <QTreeWidget>

#include <vector>

namespace qv {

namespace {

constexpr int TopicRole = Qt::UserRole;

// Text of an HTML attribute value with the few entities a contents file uses.
QString Unescape(QString text) {
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quorvane Help"));
    resize(820, 600);

    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("Contents"));
    m_contents->setHeaderHidden(true);
    m_contents->setRootIsDecorated(true);
    m_browser = new HelpBrowser;
    m_browser->SetFile(&m_file);

    auto* splitter = new QSplitter;
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 600});
    setCentralWidget(splitter);

    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("Navigation"));
    bar->setMovable(false);
    QAction* home = bar->addAction(QStringLiteral("Contents"));
    home->setObjectName(QStringLiteral("HomeAction"));
    m_back = bar->addAction(QStringLiteral("Back"));
    m_back->setObjectName(QStringLiteral("BackAction"));
    m_back->setShortcut(QKeySequence::Back);
    m_forward = bar->addAction(QStringLiteral("Forward"));
    m_forward->setObjectName(QStringLiteral("ForwardAction"));
    m_forward->setShortcut(QKeySequence::Forward);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    connect(home, &QAction::triggered, this, [this] { ShowTopic(); });
    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    // The signal comes before the browser's own source is updated: use the page it names.
    connect(m_browser, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url) { SelectInContents(url.path()); });
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpWindow::ContentsClicked);
    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpWindow::ContentsClicked);
}

bool HelpWindow::OpenHelpFile(const QString& path, QString* error) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (m_file.IsOpen() && m_file.Path() == absolute && QFileInfo::exists(absolute)) return true;
    ChmFile probe;
    if (!probe.Open(absolute, error)) return false;
    probe.Close();
    m_browser->clear();
    m_browser->clearHistory();
    if (!m_file.Open(absolute, error)) return false;
    setWindowTitle(m_file.Title().isEmpty() ? QStringLiteral("Quorvane Help") : m_file.Title());
    LoadContents();
    return true;
}

bool HelpWindow::ShowTopic(const QString& objectPath) {
    if (!m_file.IsOpen()) return false;
    QString topic = objectPath.isEmpty() ? m_file.DefaultTopic() : objectPath;
    if (topic.isEmpty()) return false;
    const QString page = topic.section(QLatin1Char('#'), 0, 0);
    if (!m_file.Contains(page)) return false;
    // Asked for the page already shown (a help jump asks twice): keep its place and history.
    if (topic != CurrentTopic() || m_browser->document()->isEmpty()) m_browser->ShowObject(topic);
    show();
    raise();
    activateWindow();
    return true;
}

QString HelpWindow::CurrentTopic() const {
    return m_browser->CurrentObject();
}

void HelpWindow::LoadContents() {
    m_contents->clear();
    QByteArray data;
    if (m_file.ContentsFile().isEmpty() || !m_file.Read(m_file.ContentsFile(), &data)) {
        m_contents->hide();
        return;
    }
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    const QString text = decoder.isValid() ? decoder.decode(data) : QString::fromLatin1(data);

    // The sitemap: nested <UL> lists whose <OBJECT type="text/sitemap"> entries carry the
    // parameters Name and Local.
    static const QRegularExpression token(
        QStringLiteral("<ul\\b[^>]*>|</ul\\s*>|<object\\b([^>]*)>(.*?)</object\\s*>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression param(
        QStringLiteral("<param\\s+name\\s*=\\s*\"([^\"]*)\"\\s+value\\s*=\\s*\"([^\"]*)\""),
        QRegularExpression::CaseInsensitiveOption);

    std::vector<QTreeWidgetItem*> parents{nullptr};
    QTreeWidgetItem* last = nullptr;
    auto it = token.globalMatch(text);
    while (it.hasNext()) {
        const auto match = it.next();
        const QString tag = match.captured(0).left(4).toLower();
        if (tag.startsWith(QLatin1String("<ul"))) {
            parents.push_back(last);
        } else if (tag.startsWith(QLatin1String("</ul"))) {
            if (parents.size() > 1) parents.pop_back();
        } else if (match.captured(1).contains(QLatin1String("text/sitemap"), Qt::CaseInsensitive)) {
            QString name;
            QString local;
            auto params = param.globalMatch(match.captured(2));
            while (params.hasNext()) {
                const auto p = params.next();
                if (p.captured(1).compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
                    name = Unescape(p.captured(2));
                else if (p.captured(1).compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0)
                    local = Unescape(p.captured(2));
            }
            if (name.isEmpty()) continue;
            QTreeWidgetItem* parent = parents.back();
            last = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_contents);
            last->setText(0, name);
            if (!local.isEmpty())
                last->setData(0, TopicRole,
                              local.startsWith(QLatin1Char('/')) ? local
                                                                 : QLatin1Char('/') + local);
        }
    }
    m_contents->expandAll();
    m_contents->setVisible(m_contents->topLevelItemCount() > 0);
}

void HelpWindow::ContentsClicked(QTreeWidgetItem* item) {
    if (!item) return;
    const QString topic = item->data(0, TopicRole).toString();
    if (!topic.isEmpty()) ShowTopic(topic);
}

void HelpWindow::SelectInContents(const QString& current) {
    if (current.isEmpty()) {
        m_contents->clearSelection();
        return;
    }
    QTreeWidgetItemIterator it(m_contents);
    while (*it) {
        if ((*it)->data(0, TopicRole).toString().compare(current, Qt::CaseInsensitive) == 0) {
            m_contents->setCurrentItem(*it);
            return;
        }
        ++it;
    }
}

} // namespace qv
