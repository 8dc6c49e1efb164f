#include "ui/views/ChildFrame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

#include "document/VorlinDoc.h"
#include "graphics/GraphicLayouts.h"
#include "platform/Format.h"
#include "platform/ProfileStore.h"
#include "presentation/BarState.h"
#include "presentation/FilterData.h"
#include "store/VorlinDatabase.h"
#include "ui/AppResources.h"
#include "ui/VorlinStatusBar.h"
#include "ui/views/AllTreeView.h"
#include "ui/views/GraphicalFormView.h"
#include "ui/views/ViewPanes.h"
#include "ui/views/VorlinFormView.h"
#include "ui/views/VorlinListView.h"
#include "ui/views/VorlinScrollView.h"
#include "ui/views/VorlinSplitterWnd.h"
#include "ui/views/VorlinView.h"

namespace corvane {
namespace {

constexpr const char* kPreferences = "Preferences";
constexpr int kInfoPanesPerBar = 5;
constexpr int kFirstInfoPane = 201;

// Cleared when the first child frame is activated; until then the first frame's pane sizes
// become the defaults of new panes.
bool& FirstFrame() {
    static bool first = true;
    return first;
}

// A pane size once known is never 0 x 0, which means "not known yet"; a form may be 0 high.
QSize StoredSize(int width, int height) {
    return QSize(std::max(width, 1), std::max(height, 0));
}

QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->size() : QSize();
}

}  // namespace

std::array<CChildFrame::PaneSizes, 9>& CChildFrame::KindPaneSizes() {
    static std::array<PaneSizes, 9> sizes;
    return sizes;
}

CChildFrame::PaneSizes& CChildFrame::DefaultPaneSizes() {
    static PaneSizes sizes;
    return sizes;
}

CChildFrame::CChildFrame(const ViewContext& context, QWidget* parent)
    : QMdiSubWindow(parent), context_(context) {
    setAttribute(Qt::WA_DeleteOnClose);
    CreateClient();
    // The tree's initial update selects "All Requests", which gives the frame its first kind.
    static_cast<CAllTreeView*>(tree_)->OnInitialUpdate();
}

CChildFrame::CChildFrame(const ViewContext& context, ViewKind kind, const CVorlinFilterData* filter,
                         QWidget* parent)
    : QMdiSubWindow(parent), context_(context) {
    setAttribute(Qt::WA_DeleteOnClose);
    CreateClient();
    static_cast<CAllTreeView*>(tree_)->OnInitialUpdate(false);
    SetViewKind(kind, filter);
}

CChildFrame::~CChildFrame() {
    // The panes go before the recordset they show.
    delete widget();
    recordset_.reset();
}

CChildFrame* CChildFrame::Of(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<CChildFrame*>(const_cast<QWidget*>(w))) {
            return frame;
        }
    }
    return nullptr;
}

void CChildFrame::CreateClient() {
    auto* client = new QWidget;
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    outer_ = new CVorlinSplitterWnd(Qt::Horizontal, client);
    tree_ = new CAllTreeView(context_, *this, outer_);
    outer_->addWidget(tree_);
    inner_ = new CVorlinSplitterWnd(Qt::Vertical, outer_);
    outer_->addWidget(inner_);
    inner_->addWidget(new CVorlinView(inner_));
    inner_->addWidget(new CVorlinView(inner_));
    outer_->setStretchFactor(1, 1);
    inner_->setStretchFactor(1, 1);
    const int treeWidth =
        context_.profile.GetProfileInt(kPreferences, "TreeViewWidth", kDefaultTreeWidth);
    const int formHeight =
        context_.profile.GetProfileInt(kPreferences, "DefaultFormHeight", kDefaultFormHeight);
    outer_->setSizes({treeWidth, 1000});
    inner_->setSizes({formHeight, 1000});
    layout->addWidget(outer_, 1);

    for (int i = 0; i < 2; ++i) {
        auto* bar = new CVorlinStatusBar(cmd::kInfoBar1 + i, client);
        bar->setSizeGripEnabled(false);
        std::vector<int> ids = {0};
        for (int p = 0; p < kInfoPanesPerBar; ++p) {
            ids.push_back(kFirstInfoPane + i * kInfoPanesPerBar + p);
        }
        bar->SetIndicators(ids);
        for (int p = 1; p <= kInfoPanesPerBar; ++p) {
            bar->SetPaneInfoFromText(p, ids[p], CVorlinStatusBar::kNormal,
                                     QStringLiteral("Status Bar Text"));
            bar->SetPaneText(p, QString());
        }
        // The list's kind of help: its form's template id, the low half of its help id.
        bar->SetListHelpKind([this] {
            return list_ != nullptr ? static_cast<int>(list_->GetHelpId() & 0xFFFF) : 0;
        });
        bar->hide();
        layout->addWidget(bar);
        infoBars_[i] = bar;
    }
    setWidget(client);

    if (KindPaneSizes()[0].form.isNull()) {
        // The first frame: the form heights of every kind from the profile.
        for (int k = 0; k < 9; ++k) {
            const ViewKind kind = static_cast<ViewKind>(k);
            const int height = context_.profile.GetProfileInt(
                kPreferences, TraitsOf(kind).formHeightKey,
                kind == ViewKind::GraphicalUsage ? 0 : kDefaultFormHeight);
            KindPaneSizes()[k].form = StoredSize(0, height);
        }
        DefaultPaneSizes().form = StoredSize(0, formHeight);
    }
}

