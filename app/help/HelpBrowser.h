// The page view of the help window: a text browser that reads its pages, style sheets and
// pictures out of a compiled help file.
#pragma once

#include <QTextBrowser>
#include <QUrl>

namespace qv {

class ChmFile;

// Shows the pages of a ChmFile. Pages are addressed as "chm:/page.html"; relative links
// between pages resolve against the page shown, links to the web open in the desktop's
// browser.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    static constexpr const char* Scheme = "chm";

    explicit HelpBrowser(QWidget* parent = nullptr);

    // The file the pages come from (not owned); nullptr shows nothing.
    void SetFile(const ChmFile* file) { m_file = file; }
    // Shows the page at an absolute path inside the file ("/index.html", "/a.html#part").
    void ShowObject(const QString& objectPath);
    // The path inside the file of the page shown, without its fragment ("/index.html").
    QString CurrentObject() const;

    // "chm:/index.html" for "/index.html" (a fragment "#x" is kept).
    static QUrl UrlOf(const QString& objectPath);

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void FollowLink(const QUrl& link);

    const ChmFile* m_file = nullptr;
};

} // namespace qv
