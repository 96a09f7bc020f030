// The page view of the help window: pages, style sheets and pictures come out of the .chm.
#include "app/help/HelpBrowser.h"

#include "app/help/ChmFile.h"

#include <QDesktopServices>
#include <QStringDecoder>
#include <QTextDocument>

namespace qv {

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("HelpBrowser"));
    // Links are followed here, so that web links can go to the desktop's browser while
    // the help's own links stay inside the file.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::FollowLink);
}

QUrl HelpBrowser::UrlOf(const QString& objectPath) {
    QString path = objectPath;
    QString fragment;
    if (const qsizetype hash = path.indexOf(QLatin1Char('#')); hash >= 0) {
        fragment = path.mid(hash + 1);
        path.truncate(hash);
    }
    if (!path.startsWith(QLatin1Char('/'))) path.prepend(QLatin1Char('/'));
    QUrl url;
    url.setScheme(QLatin1String(Scheme));
    url.setPath(path);
    if (!fragment.isEmpty()) url.setFragment(fragment);
    return url;
}

void HelpBrowser::ShowObject(const QString& objectPath) {
    setSource(UrlOf(objectPath));
}

QString HelpBrowser::CurrentObject() const {
    return source().scheme() == QLatin1String(Scheme) ? source().path() : QString();
}

void HelpBrowser::FollowLink(const QUrl& link) {
    const QUrl target = source().resolved(link);
    const QString scheme = target.scheme();
    if (scheme == QLatin1String(Scheme)) {
        // A link to another place on the page shown only scrolls.
        if (target.path() == source().path() && target.hasFragment())
            scrollToAnchor(target.fragment());
        else
            setSource(target);
    } else if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
               scheme == QLatin1String("mailto")) {
        QDesktopServices::openUrl(target);
    }
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (!m_file) return {};
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != QLatin1String(Scheme)) return {};
    QByteArray data;
    if (!m_file->Read(url.path(), &data)) return {};
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource) {
        // The page's own charset declaration decides; pages without one are UTF-8.
        QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
        if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
        return QString(decoder.decode(data));
    }
    return data;
}

} // namespace qv
