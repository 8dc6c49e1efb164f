#include "ui/views/VorlinListView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <array>

#include "document/VorlinDoc.h"
#include "model/ListRowKeys.h"
#include "presentation/ColumnAutoSize.h"
#include "presentation/FilterData.h"
#include "presentation/HelpService.h"
#include "presentation/ListColumnLayout.h"
#include "presentation/SortData.h"
#include "settings/AppSettings.h"
#include "store/DaoException.h"
#include "ui/VorlinDialog.h"
#include "ui/VorlinHeaderCtrl.h"
#include "ui/WaitCursor.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/ListAccessible.h"
#include "ui/views/VorlinFormView.h"

namespace corvane {
namespace {

constexpr const char* kErrorFormat = "Error\nDescription: %s";
constexpr int kExtraWidth = 20;
// The rows a fit to contents measures: those on screen and a few more.
constexpr int kFitRows = 100;

QAccessibleInterface* ListAccessibleFactory(const QString&, QObject* object) {
    auto* list = qobject_cast<CVorlinListView*>(object);
    return list != nullptr ? new CListAccessible(list) : nullptr;
}

QModelIndex FirstOf(const QItemSelection& selection) {
    return selection.isEmpty() ? QModelIndex() : QModelIndex(selection.first().topLeft());
}

}  // namespace

CVorlinListView::KindState& CVorlinListView::SharedState(ViewKind kind) {
    static std::array<KindState, 9> states;
    return states[static_cast<size_t>(ViewKindNumber(kind))];
}

CVorlinListView::CVorlinListView(const ViewContext& context, ViewKind kind, QWidget* parent)
    : QTableView(parent),
      context_(context),
      names_(context.doc),
      kind_(kind),
      model_(new CListTableModel(names_, this)) {
    [[maybe_unused]] static const bool accessible = [] {
        QAccessible::installFactory(&ListAccessibleFactory);
        return true;
    }();
    setHorizontalHeader(new CVorlinHeaderCtrl(this));
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setResizeContentsPrecision(kFitRows);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header, &QHeaderView::sectionClicked, this, &CVorlinListView::OnSectionClicked);
    // The divider's double click follows the list's own sizing rule.
    disconnect(header, SIGNAL(sectionHandleDoubleClicked(int)), this,
               SLOT(resizeColumnToContents(int)));
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this,
            &CVorlinListView::OnHandleDoubleClicked);
    // Another top row: the rows a screen reader knows are others.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { CListAccessible::Notify(*this, QAccessible::ObjectReorder, {}); });
    // A width the operator chose is the column's own, to be kept.
    connect(header, &QHeaderView::sectionResized, this, [this](int column) {
        if (!sizing_ && column >= 0 && column < static_cast<int>(fittedToHeaderOnly_.size())) {
            fittedToHeaderOnly_[column] = false;
        }
    });

    const AppSettings settings = context_.settings.Snapshot();
    model_->SetShading(settings.AlternateLineShading,
                       context_.colors.Get(DisplayColor::AlternateLineShadingOffsets),
                       palette().color(QPalette::Base));
    context_.doc.Views().Subscribe(this);
}

CVorlinListView::~CVorlinListView() {
    context_.doc.Views().Unsubscribe(this);
    SaveColumnLayout();
}

void CVorlinListView::SetRecordset(CListRecordset* recordset) {
    if (recordset != nullptr && AcceptsRecordset(*recordset)) {
        recordset_ = recordset;
    }
}

uint32_t CVorlinListView::GetHelpId() const {
    return static_cast<uint32_t>(TraitsOf(kind_).helpId);
}

QString CVorlinListView::GetInfoText(int) const {
    return {};
}