void CChildFrame::StorePaneSizes() {
    const QList<int> heights = inner_->sizes();
    // A frame not shown yet has no sizes of its own to keep.
    if (heights.size() != 2 || !inner_->isVisible()) {
        return;
    }
    const int width = inner_->width();
    PaneSizes& sizes = KindPaneSizes()[static_cast<size_t>(ViewKindNumber(kind_))];
    if (form_ != nullptr) {
        sizes.form = StoredSize(width, heights[0]);
    }
    const bool lower = list_ != nullptr || graphical_ != nullptr;
    if (lower) {
        sizes.list = StoredSize(width, heights[1]);
    }
    if (FirstFrame() && (form_ != nullptr || lower)) {
        DefaultPaneSizes() = {StoredSize(width, heights[0]), StoredSize(width, heights[1])};
    }
}

void CChildFrame::SetViewKind(ViewKind kind, const CVorlinFilterData* filter) {
    StorePaneSizes();
    kind_ = kind;
    PaneSizes& sizes = KindPaneSizes()[static_cast<size_t>(ViewKindNumber(kind))];
    const PaneSizes& defaults = DefaultPaneSizes();
    bool replaced = false;
    const auto replaceForm = [&](CVorlinFormView* form) {
        inner_->ReplaceView(0, form != nullptr ? static_cast<QWidget*>(form) : new CVorlinView,
                            sizes.form, defaults.form);
        form_ = form;
    };
    // The list or the graphical view, or a placeholder.
    const auto replaceLower = [&](QWidget* pane) {
        list_ = nullptr;
        graphical_ = nullptr;
        inner_->ReplaceView(1, pane != nullptr ? pane : new CVorlinView, sizes.list, defaults.list);
        list_ = qobject_cast<CVorlinListView*>(pane);
        graphical_ = qobject_cast<CVorlinScrollView*>(pane);
        if (list_ != nullptr) {
            connect(list_, &CVorlinListView::InfoTextsChanged, this, &CChildFrame::UpdateInfoBars);
        }
    };
    if (IsListViewKind(kind)) {
        if (form_ == nullptr || form_->Kind() != kind) {
            replaceForm(CreateFormView(kind, context_, nullptr));
            replaced = true;
        }
        if (list_ == nullptr || list_->Kind() != kind) {
            replaceLower(CreateListView(kind, context_, nullptr));
            replaced = true;
        }
        if (recordset_ == nullptr || recordsetKind_ != kind) {
            CVorlinDatabase* db = context_.doc.Database();
            recordset_ =
                db != nullptr && db->IsOpen() ? CreateListRecordset(kind, db->Database()) : nullptr;
            recordsetKind_ = kind;
        }
    } else if (kind == ViewKind::GraphicalUsage) {
        replaceForm(new CGraphicalFormView(context_, nullptr));
        replaceLower(new CVorlinScrollView(context_, nullptr));
        recordset_.reset();
        recordsetKind_ = ViewKind::None;
        const int given = filter != nullptr ? filter->Selector(1) : 0;
        const int layoutIndex = given >= 0 && given < context_.layouts.NameCount() ? given : 0;
        graphical_->SetLayoutIndex(layoutIndex);
        setWindowTitle(CVorlinScrollView::FrameTitle(context_.layouts, layoutIndex));
        replaced = true;
    } else {
        replaceForm(nullptr);
        replaceLower(nullptr);
        recordset_.reset();
        recordsetKind_ = ViewKind::None;
        replaced = true;
    }

    setWindowIcon(context_.resources.Icon(TraitsOf(kind).frameIcon));
    ReloadInfoBars();

    if (form_ != nullptr && list_ != nullptr) {
        list_->SetRecordset(recordset_.get());
        form_->SetListView(list_);
        form_->SetTreeView(dynamic_cast<IViewHintReceiver*>(tree_));
        CVorlinFilterData* own = form_->GetFilterData();
        if (filter != nullptr && own != nullptr) {
            const std::unique_ptr<CVorlinFilterData> given = own->Clone();
            TakeSwitchedFilter(*given, *filter);
            given->changed = replaced ? 0 : 1;
            form_->ApplyFilter(given.get());
        }
        if (!replaced) {
            form_->UpdateFrameTitle();
        } else {
            form_->OnInitialUpdate();
            form_->repaint();
            list_->OnInitialUpdate();
        }
        UpdateInfoBars();
    } else if (form_ != nullptr && graphical_ != nullptr) {
        form_->SetTreeView(dynamic_cast<IViewHintReceiver*>(tree_));
        form_->OnInitialUpdate();
        form_->repaint();
        inner_->repaint();
        graphical_->OnInitialUpdate();
        UpdateInfoBars();
    } else {
        setWindowTitle(QString());
    }
    if (kind == ViewKind::Alarms) {
        context_.doc.UpdateAllViews(nullptr, hint::kUnseenAlarmCleared, {});
        context_.doc.ClearUnseenAlarms();
    }
    if (filter != nullptr) {
        if (auto* tree = dynamic_cast<INavigationTree*>(tree_)) {
            tree->SelectViewItem(kind, filter);
        }
    }
    emit KindChanged(kind);
}

