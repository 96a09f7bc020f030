// Tests of the help: the routing table, the compiled help file read with chmlib, the links
// between its pages, and the help window opening the default topic and following links.
#include "app/help/ChmFile.h"
#include "app/help/HelpBrowser.h"
#include "app/help/HelpRouter.h"
#include "app/help/HelpWindow.h"

#include <QAction>
#include <QFileInfo>
#include <QPixmap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>

using namespace qv;

namespace {

// The folder of the compiled help file, with a trailing separator, as ProgramDir has it.
QString HelpFolder() {
    return QFileInfo(QStringLiteral(QV_HELP_FILE)).absolutePath() + '/';
}

// Clicks the first place where `text` stands in the browser's page.
bool ClickText(HelpBrowser* browser, const QString& text) {
    QTextCursor found = browser->document()->find(text);
    if (found.isNull()) return false;
    QTextCursor inside(browser->document());
    inside.setPosition(found.selectionStart() + 1);
    const QPoint at = browser->cursorRect(inside).center() + QPoint(2, 0);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
    return true;
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void routingTable_data();
    void routingTable();
    void onlineHelpSetsTheFileAndJumps();

    void compiledHelpFile();
    void openFailures();
    void everyLinkOfTheHelpLeadsToAPage();

    void windowOpensTheDefaultTopicAndFollowsLinks();
    void quitClosesTheWindow();
    void missingHelpFileIsReported();
    void fileWithoutDefaultTopicAndSubFolders();
};

void HelpTest::routingTable_data() {
    QTest::addColumn<unsigned>("request");
    QTest::addColumn<quintptr>("data");
    QTest::addColumn<unsigned>("command");
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<quintptr>("callData");
    QTest::newRow("context") << 1u << quintptr(42) << 15u << true << quintptr(42);
    QTest::newRow("context pop-up") << 8u << quintptr(7) << 15u << true << quintptr(7);
    QTest::newRow("key") << 257u << quintptr(1234) << 2u << true << quintptr(1234);
    QTest::newRow("quit") << 2u << quintptr(5) << 18u << false << quintptr(0);
    QTest::newRow("contents") << 3u << quintptr(9) << 0u << true << quintptr(0);
    QTest::newRow("command") << 258u << quintptr(9) << 0u << true << quintptr(0);
    QTest::newRow("other") << 261u << quintptr(9) << 0u << true << quintptr(0);
}

void HelpTest::routingTable() {
    QFETCH(unsigned, request);
    QFETCH(quintptr, data);
    QFETCH(unsigned, command);
    QFETCH(bool, withFile);
    QFETCH(quintptr, callData);
    const QString file = QStringLiteral("/prog/qrvne.chm");
    const HtmlHelpCall expected{command, withFile ? file : QString(), callData};
    QVERIFY(TUseHTMLHelp::Route(request, data, file) == expected);

    // Every request reaches the service, as routed.
    QList<HtmlHelpCall> calls;
    TUseHTMLHelp router([&calls](const HtmlHelpCall& call, QString*) {
        calls << call;
        return true;
    });
    router.SetHelpFile(file);
    QVERIFY(router.Help(request, data));
    QCOMPARE(calls.size(), 1);
    QVERIFY(calls.front() == expected);
}

void HelpTest::onlineHelpSetsTheFileAndJumps() {
    QList<HtmlHelpCall> calls;
    TUseHTMLHelp router([&calls](const HtmlHelpCall& call, QString*) {
        calls << call;
        return true;
    });
    QCOMPARE(router.HelpFile(), QStringLiteral("qrvne.chm")); // a bare name at start-up
    QVERIFY(router.OnlineHelp(QStringLiteral("/opt/quorvane/")));
    QCOMPARE(router.HelpFile(), QStringLiteral("/opt/quorvane/qrvne.chm"));
    // The jump: a contents request, then a command request; both show the default topic.
    QCOMPARE(calls.size(), 2);
    for (const HtmlHelpCall& call : calls) {
        QCOMPARE(call.Command, HtmlHelpCommand::DisplayTopic);
        QCOMPARE(call.File, QStringLiteral("/opt/quorvane/qrvne.chm"));
        QCOMPARE(call.Data, quintptr(0));
    }
    QVERIFY(router.Window() == nullptr); // a service of the caller's: no window of its own

    // A failing service stops the jump and passes its message on.
    int count = 0;
    TUseHTMLHelp failing([&count](const HtmlHelpCall&, QString* error) {
        ++count;
        *error = QStringLiteral("nope");
        return false;
    });
    QString error;
    QVERIFY(!failing.OnlineHelp(QStringLiteral("/x/"), &error));
    QCOMPARE(error, QStringLiteral("nope"));
    QCOMPARE(count, 1);
}

void HelpTest::compiledHelpFile() {
    ChmFile file;
    QString error;
    QVERIFY2(file.Open(QStringLiteral(QV_HELP_FILE), &error), qPrintable(error));
    QCOMPARE(file.DefaultTopic(), QStringLiteral("/index.html"));
    QCOMPARE(file.Title(), QStringLiteral("Quorvane Help"));
    QCOMPARE(file.ContentsFile(), QStringLiteral("/toc.hhc"));
    const QStringList objects = file.Objects();
    for (const char* page : {"/index.html", "/working.html", "/options.html", "/saving.html",
                             "/fileformat.html", "/commands.html", "/diagram.html", "/example.html",
                             "/importing.html", "/progress.html", "/style.css"})
        QVERIFY2(objects.contains(QString::fromLatin1(page)), page);
    QByteArray data;
    QVERIFY(file.Read(QStringLiteral("commands.html"), &data)); // leading "/" optional
    QVERIFY(data.contains(".arrow"));
    QVERIFY(!file.Read(QStringLiteral("/no-such-page.html"), &data));
    QVERIFY(!file.Contains(QStringLiteral("/no-such-page.html")));
}

void HelpTest::openFailures() {
    ChmFile file;
    QString error;
    QVERIFY(!file.Open(QStringLiteral("/no/such/folder/qrvne.chm"), &error));
    QCOMPARE(error, QStringLiteral("File not found: /no/such/folder/qrvne.chm"));
    QVERIFY(!file.IsOpen());

    QTemporaryDir dir;
    const QString junk = dir.filePath(QStringLiteral("qrvne.chm"));
    QFile out(junk);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(QByteArray(300, 'x'));
    out.close();
    QVERIFY(!file.Open(junk, &error));
    QVERIFY2(error.contains(junk), qPrintable(error));
    QVERIFY(!file.IsOpen());
}

void HelpTest::everyLinkOfTheHelpLeadsToAPage() {
    ChmFile file;
    QVERIFY(file.Open(QStringLiteral(QV_HELP_FILE)));
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    int links = 0;
    for (const QString& object : file.Objects()) {
        if (!object.endsWith(QLatin1String(".html"))) continue;
        QByteArray data;
        QVERIFY(file.Read(object, &data));
        const QString page = QString::fromUtf8(data);
        auto it = href.globalMatch(page);
        while (it.hasNext()) {
            const QUrl target = HelpBrowser::UrlOf(object).resolved(QUrl(it.next().captured(1)));
            const QString where = object + " -> " + target.toString();
            QCOMPARE(target.scheme(), QStringLiteral("chm"));
            QVERIFY2(file.Contains(target.path()), qPrintable(where));
            if (target.hasFragment()) {
                QByteArray targetPage;
                QVERIFY(file.Read(target.path(), &targetPage));
                QVERIFY2(targetPage.contains("name=\"" + target.fragment().toUtf8() + "\""),
                         qPrintable(where));
            }
            ++links;
        }
    }
    QVERIFY(links > 20);
}

void HelpTest::windowOpensTheDefaultTopicAndFollowsLinks() {
    TUseHTMLHelp router;
    QString error;
    QVERIFY2(router.OnlineHelp(HelpFolder(), &error), qPrintable(error));
    HelpWindow* window = router.Window();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->CurrentTopic(), QStringLiteral("/index.html"));
    HelpBrowser* browser = window->Browser();
    QVERIFY(browser->toPlainText().contains("Quorvane Help"));
    QVERIFY(browser->toPlainText().contains("For problem authors"));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(window->Contents()->currentItem());
    QCOMPARE(window->Contents()->currentItem()->text(0), QStringLiteral("Quorvane Help"));

