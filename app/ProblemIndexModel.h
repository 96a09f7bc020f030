// The entries of the problem index as a list model: every entry of the open file in file
// order, a filter that narrows what the list shows, and a mark per entry.
#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Rows of the model are the entries the filter lets through, in file order (never
// sorted); an entry's "file row" is its place among all entries of the file. Two equal
// entries stay two rows. Besides the entry's text (Qt::DisplayRole) every row answers
// FileRowRole and MarkRole: a small number per entry that the window may set (for example
// solved, failed or not tried; 0 until set) and show as it likes.
class ProblemIndexModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        FileRowRole = Qt::UserRole + 1, // int: the entry's place in the file's index
        MarkRole,                       // int: the entry's mark, 0 when none is set
    };

    explicit ProblemIndexModel(QObject* parent = nullptr);

    // Replaces every entry (and clears the marks and the filter).
    void SetEntries(const std::vector<std::string>& entries);
    void Clear();

    // Shows only the entries whose text holds every word of `text` (words are separated
    // by spaces; case is ignored); a text without words shows every entry.
    void SetFilter(const QString& text);
    const QString& Filter() const { return filter_; }

    // All entries of the file, whatever the filter shows.
    int EntryCount() const { return int(entries_.size()); }
    const QString& Entry(int fileRow) const { return entries_.at(fileRow); }
    const QStringList& Entries() const { return entries_; }

    // Row (as shown) <-> file row; -1 for a row out of range or an entry filtered out.
    int FileRow(int row) const;
    int RowOf(int fileRow) const;

    // Marks by file row; a change is announced as a dataChanged of MarkRole.
    int Mark(int fileRow) const;
    void SetMark(int fileRow, int mark);
    void SetMarks(const std::vector<int>& marks); // one per entry, in file order
    // How a mark shows: mark m gets icons[m] (Qt::DecorationRole) and texts[m], which
    // follows the entry in its tooltip and is its accessible description. Marks
    // without an icon or a text show nothing.
    void SetMarkLook(const std::vector<QIcon>& icons, const QStringList& texts);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    void Refilter();

    QStringList entries_;
    std::vector<std::int8_t> marks_;
    std::vector<QIcon> markIcons_;
    QStringList markTexts_;
    QString filter_;
    bool filtered_ = false;      // rows_ is in use
    std::vector<int> rows_;      // file row of each shown row, while filtered
    std::vector<int> rowOfFile_; // shown row of each file row (-1: hidden), while filtered
};

} // namespace qv