void CChildFrame::SwitchViewKindLater(ViewKind kind, std::unique_ptr<CVorlinFilterData> filter) {
    std::shared_ptr<CVorlinFilterData> shared(std::move(filter));
    QMetaObject::invokeMethod(
        this, [this, kind, shared] { SetViewKind(kind, shared.get()); }, Qt::QueuedConnection);
}

QString CChildFrame::BarStatePrefix() const {
    return QString::fromStdString(StrFormat(kBarStateFormat, ViewKindNumber(kind_)));
}

void CChildFrame::ReloadInfoBars() {
    for (CVorlinStatusBar* bar : infoBars_) {
        bar->hide();
    }
    if (form_ == nullptr) {
        return;
    }
    const std::string prefix = BarStatePrefix().toStdString();
    const std::string summary = prefix + "-Summary";
    const QSize screen = ScreenSize();
    CProfileStore& profile = context_.profile;
    CProfileStore::Batch batch(profile);
    const std::pair<const char*, int> screenKeys[] = {{"ScreenCX", screen.width()},
                                                      {"ScreenCY", screen.height()}};
    for (const auto& [key, def] : screenKeys) {
        profile.WriteProfileInt(summary, key, profile.GetProfileInt(summary, key, def));
    }
    int offered = 0;
    for (int i = 0; i < 2; ++i) {
        const std::string section = StrFormat("%s-Bar%d", prefix.c_str(), i);
        const int id = profile.GetProfileInt(section, "BarID", cmd::kInfoBar1 + i);
        profile.WriteProfileInt(section, "BarID", id);
        offered += form_->IsInfoBarEnabled(id) ? 1 : 0;
    }
    profile.WriteProfileInt(summary, "Bars", offered);
    batch.Close();
    if (kind_ == ViewKind::None) {
        return;
    }
    for (const BarInfo& bar : LoadBarState(profile, prefix)) {
        for (CVorlinStatusBar* info : infoBars_) {
            if (info->BarId() == bar.id && form_->IsInfoBarEnabled(bar.id)) {
                info->setVisible(bar.visible);
            }
        }
    }
}

