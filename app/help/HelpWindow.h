// The help window: shows a compiled help file with its contents beside the pages.
#pragma once

#include "app/help/ChmFile.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace qv {

class HelpBrowser;

// A top-level viewer for "qrvne.chm": the contents tree of the help project on the left, the
// page on the right, and Contents, Back and Forward on the tool bar. Pages link to each other
// as in any help viewer.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Opens a compiled help file (reopened only when the path differs from the open one).
    // Returns false with the reason in *error; the window then keeps what it showed.
    bool OpenHelpFile(const QString& path, QString* error = nullptr);
    // Shows a page of the open file, the default topic when objectPath is empty, and brings
    // the window to the front. Returns false when no file is open or it has no such page.
    bool ShowTopic(const QString& objectPath = QString());

    QString CurrentTopic() const;
    const ChmFile& File() const { return m_file; }
    HelpBrowser* Browser() const { return m_browser; }
    QTreeWidget* Contents() const { return m_contents; }

private:
    void LoadContents();
    void ContentsClicked(QTreeWidgetItem* item);
    void SelectInContents(const QString& topic);

    ChmFile m_file;
    HelpBrowser* m_browser = nullptr;
    QTreeWidget* m_contents = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
};

} // namespace qv