void CVorlinListView::OnInitialUpdate() {
    if (initialised_ || recordset_ == nullptr) {
        return;
    }
    const CWaitCursor wait;
    setUpdatesEnabled(false);
    const KindState& shared = SharedState(kind_);
    // The rows are read once: by the opener, or, when the kind's lists are sorted, by the
    // sort's requery, the opener then reading no rows (it only learns the columns).
    const std::string filter = recordset_->m_strFilter;
    if (shared.sortColumn >= 0) {
        recordset_->m_strFilter = "0 = 1";
    }
    ListControlSetup setup;
    const bool opened = OpenListQuery(*recordset_, Query(), viewport()->width(), positions_, setup);
    recordset_->m_strFilter = filter;
    model_->SetRecordset(opened ? recordset_ : nullptr,
                         opened ? setup.columns : std::vector<ListColumnSetup>{});
    initialised_ = true;
    opening_ = true;
    rowsRead_ = {recordset_->m_strSort, recordset_->m_strFilter};
    ascending_ = shared.ascending;
    if (shared.sortColumn >= 0 && opened) {
        rowsRead_ = {};  // read with another filter
        SetSortColumn(shared.sortColumn);
    }
    LoadColumnLayout();
    OnUpdate(nullptr, ListHintRuleOf(*ListKindOf(kind_)).openingHint, {});
    opening_ = false;
    setUpdatesEnabled(true);
}

void CVorlinListView::OnUpdate(IViewHintReceiver*, ViewUpdateHint hint,
                               const HintPayload& payload) {
    BeforeGate(hint);
    const ListHintReaction reaction =
        ReactToHint(*ListKindOf(kind_), hint, recordset_ != nullptr, initialised_);
    try {
        if (reaction.applySort) {
            if (const auto* sort = dynamic_cast<const CVorlinSortData*>(payload.object)) {
                ApplySort(*sort);
            }
        } else if (reaction.applyFilter) {
            if (const auto* filter = dynamic_cast<const CVorlinFilterData*>(payload.object)) {
                ApplyFilter(*filter);
            }
        }
    } catch (const CDaoException& e) {
        ReportDaoException(e, kErrorFormat);
    }
    if (!reaction.repaint) {
        return;
    }
    // While the view opens, the rows already read in this order and filter are current.
    const bool current = opening_ && recordset_->m_strSort == rowsRead_.first &&
                         recordset_->m_strFilter == rowsRead_.second;
    if (reaction.requery && !current) {
        RequeryKeepingSelection();
        rowsRead_ = {recordset_->m_strSort, recordset_->m_strFilter};
    }
    ApplyColumnEffects(hint);
    if (!reaction.requery) {
        model_->RefreshRows();
    }
    viewport()->update();
    ReadTotals();
    emit InfoTextsChanged();
}

void CVorlinListView::UpdateWithForm(IViewHintReceiver* sender, ViewUpdateHint hint,
                                     const HintPayload& payload) {
    OnUpdate(sender, hint, payload);
    if (auto* form = dynamic_cast<CVorlinFormView*>(sender)) {
        form->UpdateFrameTitle();
    }
}

std::string CVorlinListView::SortText(int column, bool ascending) const {
    const auto query = ListQueryKindOf(kind_);
    const int field = positions_.SortColumn(*query, model_->FieldOf(column));
    return ListSortText(*recordset_, std::to_string(field + 1), ascending);
}

void CVorlinListView::ApplySort(const CVorlinSortData& sort) {
    if (recordset_ != nullptr && sort.column >= 0 && sort.column < model_->columnCount()) {
        recordset_->m_strSort = SortText(sort.column, sort.ascending);
    }
}

void CVorlinListView::SetSortColumn(int column) {
    QHeaderView* header = horizontalHeader();
    if (sortColumn_ >= 0) {
        ascending_ = column == sortColumn_ ? !ascending_ : true;
    }
    if (column < 0) {
        sortColumn_ = -1;
        ascending_ = true;
        header->setSortIndicatorShown(false);
        return;
    }
    sortColumn_ = column;
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
    const CVorlinSortData sort(ascending_, sortColumn_);
    UpdateWithForm(this, hint::kSortChanged, {&sort, 0});
}

