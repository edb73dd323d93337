#include "ui/roster_sort_filter.h"

#include <QCollator>

#include "ui/roster_model.h"

namespace ui {

namespace {

// Problems first: archives Load refuses, then portraits that cannot be
// decoded, then those still being read, then the good ones.
int problemRank(RosterModel::TileState state) {
  switch (state) {
    case RosterModel::TileState::Refused:
      return 0;
    case RosterModel::TileState::Undecodable:
      return 1;
    case RosterModel::TileState::Reading:
      return 2;
    case RosterModel::TileState::Good:
      break;
  }
  return 3;
}

int compareNames(const QString& left, const QString& right) {
  // Numbers in names in their numeric order: pl2 before pl10.
  static const QCollator collator = [] {
    QCollator made;
    made.setNumericMode(true);
    made.setCaseSensitivity(Qt::CaseInsensitive);
    return made;
  }();
  return collator.compare(left, right);
}

}  // namespace

RosterSortFilter::RosterSortFilter(QObject* parent) : QSortFilterProxyModel(parent) {
  setDynamicSortFilter(true);
  sort(0);
}

void RosterSortFilter::setFilterText(const QString& text) {
  m_filterText = text.trimmed();
  invalidateFilter();
}

void RosterSortFilter::setOrder(RosterOrder order) {
  m_order = order;
  invalidate();
}

bool RosterSortFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  if (m_filterText.isEmpty()) return true;
  const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
  for (const int role : {RosterModel::IdentifierRole, RosterModel::FileNameRole})
    if (index.data(role).toString().contains(m_filterText, Qt::CaseInsensitive)) return true;
  return false;
}

bool RosterSortFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const auto text = [](const QModelIndex& index, int role) { return index.data(role).toString(); };
  int order = 0;
  switch (m_order) {
    case RosterOrder::FileName:
      break;
    case RosterOrder::Identifier:
      order = compareNames(text(left, RosterModel::IdentifierRole),
                           text(right, RosterModel::IdentifierRole));
      break;
    case RosterOrder::Kind:
      order = compareNames(text(left, RosterModel::KindRole), text(right, RosterModel::KindRole));
      break;
    case RosterOrder::PixelFormat:
      order =
          compareNames(text(left, RosterModel::FormatRole), text(right, RosterModel::FormatRole));
      break;
    case RosterOrder::ProblemsFirst:
      order = problemRank(left.data(RosterModel::StateRole).value<RosterModel::TileState>()) -
              problemRank(right.data(RosterModel::StateRole).value<RosterModel::TileState>());
      break;
  }
  if (order == 0)
    order =
        compareNames(text(left, RosterModel::FileNameRole), text(right, RosterModel::FileNameRole));
  return order < 0;
}

}  // namespace ui
