#include "ui/views/AllTreeView.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>
#include <functional>
#include <map>
#include <ranges>
#include <utility>

#include "document/VorlinDoc.h"
#include "graphics/GraphicLayouts.h"
#include "graphics/LayoutNames.h"
#include "log/DiagLogSource.h"
#include "platform/Format.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "presentation/DocumentNames.h"
#include "presentation/HelpService.h"
#include "presentation/NavigationItems.h"
#include "settings/AppSettings.h"
#include "store/DaoException.h"
#include "store/VorlinDatabase.h"
#include "ui/AppResources.h"
#include "ui/VorlinDialog.h"
#include "ui/views/VorlinFormView.h"

namespace corvane {
namespace {

constexpr const char* kPreferences = "Preferences";
constexpr const char* kWidthKey = "TreeViewWidth";
constexpr int kWidthSaveDelayMs = 300;
// Room between an item's icon and its text, and after the text, for the hit test.
constexpr int kLabelPadding = 8;

const CDiagLogSource& TreeLog() {
    static const CDiagLogSource log("Navigation Tree", "Navigation Tree", 0);
    return log;
}

// Intercom and layout items are the only siblings ever sorted, always among their own kind.
class CTreeItem final : public QTreeWidgetItem {
public:
    bool operator<(const QTreeWidgetItem& other) const override {
        return TreeTextLess(text(0).toStdString(), other.text(0).toStdString());
    }
};

// Rows at least the tree's item height; the text of a label edit goes to the tree, never
// straight into the item.
class CTreeItemDelegate final : public QStyledItemDelegate {
public:
    CTreeItemDelegate(QObject* parent, std::function<void(const QString&)> onLabel)
        : QStyledItemDelegate(parent), onLabel_(std::move(onLabel)) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), CAllTreeView::kItemHeight));
        return size;
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override {
        if (const auto* edit = qobject_cast<const QLineEdit*>(editor)) {
            onLabel_(edit->text());
        }
    }

private:
    std::function<void(const QString&)> onLabel_;
};

}  // namespace

CAllTreeView::CAllTreeView(const ViewContext& context, CChildFrame& frame, QWidget* parent)
    : CVorlinTreeCtrl(parent), context_(context), frame_(frame) {
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    for (const QPixmap& image : context_.resources.ImageList()) {
        icons_.emplace_back(image);
    }
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Labels are edited only through Rename.
    setEditTriggers(QAbstractItemView::NoEditTriggers);

    // The button face behind the items, and the selection shown even without the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    colours.setColor(QPalette::Text, Qt::black);
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);

    auto* delegate =
        new CTreeItemDelegate(this, [this](const QString& text) { pendingLabel_ = text; });
    setItemDelegate(delegate);
    connect(delegate, &QAbstractItemDelegate::closeEditor, this, &CAllTreeView::OnLabelEditClosed);
    connect(this, &QTreeWidget::currentItemChanged, this, &CAllTreeView::OnCurrentItemChanged);

    widthTimer_.setSingleShot(true);
    widthTimer_.setInterval(kWidthSaveDelayMs);
    connect(&widthTimer_, &QTimer::timeout, this, &CAllTreeView::SaveWidth);
    context_.doc.Views().Subscribe(this);
}

CAllTreeView::~CAllTreeView() {
    // The items go after this part of the tree: their going must not switch the frame.
    disconnect(this, nullptr, this, nullptr);
    itemDelegate()->disconnect(this);
    context_.doc.Views().Unsubscribe(this);
    if (widthTimer_.isActive()) {
        SaveWidth();
    }
}

ViewId CAllTreeView::IdOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, kIdRole).toInt() : 0;
}

QTreeWidgetItem* CAllTreeView::AddItem(QTreeWidgetItem* parent, const NavigationItem& item,
                                       int at) {
    auto* added = new CTreeItem;
    added->setText(0, QString::fromStdString(item.text));
    added->setData(0, kIdRole, item.id);
    SetImage(added, item.image);
    const ViewIdParts parts = SplitViewId(item.id);
    if (parts.kind == ViewKind::GraphicalUsage && parts.index != 0) {
        added->setFlags(added->flags() | Qt::ItemIsEditable);
    }
    if (parent == nullptr) {
        addTopLevelItem(added);
    } else {
        parent->insertChild(at < 0 ? parent->childCount() : at, added);
    }
    for (const NavigationItem& child : item.children) {
        AddItem(added, child);
    }
    return added;
}