void CChildFrame::UpdateInfoBars() {
    for (int i = 0; i < 2; ++i) {
        for (int p = 1; p <= kInfoPanesPerBar; ++p) {
            const QString text =
                list_ != nullptr ? list_->GetInfoText(i * kInfoPanesPerBar + p) : QString();
            // A pane grows to its longest count, so the bar does not jitter from tick to tick.
            infoBars_[i]->SetPaneTextSized(p, text, true);
            infoBars_[i]->setEnabled(list_ != nullptr);
        }
    }
}

void CChildFrame::ToggleInfoBar(int barId) {
    CVorlinStatusBar* bar = infoBars_[barId == cmd::kInfoBar1 ? 0 : 1];
    bar->setVisible(bar->isHidden());
    // A list may count only for the bars shown: a bar shown again asks for its texts.
    UpdateInfoBars();
    if (kind_ != ViewKind::None) {
        SaveBarState();
    }
}

void CChildFrame::SaveBarState() {
    const QSize screen = ScreenSize();
    std::vector<BarInfo> bars;
    for (const CVorlinStatusBar* bar : infoBars_) {
        bars.push_back({bar->BarId(), !bar->isHidden()});
    }
    corvane::SaveBarState(context_.profile, BarStatePrefix().toStdString(), bars, screen.width(),
                          screen.height());
}

bool CChildFrame::CanClose() const {
    const QMdiArea* area = mdiArea();
    return area != nullptr && area->subWindowList().size() > 1;
}

bool CChildFrame::OnCommand(int id) {
    switch (id) {
        case cmd::kCloseWindow:
            if (CanClose()) {
                close();
            }
            return true;
        case cmd::kInfoBar1:
        case cmd::kInfoBar2:
            ToggleInfoBar(id);
            return true;
        case cmd::kNextPane:
        case cmd::kPrevPane:
            ActivateNextPane(id == cmd::kNextPane);
            return true;
        default:
            return false;
    }
}

std::optional<CommandUi> CChildFrame::OnUpdateCommand(int id) const {
    switch (id) {
        case cmd::kCloseWindow:
            return CommandUi{CanClose(), false};
        case cmd::kInfoBar1:
        case cmd::kInfoBar2: {
            const CVorlinStatusBar* bar = infoBars_[id == cmd::kInfoBar1 ? 0 : 1];
            return CommandUi{form_ != nullptr && form_->IsInfoBarEnabled(id), !bar->isHidden()};
        }
        case cmd::kNextPane:
        case cmd::kPrevPane:
            return CommandUi{true, false};
        default:
            return std::nullopt;
    }
}

bool CChildFrame::RouteCommand(int id) {
    return OnCommand(id) || outer_->RouteCommand(id);
}

std::optional<CommandUi> CChildFrame::RouteCommandUpdate(int id) const {
    if (auto ui = OnUpdateCommand(id)) {
        return ui;
    }
    return outer_->RouteCommandUpdate(id);
}

void CChildFrame::ActivateNextPane(bool forward) {
    std::vector<QWidget*> panes;
    for (QWidget* pane : {tree_, static_cast<QWidget*>(form_), static_cast<QWidget*>(list_),
                          static_cast<QWidget*>(graphical_)}) {
        if (pane != nullptr && pane->isVisible()) {
            panes.push_back(pane);
        }
    }
    if (panes.empty()) {
        return;
    }
    size_t at = panes.size() - 1;
    for (size_t i = 0; i < panes.size(); ++i) {
        if (panes[i]->isAncestorOf(focusWidget()) || panes[i] == focusWidget()) {
            at = i;
            break;
        }
    }
    const size_t next = forward ? (at + 1) % panes.size() : (at + panes.size() - 1) % panes.size();
    panes[next]->setFocus(Qt::TabFocusReason);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!CanClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

void CChildFrame::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    if (FirstFrame()) {
        FirstFrame() = false;
        showMaximized();
    }
}

}  // namespace corvane