void CVorlinListView::OnSectionClicked(int column) {
    SetSortColumn(column);
    SharedState(kind_) = {sortColumn_, ascending_};
}

void CVorlinListView::RequeryKeepingSelection() {
    // A list whose query did not open stays empty: its error was reported once at the open.
    if (recordset_ == nullptr || !recordset_->IsOpen()) {
        return;
    }
    const bool keep = KeepsSelectionOnRequery();
    std::set<long long> keys;
    std::optional<long long> focused;
    if (keep) {
        for (const int row : SelectedRows()) {
            if (const auto key = model_->RowKey(row)) {
                keys.insert(*key);
            }
        }
        if (currentIndex().isValid()) {
            focused = model_->RowKey(currentIndex().row());
        }
    }
    const int scroll = verticalScrollBar()->value();
    try {
        recordset_->Requery();
    } catch (const CDaoException& e) {
        ReportDaoException(e, kErrorFormat);
    }
    model_->ResetRows();
    FitColumnsFittedToHeaderOnly();
    verticalScrollBar()->setValue(scroll);
    if (keys.empty() && !focused) {
        return;
    }
    QItemSelection selection;
    QModelIndex focus;
    const int columns = model_->columnCount();
    for (int row = 0; row < model_->rowCount(); ++row) {
        const auto key = model_->RowKey(row);
        if (!key) {
            continue;
        }
        if (keys.erase(*key) > 0) {
            selection.select(model_->index(row, 0), model_->index(row, columns - 1));
        }
        if (focused && *key == *focused) {
            focus = model_->index(row, 0);
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (focus.isValid()) {
        selectionModel()->setCurrentIndex(focus, QItemSelectionModel::NoUpdate);
        scrollTo(focus, QAbstractItemView::EnsureVisible);
    }
}

std::vector<int> CVorlinListView::SelectedRows() const {
    std::vector<int> rows;
    if (selectionModel() == nullptr) {
        return rows;
    }
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int CVorlinListView::FindSelectedRow(int from) const {
    for (const int row : SelectedRows()) {
        if (row >= from) {
            return row;
        }
    }
    return -1;
}

int CVorlinListView::SelectedCount() const {
    return static_cast<int>(SelectedRows().size());
}

std::string CVorlinListView::CellText(int row, int column) const {
    return model_->CellText(row, column);
}

bool CVorlinListView::IsColumnHidden(int column) const {
    return column >= 0 && column < static_cast<int>(hiddenWidths_.size()) &&
           hiddenWidths_[column] >= 0;
}

void CVorlinListView::ShowColumn(int column, bool hide) {
    const int columns = model_->columnCount();
    if (column < 0 || column >= columns || static_cast<int>(hiddenWidths_.size()) != columns) {
        return;
    }
    QHeaderView* header = horizontalHeader();
    const QScopedValueRollback sizing(sizing_, true);
    if (hide && !IsColumnHidden(column)) {
        hiddenWidths_[column] = columnWidth(column);
        header->hideSection(column);
    } else if (!hide && IsColumnHidden(column)) {
        std::vector<bool> hidden(columns);
        std::vector<int> screen(columns);
        for (int c = 0; c < columns; ++c) {
            hidden[c] = IsColumnHidden(c);
            screen[c] = header->logicalIndex(c);
        }
        const std::vector<int> order = OrderWithColumnShown(screen, savedOrder_, hidden, column);
        header->showSection(column);
        setColumnWidth(column, hiddenWidths_[column]);
        hiddenWidths_[column] = -1;
        for (int v = 0; v < columns; ++v) {
            header->moveSection(header->visualIndex(order[v]), v);
        }
    }
}

void CVorlinListView::LoadColumnLayout() {
    const int columns = model_->columnCount();
    const ViewKindTraits& traits = TraitsOf(kind_);
    const ListColumnLayout layout = LoadListColumnLayout(context_.profile, traits.columnWidthsKey,
                                                         traits.columnOrderKey, columns);
    QHeaderView* header = horizontalHeader();
    const QScopedValueRollback sizing(sizing_, true);
    hiddenWidths_.assign(columns, -1);
    fittedToHeaderOnly_.assign(columns, false);
    std::vector<int> unsaved;
    for (int c = 0; c < columns; ++c) {
        header->showSection(c);
        if (layout.widths[c] != ListColumnLayout::kNoWidth) {
            setColumnWidth(c, layout.widths[c]);
        } else {
            unsaved.push_back(c);
            fittedToHeaderOnly_[c] = !RowsShowText(c);
        }
    }
    FitColumns(unsaved);
    savedOrder_ = layout.order;
    for (int v = 0; v < columns; ++v) {
        header->moveSection(header->visualIndex(savedOrder_[v]), v);
    }
}

void CVorlinListView::FitColumns(const std::vector<int>& columns) {
    QHeaderView* header = horizontalHeader();
    const bool arrow = header->isSortIndicatorShown();
    const QScopedValueRollback sizing(sizing_, true);
    header->setSortIndicatorShown(false);
    for (const int c : columns) {
        resizeColumnToContents(c);
        setColumnWidth(c, columnWidth(c) + kExtraWidth);
    }
    header->setSortIndicatorShown(arrow);
}

void CVorlinListView::FitColumnsFittedToHeaderOnly() {
    std::vector<int> columns;
    for (int c = 0; c < static_cast<int>(fittedToHeaderOnly_.size()); ++c) {
        if (fittedToHeaderOnly_[c] && !IsColumnHidden(c) && RowsShowText(c)) {
            columns.push_back(c);
            fittedToHeaderOnly_[c] = false;
        }
    }
    FitColumns(columns);
}

bool CVorlinListView::RowsShowText(int column) const {
    // The rows on screen: a column whose cells stay empty is asked again at each requery,
    // which then reads no row the paint does not read too.
    const int first = std::max(rowAt(0), 0);
    const int bottom = rowAt(viewport()->height() - 1);
    const int end = bottom >= 0 ? bottom + 1 : std::min(model_->rowCount(), first + kFitRows);
    for (int row = first; row < end; ++row) {
        if (!model_->CellText(row, column).empty()) {
            return true;
        }
    }
    return false;
}

void CVorlinListView::SaveColumnLayout() {
    const int columns = model_->columnCount();
    if (columns == 0 || static_cast<int>(hiddenWidths_.size()) != columns) {
        return;
    }
    ListColumnLayout layout;
    std::vector<bool> hidden(columns);
    std::vector<int> shown;
    for (int c = 0; c < columns; ++c) {
        hidden[c] = IsColumnHidden(c);
        layout.widths.push_back(fittedToHeaderOnly_[c] ? ListColumnLayout::kNoWidth
                                : hidden[c]            ? hiddenWidths_[c]
                                                       : columnWidth(c));
    }
    const QHeaderView* header = horizontalHeader();
    for (int v = 0; v < columns; ++v) {
        const int c = header->logicalIndex(v);
        if (!hidden[c]) {
            shown.push_back(c);
        }
    }
    savedOrder_ = layout.order = MergeColumnOrder(savedOrder_, shown, hidden);
    const ViewKindTraits& traits = TraitsOf(kind_);
    SaveListColumnLayout(context_.profile, traits.columnWidthsKey, traits.columnOrderKey, layout);
}

void CVorlinListView::OnHandleDoubleClicked(int column) {
    const Qt::KeyboardModifiers keys = QApplication::keyboardModifiers();
    const QHeaderView* header = horizontalHeader();
    const QString title = model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    ColumnMeasures m;
    m.contents = sizeHintForColumn(column);
    m.contentsAndHeader = std::max(m.contents, header->sectionSizeHint(column));
    m.headerText = header->fontMetrics().horizontalAdvance(title.left(127)) +
                   header->fontMetrics().horizontalAdvance(QStringLiteral("   "));
    m.lastColumn = header->visualIndex(column) == model_->columnCount() - 1;
    m.lastColumnFits = header->length() <= viewport()->width();
    setColumnWidth(column, AutoSizeColumnWidth(m, keys & Qt::ShiftModifier,
                                               keys & Qt::ControlModifier, keys & Qt::AltModifier));
}

QAction* CVorlinListView::AddMenuCommand(QMenu& menu, int id, const QString& text) {
    QAction* action = menu.addAction(text);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { OnMenuCommand(id); });
    return action;
}

void CVorlinListView::SwitchFrame(ViewKind kind, std::unique_ptr<CVorlinFilterData> filter) {
    if (CChildFrame* frame = CChildFrame::Of(this)) {
        frame->SwitchViewKindLater(kind, std::move(filter));
    }
}

int CVorlinListView::RowNumber(int row, size_t positionItem) const {
    const int column = positions_.Position(*ListQueryKindOf(kind_), positionItem);
    return column == CListColumnPositions::kUnknown
               ? INT_MAX
               : ParseListKey(model_->CellText(row, model_->ColumnOfField(column)));
}

bool CVorlinListView::OnCommand(int id) {
    if (id == cmd::kEditSelectAll && hasFocus()) {
        selectAll();
        return true;
    }
    return false;
}

std::optional<CommandUi> CVorlinListView::OnUpdateCommand(int id) const {
    if (id == cmd::kEditSelectAll && hasFocus()) {
        return CommandUi{selectionMode() == QAbstractItemView::ExtendedSelection, false};
    }
    return std::nullopt;
}

std::unique_ptr<QMenu> CVorlinListView::CreateContextMenu() {
    return nullptr;
}

void CVorlinListView::OnContextMenu(const QPoint& globalPos, bool doubleClick) {
    const std::unique_ptr<QMenu> menu = CreateContextMenu();
    if (menu == nullptr) {
        return;
    }
    if (doubleClick) {
        if (QAction* command = menu->defaultAction()) {
            command->trigger();
        }
        return;
    }
    menu->exec(globalPos);
}

void CVorlinListView::contextMenuEvent(QContextMenuEvent* event) {
    OnContextMenu(event->globalPos(), false);
}

void CVorlinListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (indexAt(event->pos()).isValid()) {
        OnContextMenu(QCursor::pos(), true);
    }
}

int CVorlinListView::HelpHitAt(const QPoint& viewportPos) const {
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid()) {
        return static_cast<int>(GetHelpId());
    }
    return static_cast<int>(((GetHelpId() & 0xFFFF) | 0x8000) << 16) + index.column();
}

void CVorlinListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (!QAccessible::isActive()) {
        QTableView::currentChanged(current, previous);
        return;
    }
    QAbstractItemView::currentChanged(current, previous);  // scrolled to it first
    CListAccessible::Notify(*this, QAccessible::Focus, current);
}

void CVorlinListView::selectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    if (!QAccessible::isActive()) {
        QTableView::selectionChanged(selected, deselected);
        return;
    }
    QAbstractItemView::selectionChanged(selected, deselected);
    CListAccessible::Notify(*this, QAccessible::SelectionAdd, FirstOf(selected));
    CListAccessible::Notify(*this, QAccessible::SelectionRemove, FirstOf(deselected));
}

void CVorlinListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (event->modifiers() & Qt::ShiftModifier) {
            const QRect cell = visualRect(currentIndex());
            CVorlinDialog::RequestHelp(static_cast<uint32_t>(HelpHitAt(cell.center())),
                                       help::kContextPopup);
        } else {
            CVorlinDialog::RequestHelp(GetHelpId(), help::kContext);
        }
        return;
    }
    QTableView::keyPressEvent(event);
}

bool CVorlinListView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::WhatsThis) {
        const auto* help = static_cast<QHelpEvent*>(event);
        CVorlinDialog::RequestHelp(static_cast<uint32_t>(HelpHitAt(help->pos())),
                                   help::kContextPopup);
        return true;
    }
    return QTableView::viewportEvent(event);
}

}  // namespace corvane