QTreeWidgetItem* CAllTreeView::AddSortedItem(QTreeWidgetItem* parent, const NavigationItem& item) {
    // The children are in text order; a search by halves keeps thousands of layouts quick.
    const auto children = std::views::iota(0, parent->childCount());
    const auto at = std::ranges::partition_point(children, [&](int i) {
        return !TreeTextLess(item.text, parent->child(i)->text(0).toStdString());
    });
    return AddItem(parent, item, static_cast<int>(at - children.begin()));
}

bool CAllTreeView::IsOnLabel(const QTreeWidgetItem* item, const QPoint& viewportPos) const {
    if (item == nullptr) {
        return false;
    }
    // The icon and the text, not the row's room beyond them.
    QRect label = visualItemRect(item);
    label.setWidth(iconSize().width() + kLabelPadding * 2 +
                   QFontMetrics(item->font(0)).horizontalAdvance(item->text(0)));
    return label.contains(viewportPos);
}

void CAllTreeView::SetImage(QTreeWidgetItem* item, int image) {
    item->setData(0, kImageRole, image);
    item->setIcon(0, image >= 0 && static_cast<size_t>(image) < icons_.size()
                         ? icons_[static_cast<size_t>(image)]
                         : QIcon());
}

void CAllTreeView::OnInitialUpdate(bool openSelected) {
    if (initialised_) {
        return;
    }
    programmatic_ = true;
    root_ = AddItem(nullptr, treeitem::Quillex());
    alarms_ = AddItem(nullptr, treeitem::Alarms(context_.doc.UnseenAlarms()));
    graphical_ = AddItem(nullptr, treeitem::GraphicalUsage());
    // The thousands of intercom and layout items go in below the three out of the tree, which
    // then takes them in one insertion instead of one each.
    const QList<QTreeWidgetItem*> top = invisibleRootItem()->takeChildren();
    const CGraphicLayouts& layouts = context_.layouts;
    for (int i = 1; i < layouts.NameCount(); ++i) {
        if (!layouts.Name(i).empty()) {
            AddSortedItem(graphical_, treeitem::Layout(i, layouts.Name(i)));
        }
    }
    SyncIntercoms();
    for (const NavigationItem& item : treeitem::AllViews()) {
        AddItem(root_, item);
    }
    addTopLevelItems(top);
    root_->setExpanded(true);
    graphical_->setExpanded(true);
    initialised_ = true;
    programmatic_ = !openSelected;
    setCurrentItem(FindItem(root_, MakeViewId(ViewKind::Requests, kViewIdAll, kViewIdAll)));
    programmatic_ = false;
}

QTreeWidgetItem* CAllTreeView::FindItem(QTreeWidgetItem* start, ViewId id) const {
    for (QTreeWidgetItem* item = start; item != nullptr;) {
        if (QTreeWidgetItem* found =
                FindItem(item, ItemDataEquals, id, kDepthFirst | kFirstMatch)) {
            return found;
        }
        QTreeWidgetItem* parent = item->parent();
        item = parent != nullptr ? parent->child(parent->indexOfChild(item) + 1)
                                 : topLevelItem(indexOfTopLevelItem(item) + 1);
    }
    return nullptr;
}

void CAllTreeView::SetBold(QTreeWidgetItem* item, bool bold) {
    QFont font = item->font(0);
    font.setBold(bold);
    item->setFont(0, font);
}

void CAllTreeView::OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (previous != nullptr) {
        SetBold(previous, false);
    }
    if (current == nullptr) {
        return;
    }
    SetBold(current, true);
    if (!programmatic_) {
        SwitchFrameTo(IdOf(current));
    }
}

void CAllTreeView::SwitchFrameTo(ViewId id) {
    const ViewIdParts parts = SplitViewId(id);
    if (parts.kind == ViewKind::None) {
        return;
    }
    const std::unique_ptr<CVorlinFilterData> filter =
        NewViewFilter(parts.kind, parts.index, parts.sub);
    frame_.SetViewKind(parts.kind, filter.get());
}

void CAllTreeView::SelectViewItem(ViewKind kind, const CVorlinFilterData* filter) {
    if (filter == nullptr || root_ == nullptr ||
        !context_.settings.Snapshot().AutoSynchronizeTreeView) {
        return;
    }
    QTreeWidgetItem* item =
        FindItem(root_, MakeViewId(kind, filter->Selector(1), filter->Selector(2)));
    if (item == nullptr) {
        item = FindItem(root_, MakeViewId(kind, filter->Selector(1), kViewIdAll));
    }
    if (item != nullptr) {
        const bool was = std::exchange(programmatic_, true);
        setCurrentItem(item);
        scrollToItem(item);
        programmatic_ = was;
    }
}

