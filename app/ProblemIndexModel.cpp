// The problem index as a filterable list model.
#include "app/ProblemIndexModel.h"

#include <algorithm>

namespace qv {

ProblemIndexModel::ProblemIndexModel(QObject* parent) : QAbstractListModel(parent) {}

void ProblemIndexModel::SetEntries(const std::vector<std::string>& entries) {
    beginResetModel();
    entries_.clear();
    entries_.reserve(qsizetype(entries.size()));
    for (const std::string& e : entries)
        entries_.append(QString::fromUtf8(e.data(), qsizetype(e.size())));
    marks_.assign(entries.size(), 0);
    filter_.clear();
    filtered_ = false;
    rows_.clear();
    rowOfFile_.clear();
    endResetModel();
}

void ProblemIndexModel::Clear() {
    SetEntries({});
}

void ProblemIndexModel::SetFilter(const QString& text) {
    if (text == filter_) return;
    beginResetModel();
    filter_ = text;
    Refilter();
    endResetModel();
}

void ProblemIndexModel::Refilter() {
    rows_.clear();
    rowOfFile_.clear();
    filtered_ = !filter_.isEmpty();
    if (!filtered_) return;
    // Every word of the filter must appear in the entry, in any order ("rook 12" finds
    // "12 Rook ending"); a filter of spaces alone shows every entry.
    const QStringList words = filter_.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    filtered_ = !words.isEmpty();
    if (!filtered_) return;
    rowOfFile_.assign(entries_.size(), -1);
    for (int i = 0; i < int(entries_.size()); ++i) {
        const QString& entry = entries_.at(i);
        if (!std::all_of(words.begin(), words.end(), [&entry](const QString& word) {
                return entry.contains(word, Qt::CaseInsensitive);
            }))
            continue;
        rowOfFile_[std::size_t(i)] = int(rows_.size());
        rows_.push_back(i);
    }
}

int ProblemIndexModel::FileRow(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    return filtered_ ? rows_[std::size_t(row)] : row;
}

int ProblemIndexModel::RowOf(int fileRow) const {
    if (fileRow < 0 || fileRow >= EntryCount()) return -1;
    return filtered_ ? rowOfFile_[std::size_t(fileRow)] : fileRow;
}

int ProblemIndexModel::Mark(int fileRow) const {
    if (fileRow < 0 || fileRow >= EntryCount()) return 0;
    return marks_[std::size_t(fileRow)];
}

void ProblemIndexModel::SetMark(int fileRow, int mark) {
    if (fileRow < 0 || fileRow >= EntryCount() || marks_[std::size_t(fileRow)] == mark) return;
    marks_[std::size_t(fileRow)] = std::int8_t(mark);
    const int row = RowOf(fileRow);
    if (row >= 0) emit dataChanged(index(row), index(row), {MarkRole, Qt::DecorationRole});
}

void ProblemIndexModel::SetMarks(const std::vector<int>& marks) {
    for (std::size_t i = 0; i < marks_.size(); ++i)
        marks_[i] = std::int8_t(i < marks.size() ? marks[i] : 0);
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1), {MarkRole, Qt::DecorationRole});
}

int ProblemIndexModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return filtered_ ? int(rows_.size()) : int(entries_.size());
}

QVariant ProblemIndexModel::data(const QModelIndex& index, int role) const {
    const int fileRow = index.isValid() ? FileRow(index.row()) : -1;
    if (fileRow < 0) return {};
    const std::size_t mark = std::size_t(marks_[std::size_t(fileRow)]);
    const QString markText =
        mark < std::size_t(markTexts_.size()) ? markTexts_.at(int(mark)) : QString();
    switch (role) {
    case Qt::DisplayRole:
        return entries_.at(fileRow);
    case Qt::ToolTipRole:
        return markText.isEmpty()
                   ? entries_.at(fileRow)
                   : entries_.at(fileRow) + QStringLiteral(" (") + markText + QLatin1Char(')');
    case Qt::AccessibleDescriptionRole:
        return markText.isEmpty() ? QVariant() : QVariant(markText);
    case Qt::DecorationRole:
        return mark < markIcons_.size() ? QVariant(markIcons_[mark]) : QVariant();
    case FileRowRole:
        return fileRow;
    case MarkRole:
        return int(marks_[std::size_t(fileRow)]);
    default:
        return {};
    }
}

void ProblemIndexModel::SetMarkLook(const std::vector<QIcon>& icons, const QStringList& texts) {
    markIcons_ = icons;
    markTexts_ = texts;
    if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1));
}

QHash<int, QByteArray> ProblemIndexModel::roleNames() const {
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(FileRowRole, "fileRow");
    names.insert(MarkRole, "mark");
    return names;
}

} // namespace qv
