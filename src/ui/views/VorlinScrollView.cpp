#include "ui/views/VorlinScrollView.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>

#include "document/VorlinDoc.h"
#include "graphics/GraphicLayouts.h"
#include "graphics/LayoutEditing.h"
#include "graphics/LayoutRecordsets.h"
#include "graphics/LayoutSelection.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "presentation/HelpService.h"
#include "settings/AppSettings.h"
#include "settings/ColorSettings.h"
#include "store/DaoException.h"
#include "store/VorlinDatabase.h"
#include "ui/VorlinDialog.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/QtGraphicPainter.h"

namespace corvane {
namespace {

constexpr int kScrollLine = 16;
constexpr const char* kTitle = "Graphical Trunk Usage";

// Without a database nothing is found.
class CNoModelSource final : public LayoutModelSource {
public:
    Lookup FindIntercom(int, IntercomRow&, std::string&) override { return Lookup::NotFound; }
    Lookup FindTrunkSummary(int, int, TrunkSetCounts&, std::string&) override {
        return Lookup::NotFound;
    }
    Lookup ListIntercoms(std::vector<IntercomEntry>& intercoms, std::string&) override {
        intercoms.clear();
        return Lookup::NotFound;
    }
};

}  // namespace

CVorlinScrollView::CVorlinScrollView(const ViewContext& context, QWidget* parent)
    : QAbstractScrollArea(parent), context_(context), model_(new CNoModelSource) {
    const AppSettings settings = Settings();
    allowChanges_ = settings.AllowEditOperations && settings.AutoEnableAllowChanges;
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // Right clicks are this view's own, press and release.
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    horizontalScrollBar()->setSingleStep(kScrollLine);
    verticalScrollBar()->setSingleStep(kScrollLine);
    context_.doc.Views().Subscribe(this);
}

CVorlinScrollView::~CVorlinScrollView() {
    leaving_ = true;
    if (saveAsPending_ || Settings().AutoSaveLayouts) {
        WriteLayout(true);
    }
    context_.doc.Views().Unsubscribe(this);
}

void CVorlinScrollView::SetLayoutIndex(int index) {
    layoutIndex_ = index;
    savedIndex_ = index;
}

CGraphicLayout* CVorlinScrollView::Layout() const {
    return context_.layouts.Name(layoutIndex_).empty()
               ? nullptr
               : context_.layouts.FindGraphicLayout(layoutIndex_);
}

AppSettings CVorlinScrollView::Settings() const {
    return context_.settings.Snapshot();
}

GraphicOptions CVorlinScrollView::Options() const {
    return {Settings().AutoHideEmptyTrunkSets};
}

bool CVorlinScrollView::IsEditing() const {
    return allowChanges_ && Settings().AllowEditOperations;
}

QString CVorlinScrollView::FrameTitle(CGraphicLayouts& layouts, int index) {
    QString title = kTitle;
    if (index != 0) {
        title += QString(" - %1").arg(QString::fromStdString(layouts.Name(index)));
    }
    const CGraphicLayout* layout = layouts.FindGraphicLayout(index);
    if (layout != nullptr && layout->IsModified()) {
        title += " *";
    }
    return title;
}

void CVorlinScrollView::OnInitialUpdate() {
    if (initialised_) {
        return;
    }
    CVorlinDatabase* db = context_.doc.Database();
    if (db != nullptr && db->IsOpen()) {
        auto recordsets = std::make_unique<CLayoutRecordsets>(db->Database());
        try {
            recordsets->Open();
        } catch (const CDaoException& e) {
            ReportDaoException(e, "Error, opening recordsets\nDescription: %s");
        }
        model_ = std::move(recordsets);
    }
    LoadLayout(layoutIndex_);
    GrowTotalToExtent();
    initialised_ = true;
    OnUpdate(nullptr, hint::kSummaryEdited | hint::kIntercomNames, {});
    viewport()->update();
}

void CVorlinScrollView::OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                                 const HintPayload& payload) {
    // Allow changes goes with edit operations: turned on again, they leave it off.
    if (allowChanges_ && !Settings().AllowEditOperations) {
        allowChanges_ = false;
    }
    if (!initialised_ || leaving_) {
        return;
    }
    CGraphicLayout* layout = Layout();
    if (layout == nullptr) {
        return;
    }
    if ((hint & hint::kLayoutAdded) && layout->NeedsLoading()) {
        // Another view saved this layout's objects under a new name: what it shows is no
        // longer this layout, which is what its file holds.
        if (LoadLayout(layoutIndex_)) {
            UpdateFrameTitle();
            Refresh();
        }
        return;
    }
    if (hint & hint::kLayoutDisplay) {
        if (sender != this && payload.layoutIndex == layoutIndex_) {
            viewport()->update();
        }
        return;
    }
    if (hint & hint::kLayoutRenamed) {
        UpdateFrameTitle();
        return;
    }
    if (hint & (hint::kSummaryEdited | hint::kIntercomsEdited | hint::kIntercomNames)) {
        const LayoutRefreshResult result = RefreshLayout(*layout, *model_, hint);
        Report(result.errors);
        if (result.changed) {
            Refresh();
        }
    }
}