void CAllTreeView::OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                            const HintPayload& payload) {
    if (!initialised_ || sender == this) {
        return;
    }
    if (hint & hint::kFilterChanged) {
        // Filters reach only the panes of one frame; another frame's is not this tree's.
        const auto* widget = dynamic_cast<const QWidget*>(sender);
        if (widget == nullptr || CChildFrame::Of(widget) == &frame_) {
            SelectViewItem(frame_.Kind(), dynamic_cast<const CVorlinFilterData*>(payload.object));
        }
    }
    if (hint & (hint::kLayoutAdded | hint::kLayoutDeleted | hint::kLayoutRenamed)) {
        OnLayoutHint(hint, payload.layoutIndex);
        viewport()->update();
        return;
    }
    if (hint & hint::kNewUnseenAlarm) {
        SetImage(alarms_, treeimage::kUnseenAlarms);
    }
    if (hint & hint::kUnseenAlarmCleared) {
        SetImage(alarms_, treeimage::kAlarms);
    }
    if (hint & (hint::kIntercomsAdded | hint::kIntercomsEdited)) {
        SyncIntercoms();
    }
}

QTreeWidgetItem* CAllTreeView::FindLayoutItem(int index) const {
    return FindItem(graphical_->child(0), MakeViewId(ViewKind::GraphicalUsage, index, kViewIdAll));
}

void CAllTreeView::OnLayoutHint(ViewUpdateHint hint, int index) {
    QTreeWidgetItem* item = FindLayoutItem(index);
    const QString name = QString::fromStdString(context_.layouts.Name(index));
    if (hint & hint::kLayoutAdded) {
        if (item == nullptr) {
            if (!name.isEmpty()) {
                AddSortedItem(graphical_, treeitem::Layout(index, name.toStdString()));
            }
            return;
        }
    } else if (hint & hint::kLayoutDeleted) {
        if (item != nullptr) {
            DeleteLayoutItem(item);
        }
        return;
    } else if (item == nullptr || index == 0) {
        return;
    }
    if (item->text(0) != name) {
        item->setText(0, name);
        graphical_->sortChildren(0, Qt::AscendingOrder);
    }
}

void CAllTreeView::DeleteLayoutItem(QTreeWidgetItem* item) {
    if (item == currentItem()) {
        // The layout is gone: the frame shows the default one instead.
        setCurrentItem(graphical_);
    }
    delete item;
}

void CAllTreeView::SyncIntercoms() {
    CVorlinDatabase* db = context_.doc.Database();
    if (db == nullptr || !db->IsOpen()) {
        return;
    }
    std::optional<std::vector<TreeIntercom>> rows;
    try {
        const CDocumentNames names(context_.doc);
        rows = ReadTreeIntercoms(db->Intercoms(),
                                 context_.settings.Snapshot().ShowNamelessIntercoms, names);
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error, reading intercom names\nDescription: %s");
        return;
    }
    if (!rows) {
        return;
    }
    if (intercoms_ == nullptr) {
        intercoms_ = AddItem(root_, treeitem::Intercoms(), 0);
    }
    std::map<ViewId, QTreeWidgetItem*> stale;
    FindItem(
        intercoms_,
        [&stale](const CVorlinTreeCtrl&, QTreeWidgetItem* item, const QVariant&) {
            stale[IdOf(item)] = item;
            return false;
        },
        {}, kSkipStart | kFirstLevel);
    bool renamed = false;
    for (const TreeIntercom& row : *rows) {
        const auto it = stale.find(MakeViewId(ViewKind::TrunkSummary, row.number, kViewIdAll));
        const QString text = QString::fromStdString(row.text);
        if (it == stale.end()) {
            AddSortedItem(intercoms_, treeitem::Intercom(row.number, row.text));
            continue;
        }
        if (it->second->text(0) != text) {
            it->second->setText(0, text);
            renamed = true;
        }
        stale.erase(it);
    }
    // An intercom leaving the tree does not take the frame away from what it shows; the
    // selection moves up to "Intercoms".
    const bool was = std::exchange(programmatic_, true);
    for (const auto& [id, item] : stale) {
        for (const QTreeWidgetItem* at = currentItem(); at != nullptr; at = at->parent()) {
            if (at == item) {
                setCurrentItem(intercoms_);
                break;
            }
        }
        delete item;
    }
    programmatic_ = was;
    if (renamed) {
        intercoms_->sortChildren(0, Qt::AscendingOrder);
    }
}