    // A click on a link opens its page.
    QVERIFY(ClickText(browser, QStringLiteral("Working a problem")));
    QTRY_COMPARE(window->CurrentTopic(), QStringLiteral("/working.html"));
    QVERIFY(browser->toPlainText().contains("The clock and its pause"));
    QCOMPARE(window->Contents()->currentItem()->text(0), QStringLiteral("Working a problem"));

    // Back and Forward on the tool bar.
    auto* back = window->findChild<QAction*>(QStringLiteral("BackAction"));
    auto* forward = window->findChild<QAction*>(QStringLiteral("ForwardAction"));
    QVERIFY(back && forward);
    QVERIFY(back->isEnabled());
    back->trigger();
    QCOMPARE(window->CurrentTopic(), QStringLiteral("/index.html"));
    QVERIFY(forward->isEnabled());
    forward->trigger();
    QCOMPARE(window->CurrentTopic(), QStringLiteral("/working.html"));

    // The contents tree from the help project leads to the pages too.
    QTreeWidget* contents = window->Contents();
    const auto items = contents->findItems(QStringLiteral("Script commands"),
                                           Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(items.size(), 1);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(items.front()).center());
    QCOMPARE(window->CurrentTopic(), QStringLiteral("/commands.html"));

    // The style sheet of the pages is found relative to the page.
    QVERIFY(browser->loadResource(QTextDocument::StyleSheetResource, QUrl("style.css"))
                .toString()
                .contains("font-family"));