void CVorlinScrollView::Report(const std::vector<LayoutModelError>& errors) {
    if (errors.empty()) {
        return;
    }
    // One box for the pass: a broken database would otherwise ask once per object.
    if (errors.size() > 1) {
        log_.Printf(0, "%zu lookups failed in one pass; the first is reported", errors.size());
    }
    ReportDaoException(CDaoException(errors.front().description, 0), errors.front().format);
}

void CVorlinScrollView::Refresh() {
    viewport()->update();
    context_.doc.UpdateAllViews(this, hint::kLayoutDisplay, {nullptr, layoutIndex_});
}

void CVorlinScrollView::SetModified(bool modified) {
    CGraphicLayout* layout = Layout();
    if (layout == nullptr || layout->IsModified() == modified) {
        return;
    }
    layout->SetModified(modified);
    context_.doc.UpdateAllViews(nullptr, hint::kLayoutRenamed, {nullptr, layoutIndex_});
}

void CVorlinScrollView::UpdateFrameTitle() {
    if (CChildFrame* frame = CChildFrame::Of(this)) {
        frame->setWindowTitle(FrameTitle(context_.layouts, layoutIndex_));
    }
}

void CVorlinScrollView::TakeEdit(const LayoutEditResult& result) {
    if (result.modified) {
        SetModified(true);
    }
    Report(result.errors);
    if (result.refresh) {
        GrowTotalToExtent();
        Refresh();
    }
}

bool CVorlinScrollView::LoadLayout(int index) {
    const CGraphicLayout* layout = context_.layouts.GetGraphicLayout(index);
    if (layout != nullptr && !layout->NeedsLoading()) {
        return true;
    }
    pointer_.Reset();
    std::string error;
    switch (context_.layouts.LoadGraphicalLayout(index, error)) {
        case CGraphicLayouts::Opened::Ready:
            return true;
        case CGraphicLayouts::Opened::Created:
            allowChanges_ = Settings().AllowEditOperations;
            SetModified(false);
            return true;
        case CGraphicLayouts::Opened::Failed:
            break;
    }
    log_.Printf(0, "Layout %d not loaded: %s", index, error.c_str());
    if (layout != nullptr) {
        Ui().MessageBox(StrFormat("The layout \"%s\" could not be read.\n%s",
                                  context_.layouts.Name(index).c_str(), error.c_str()),
                        LoadString(ids::kAppCaption), mb::kOk | mb::kIconExclamation);
    }
    return false;
}

void CVorlinScrollView::WriteLayout(bool automatic) {
    std::string error;
    const bool written =
        automatic ? context_.layouts.AutoSaveLayout(layoutIndex_, savedIndex_, error)
                  : context_.layouts.SaveGraphicalLayout(layoutIndex_, savedIndex_, error);
    if (written) {
        SetModified(false);
    } else {
        log_.Printf(automatic ? 1 : 0, "Layout not saved: %s", error.c_str());
    }
}

void CVorlinScrollView::SaveLayoutAs() {
    const AppSettings settings = Settings();
    if (!settings.AllowFileOperations || !settings.AllowEditOperations) {
        return;
    }
    CGraphicLayouts& layouts = context_.layouts;
    int index = layouts.FindFreeLayoutName();
    if (index == 0) {
        index = layouts.NameCount();
    }
    layouts.DeleteGraphicLayout(index);
    pointer_.Reset();
    const int previous = savedIndex_;
    savedIndex_ = index;
    // The tree adds the layout and selects it: the frame replaces this view, whose leaving
    // writes the layout under the new name.
    QPointer<CVorlinScrollView> self(this);
    QPointer<CChildFrame> frame(CChildFrame::Of(this));
    saveAsPending_ = true;
    // The tree may make none (every name or index taken): then nothing is renamed.
    const bool added =
        frame != nullptr && frame->RouteCommand(cmd::kNewLayout) && !layouts.Name(index).empty();
    if (self != nullptr) {
        saveAsPending_ = false;
        if (!added) {
            savedIndex_ = previous;
        }
    }
    if (added && frame != nullptr) {
        frame->RouteCommand(cmd::kRenameLayout);
    }
}