int CAllTreeView::SelectedLayoutIndex() const {
    const ViewIdParts parts = SplitViewId(IdOf(currentItem()));
    return parts.kind == ViewKind::GraphicalUsage ? parts.index : -1;
}

bool CAllTreeView::IsSavedLayoutSelected() const {
    const int index = SelectedLayoutIndex();
    return index >= 1 && index < context_.layouts.NameCount();
}

void CAllTreeView::AddSavedView() {
    if (!context_.settings.Snapshot().AllowFileOperations || graphical_ == nullptr) {
        return;
    }
    const std::optional<int> index = AddSavedLayout(context_.layouts);
    if (!index) {
        TreeLog().Printf(1, context_.layouts.HasRoomForLayout()
                                ? "No new layout: every name from view1 to view999 is taken"
                                : "No new layout: there are as many layouts as can be listed");
        return;
    }
    QTreeWidgetItem* item =
        AddSortedItem(graphical_, treeitem::Layout(*index, context_.layouts.Name(*index)));
    graphical_->setExpanded(true);
    setCurrentItem(item);
    scrollToItem(item);
    context_.doc.UpdateAllViews(this, hint::kLayoutAdded, {nullptr, *index});
}

void CAllTreeView::DeleteSavedView() {
    const AppSettings settings = context_.settings.Snapshot();
    if (!settings.AllowFileOperations || !IsSavedLayoutSelected()) {
        return;
    }
    QTreeWidgetItem* item = currentItem();
    const int index = SelectedLayoutIndex();
    const std::string name = item->text(0).toStdString();
    if (settings.ConfirmFileDeletes &&
        Ui().MessageBox(StrFormat(LoadString(ids::kConfirmDeleteLayout).c_str(), name.c_str()),
                        LoadString(ids::kAppCaption),
                        mb::kYesNo | mb::kIconExclamation) != answer::kYes) {
        return;
    }
    std::string error;
    if (!DeleteSavedLayout(context_.layouts, index, error)) {
        TreeLog().Printf(0, "Layout %s not deleted: %s", name.c_str(), error.c_str());
        return;
    }
    // The views of the layout go before it does.
    DeleteLayoutItem(item);
    context_.layouts.DeleteGraphicLayout(index);
    context_.doc.UpdateAllViews(this, hint::kLayoutDeleted, {nullptr, index});
}

void CAllTreeView::StartRename() {
    if (!context_.settings.Snapshot().AllowEditOperations || !IsSavedLayoutSelected()) {
        return;
    }
    QTreeWidgetItem* item = currentItem();
    SetBold(item, false);
    pendingLabel_.clear();
    editedId_ = IdOf(item);
    editItem(item);
}

void CAllTreeView::OnLabelEditClosed() {
    const QString typed = std::exchange(pendingLabel_, QString());
    const ViewId id = editedId_;
    // After the editor has gone: the rename may sort the items under it.
    QMetaObject::invokeMethod(
        this, [this, id, typed] { RenameSavedView(FindItem(root_, id), typed); },
        Qt::QueuedConnection);
}

void CAllTreeView::RenameSavedView(QTreeWidgetItem* item, const QString& typed) {
    if (item == nullptr) {
        return;
    }
    SetBold(item, item == currentItem());
    const ViewIdParts parts = SplitViewId(IdOf(item));
    if (parts.kind != ViewKind::GraphicalUsage || TrimLayoutName(typed.toStdString()).empty()) {
        return;
    }
    const std::string old = context_.layouts.Name(parts.index);
    const LayoutRenameResult result =
        RenameSavedLayout(context_.layouts, parts.index, typed.toStdString());
    switch (result.outcome) {
        case LayoutRename::Renamed:
            item->setText(0, QString::fromStdString(context_.layouts.Name(parts.index)));
            graphical_->sortChildren(0, Qt::AscendingOrder);
            scrollToItem(item);
            context_.doc.UpdateAllViews(this, hint::kLayoutRenamed, {nullptr, parts.index});
            break;
        case LayoutRename::Refused:
            TreeLog().Printf(1, "Layout %s not renamed: \"%s\" cannot name a layout", old.c_str(),
                             typed.toUtf8().constData());
            break;
        case LayoutRename::Failed:
            TreeLog().Printf(0, "Layout %s not renamed: %s", old.c_str(), result.error.c_str());
            break;
        case LayoutRename::Unchanged:
            break;
    }
}

