#include "field_table_model.h"

namespace quisk {

namespace {
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
}

FieldTableModel::FieldTableModel(FormatDefinition& format, QObject* parent)
    : QAbstractTableModel(parent), format_(format),
      labels_(static_cast<std::size_t>(format.fieldRowCount())) {
    titleAlignments_.fill(kLeft);
    alignments_.fill(kLeft);
}

int FieldTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : format_.fieldRowCount();
}

int FieldTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kCellColumns;
}

QVariant FieldTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(cell(index.row() + 1, index.column() + 1));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignments_[static_cast<std::size_t>(index.column())]);
    return {};
}

QVariant FieldTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < kCellColumns) {
        if (role == Qt::DisplayRole)
            return QString::fromStdString(title(section + 1));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(titleAlignment(section + 1));
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && section >= 0 &&
        section < rowCount())
        return QString::fromStdString(rowLabel(section + 1));
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags FieldTableModel::flags(const QModelIndex& index) const {
    // Cells are typed through the editor's edit line, never edited in place.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

const std::string& FieldTableModel::cell(int row, int column) const {
    return format_.row(row).cell(column);
}

void FieldTableModel::setCell(int row, int column, const std::string& text) {
    std::string& target = format_.row(row).cell(column);
    if (target == text)
        return;
    target = text;
    QModelIndex at = index(row - 1, column - 1);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void FieldTableModel::cellsChanged(int top, int left, int bottom, int right) {
    emit dataChanged(index(top - 1, left - 1), index(bottom - 1, right - 1), {Qt::DisplayRole});
}

const std::string& FieldTableModel::title(int column) const {
    return titles_.at(static_cast<std::size_t>(column - 1));
}

void FieldTableModel::setTitle(int column, const std::string& text) {
    titles_.at(static_cast<std::size_t>(column - 1)) = text;
    emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
}

Qt::Alignment FieldTableModel::titleAlignment(int column) const {
    return titleAlignments_.at(static_cast<std::size_t>(column - 1));
}

void FieldTableModel::setTitleAlignment(int column, Qt::Alignment alignment) {
    titleAlignments_.at(static_cast<std::size_t>(column - 1)) = alignment;
    emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
}

const std::string& FieldTableModel::rowLabel(int row) const {
    return labels_.at(static_cast<std::size_t>(row - 1));
}

void FieldTableModel::setRowLabel(int row, const std::string& text) {
    labels_.at(static_cast<std::size_t>(row - 1)) = text;
    emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
}

void FieldTableModel::renumber() {
    labels_.resize(static_cast<std::size_t>(format_.fieldRowCount()));
    for (std::size_t i = 0; i < labels_.size(); ++i)
        labels_[i] = std::to_string(i + 1);
    if (!labels_.empty())
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

Qt::Alignment FieldTableModel::columnAlignment(int column) const {
    return alignments_.at(static_cast<std::size_t>(column - 1));
}

void FieldTableModel::setColumnAlignment(int column, Qt::Alignment alignment) {
    alignments_.at(static_cast<std::size_t>(column - 1)) = alignment;
    cellsChanged(1, column, rowCount(), column);
}

bool FieldTableModel::insertFieldRow(int n) {
    if (format_.fieldRowCount() >= FormatDefinition::kMaxRowCount || n < 1 ||
        n > format_.fieldRowCount() + 1)
        return false;
    beginInsertRows(QModelIndex(), n - 1, n - 1);
    format_.insertRow(n);
    labels_.insert(labels_.begin() + (n - 1), std::string());
    endInsertRows();
    return true;
}

void FieldTableModel::removeFieldRow(int n) {
    if (n < 1 || n > format_.fieldRowCount() || format_.fieldRowCount() <= 1)
        return;
    beginRemoveRows(QModelIndex(), n - 1, n - 1);
    format_.removeRow(n);
    labels_.erase(labels_.begin() + (n - 1));
    endRemoveRows();
}

bool FieldTableModel::resizeTable(int count) {
    int current = format_.fieldRowCount();
    if (count < 1 || count > FormatDefinition::kMaxRowCount)
        return false;
    if (count > current) {
        beginInsertRows(QModelIndex(), current, count - 1);
        format_.growTo(count);
        labels_.resize(static_cast<std::size_t>(count));
        endInsertRows();
    } else if (count < current) {
        beginRemoveRows(QModelIndex(), count, current - 1);
        while (format_.fieldRowCount() > count)
            format_.removeRow(format_.fieldRowCount());
        labels_.resize(static_cast<std::size_t>(count));
        endRemoveRows();
    }
    return true;
}

void FieldTableModel::reload() {
    beginResetModel();
    labels_.resize(static_cast<std::size_t>(format_.fieldRowCount()));
    endResetModel();
}

} // namespace quisk