void CVorlinScrollView::UndoChanges() {
    CGraphicLayout* layout = Layout();
    if (!IsEditing() || layout == nullptr) {
        return;
    }
    layout->SetNeedsLoading(true);
    if (LoadLayout(layoutIndex_)) {
        Refresh();
    }
}

bool CVorlinScrollView::OnCommand(int id) {
    switch (id) {
        case cmd::kLayoutSave:
            if (Settings().AllowEditOperations) {
                WriteLayout(false);
            }
            return true;
        case cmd::kLayoutSaveAs:
            SaveLayoutAs();
            return true;
        case cmd::kAllowChanges:
            if (Settings().AllowEditOperations) {
                allowChanges_ = !allowChanges_;
            }
            return true;
        case cmd::kEditUndo:
            UndoChanges();
            return true;
        case cmd::kEditSelectAll:
            if (CGraphicLayout* layout = Layout(); IsEditing() && layout != nullptr) {
                if (SelectAllObjects(*layout)) {
                    Refresh();
                }
            }
            return true;
        default:
            return false;
    }
}

std::optional<CommandUi> CVorlinScrollView::OnUpdateCommand(int id) const {
    const AppSettings settings = Settings();
    switch (id) {
        case cmd::kLayoutSave:
            return CommandUi{settings.AllowEditOperations, false};
        case cmd::kLayoutSaveAs:
            return CommandUi{settings.AllowFileOperations && settings.AllowEditOperations, false};
        case cmd::kAllowChanges:
            return CommandUi{settings.AllowEditOperations, IsEditing()};
        case cmd::kEditUndo:
        case cmd::kEditSelectAll:
            return CommandUi{IsEditing(), false};
        default:
            return std::nullopt;
    }
}

void CVorlinScrollView::GrowTotalToExtent() {
    const CGraphicLayout* layout = Layout();
    const GraphicSize extent = layout != nullptr
                                   ? layout->GetExtent()
                                   : GraphicSize{viewport()->width(), viewport()->height()};
    total_ = total_.expandedTo(QSize(extent.cx, extent.cy));
    UpdateScrollBars();
}

void CVorlinScrollView::UpdateScrollBars() {
    const QSize page = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, total_.width() - page.width()));
    horizontalScrollBar()->setPageStep(page.width());
    verticalScrollBar()->setRange(0, std::max(0, total_.height() - page.height()));
    verticalScrollBar()->setPageStep(page.height());
}

QPoint CVorlinScrollView::LogicalPoint(const QPoint& viewportPos) const {
    return viewportPos + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CVorlinScrollView::Render(QPainter& painter, const QRect& logical) const {
    painter.fillRect(logical,
                     CQtGraphicPainter::ToQColor(context_.colors.Get(DisplayColor::Background)));
    CGraphicLayout* layout = Layout();
    if (layout == nullptr) {
        return;
    }
    painter.setFont(font());
    CQtGraphicPainter objects(painter, stamps_);
    const GraphicDrawContext draw{context_.colors, Options()};
    for (const CGraphicObjList* list : {&layout->TrunkSets(), &layout->Intercoms(),
                                        &layout->IntercomCaptions(), &layout->TrunkSetCaptions()}) {
        list->DrawAll(objects, draw);
    }
    if (const std::optional<GraphicRect> band = pointer_.Band()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(band->left, band->top, band->Width(), band->Height()));
    }
}

void CVorlinScrollView::paintEvent(QPaintEvent* event) {
    const QRect exposed = event->rect();
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = exposed.size() * ratio;
    if (buffer_.size() != pixels) {
        buffer_ = QImage(pixels, QImage::Format_RGB32);
    }
    buffer_.setDevicePixelRatio(ratio);
    {
        QPainter off(&buffer_);
        const QPoint origin = LogicalPoint(exposed.topLeft());
        off.translate(-origin);
        Render(off, QRect(origin, exposed.size()));
    }
    QPainter screen(viewport());
    screen.drawImage(exposed.topLeft(), buffer_);
}

void CVorlinScrollView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CVorlinScrollView::scrollContentsBy(int, int) {
    viewport()->update();
}

void CVorlinScrollView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        CVorlinDialog::RequestHelp(kHelpContext, help::kContext);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

}  // namespace corvane