bool CAllTreeView::OnCommand(int id) {
    switch (id) {
        case cmd::kNewLayout:
            AddSavedView();
            return true;
        case cmd::kDeleteLayout:
            DeleteSavedView();
            return true;
        case cmd::kRenameLayout:
            StartRename();
            return true;
        default:
            return false;
    }
}

std::optional<CommandUi> CAllTreeView::OnUpdateCommand(int id) const {
    const AppSettings settings = context_.settings.Snapshot();
    switch (id) {
        case cmd::kNewLayout:
            return CommandUi{settings.AllowFileOperations, false};
        case cmd::kDeleteLayout:
            return CommandUi{settings.AllowFileOperations && IsSavedLayoutSelected(), false};
        case cmd::kRenameLayout:
            return CommandUi{settings.AllowEditOperations && IsSavedLayoutSelected(), false};
        default:
            return std::nullopt;
    }
}

uint32_t CAllTreeView::HelpHitAt(const QPoint& viewportPos) const {
    const QTreeWidgetItem* item = itemAt(viewportPos);
    return IsOnLabel(item, viewportPos) ? TreeItemHelpId(IdOf(item)) : kTreeHelpContext;
}

void CAllTreeView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* item = itemAt(pos);
    if (event->button() == Qt::RightButton) {
        // A new frame shows the item's view; this frame and its selection stay as they are.
        if (IsOnLabel(item, pos) && context_.openFilteredView) {
            const ViewIdParts parts = SplitViewId(IdOf(item));
            context_.openFilteredView(parts.kind, parts.index, parts.sub);
        }
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && item != nullptr && item == currentItem() &&
        visualItemRect(item).contains(pos)) {
        // The selected item opens its list view again once the frame shows something else.
        const ViewId id = IdOf(item);
        CVorlinFormView* form = frame_.FormView();
        if (IsListViewKind(SplitViewId(id).kind) &&
            !ShowsViewId(frame_.Kind(), form != nullptr ? form->GetFilterData() : nullptr, id)) {
            SwitchFrameTo(id);
        }
        event->accept();
        return;
    }
    CVorlinTreeCtrl::mousePressEvent(event);
}

void CAllTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* item = itemAt(pos);
    if (event->button() == Qt::LeftButton && item != nullptr &&
        visualItemRect(item).contains(pos)) {
        // The press before went to the selection rule, not to the control.
        item->setExpanded(!item->isExpanded());
    }
    // A second right click is not a second new frame.
    event->accept();
}

void CAllTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (event->modifiers() & Qt::ShiftModifier) {
            const QRect rect = visualItemRect(currentItem());
            CVorlinDialog::RequestHelp(HelpHitAt(rect.topLeft() + QPoint(kLabelPadding, 1)),
                                       help::kContextPopup);
        } else {
            CVorlinDialog::RequestHelp(kTreeHelpContext, help::kContext);
        }
        return;
    }
    if (SelectedLayoutIndex() >= 0) {
        switch (event->key()) {
            case Qt::Key_Insert:
                AddSavedView();
                return;
            case Qt::Key_Delete:
                DeleteSavedView();
                return;
            case Qt::Key_F2:
                StartRename();
                return;
            default:
                break;
        }
    }
    CVorlinTreeCtrl::keyPressEvent(event);
}

void CAllTreeView::resizeEvent(QResizeEvent* event) {
    CVorlinTreeCtrl::resizeEvent(event);
    if (isVisible() && width() > 0) {
        widthTimer_.start();
    }
}

void CAllTreeView::SaveWidth() {
    widthTimer_.stop();
    if (width() > 0 && context_.profile.GetProfileInt(kPreferences, kWidthKey, -1) != width()) {
        context_.profile.WriteProfileInt(kPreferences, kWidthKey, width());
    }
}

bool CAllTreeView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::WhatsThis) {
        const auto* help = static_cast<QHelpEvent*>(event);
        CVorlinDialog::RequestHelp(HelpHitAt(help->pos()), help::kContextPopup);
        return true;
    }
    return CVorlinTreeCtrl::viewportEvent(event);
}

}  // namespace corvane