    // Asking for help again goes back to the default topic.
    QVERIFY(router.Help(HelpRequest::Contents, 0));
    QCOMPARE(window->CurrentTopic(), QStringLiteral("/index.html"));
}

void HelpTest::quitClosesTheWindow() {
    TUseHTMLHelp router;
    QVERIFY(router.OnlineHelp(HelpFolder()));
    QVERIFY(router.Window()->isVisible());
    QVERIFY(router.Help(HelpRequest::Quit, 0));
    QVERIFY(!router.Window()->isVisible());
}

void HelpTest::missingHelpFileIsReported() {
    TUseHTMLHelp router;
    QString error;
    QVERIFY(!router.OnlineHelp(QStringLiteral("/no/such/folder/"), &error));
    QCOMPARE(error, QStringLiteral("File not found: /no/such/folder/qrvne.chm"));
    QVERIFY(!router.Window()->isVisible());

    // After a good file, a bad one leaves the window as it was.
    QVERIFY(router.OnlineHelp(HelpFolder()));
    QVERIFY(!router.OnlineHelp(QStringLiteral("/no/such/folder/"), &error));
    QCOMPARE(router.Window()->CurrentTopic(), QStringLiteral("/index.html"));
}

void HelpTest::fileWithoutDefaultTopicAndSubFolders() {
    HelpWindow window;
    QString error;
    QVERIFY2(window.OpenHelpFile(QStringLiteral(QV_HELP_FIXTURE), &error), qPrintable(error));
    QCOMPARE(window.File().DefaultTopic(), QStringLiteral("/alpha.html")); // first page
    QVERIFY(window.ShowTopic());
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.CurrentTopic(), QStringLiteral("/alpha.html"));
    QVERIFY(window.Contents()->isHidden()); // no contents file

    QVERIFY(ClickText(window.Browser(), QStringLiteral("To the sub page")));
    QTRY_COMPARE(window.CurrentTopic(), QStringLiteral("/sub/page.html"));
    QCOMPARE(window.Browser()->source().fragment(), QStringLiteral("middle"));
    // The picture one folder up is found and decoded.
    const QVariant picture =
        window.Browser()->document()->resource(QTextDocument::ImageResource, QUrl("../pic.png"));
    QImage image;
    if (picture.typeId() == QMetaType::QImage)
        image = picture.value<QImage>();
    else if (picture.typeId() == QMetaType::QPixmap)
        image = picture.value<QPixmap>().toImage();
    else
        image.loadFromData(picture.toByteArray());
    QVERIFY2(!image.isNull(), picture.typeName());
    QCOMPARE(image.size(), QSize(6, 4));

    QVERIFY(ClickText(window.Browser(), QStringLiteral("Back to alpha")));
    QTRY_COMPARE(window.CurrentTopic(), QStringLiteral("/alpha.html"));
}

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
