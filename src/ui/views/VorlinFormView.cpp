#include "ui/views/VorlinFormView.h"

#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "document/VorlinDoc.h"
#include "platform/ProfileStore.h"
#include "presentation/DocumentNames.h"
#include "presentation/FilterData.h"
#include "presentation/HelpService.h"
#include "ui/VorlinDialog.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/VorlinListView.h"

namespace corvane {

CVorlinFormView::CVorlinFormView(const ViewContext& context, ViewKind kind, int dialogId,
                                 QWidget* parent)
    : QWidget(parent), context_(context), kind_(kind), dialogId_(dialogId), page_(new QWidget) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page_);
    layout->addWidget(scroll);
    context_.doc.Views().Subscribe(this);
}

CVorlinFormView::~CVorlinFormView() {
    context_.doc.Views().Unsubscribe(this);
    SaveFormHeight();
}

uint32_t CVorlinFormView::GetHelpId() const {
    return list_ != nullptr ? list_->GetHelpId() | 0x20000000u : 0;
}

bool CVorlinFormView::IsInfoBarEnabled(int barId) const {
    return barId == cmd::kInfoBar1;
}

void CVorlinFormView::SaveFormHeight() {
    // A form replaced before its frame was shown never had a height of its own.
    if (shown_ && height() > 0) {
        context_.profile.WriteProfileInt("Preferences", TraitsOf(kind_).formHeightKey, height());
    }
}

void CVorlinFormView::ApplyFilter(CVorlinFilterData* filter) {
    CVorlinFilterData* own = GetFilterData();
    if (filter == nullptr || own == nullptr) {
        return;
    }
    own->AssignSelectors(*filter);
    if (filter->changed == 0) {
        return;
    }
    filter->changed = 0;
    OnUpdate(nullptr, hint::kFilterChanged, {own, 0});
    if (list_ != nullptr) {
        list_->UpdateWithForm(nullptr, hint::kFilterChanged, {own, 0});
    }
}

void CVorlinFormView::UpdateFrameTitle() {
    const CVorlinFilterData* filter = GetFilterData();
    CChildFrame* frame = CChildFrame::Of(this);
    if (filter == nullptr || frame == nullptr) {
        return;
    }
    const CDocumentNames names(context_.doc);
    frame->setWindowTitle(QString::fromStdString(filter->GetTitle(&names)));
}

void CVorlinFormView::OnInitialUpdate() {
    initialised_ = true;
    SendFilterToList();
}

bool CVorlinFormView::TakeOverFilter(const HintPayload& payload) {
    CVorlinFilterData* own = GetFilterData();
    const auto* given = dynamic_cast<const CVorlinFilterData*>(payload.object);
    if (own == nullptr || given == nullptr || given->Kind() != own->Kind()) {
        return false;
    }
    if (given != own) {
        own->AssignSelectors(*given);
    }
    return true;
}

void CVorlinFormView::SendFilterToList() {
    if (list_ != nullptr && GetFilterData() != nullptr) {
        list_->UpdateWithForm(this, hint::kFilterChanged, {GetFilterData(), 0});
    }
}

void CVorlinFormView::SendFilterToTree() {
    if (tree_ != nullptr && GetFilterData() != nullptr) {
        tree_->OnUpdate(this, hint::kFilterChanged, {GetFilterData(), 0});
    }
}

uint32_t CVorlinFormView::HelpHitAt(const QPoint& pos) const {
    for (const QWidget* w = childAt(pos); w != nullptr && w != this; w = w->parentWidget()) {
        if (const int id = CVorlinDialog::ControlId(w); id != 0 && w->isVisible()) {
            return ((GetHelpId() & 0xFFFF) | 0x8000) << 16 | static_cast<uint32_t>(id);
        }
    }
    return 0;
}

QWidget* CVorlinFormView::FirstControl() const {
    for (QWidget* w = nextInFocusChain(); w != nullptr && w != this; w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && CVorlinDialog::ControlId(w) != 0 && w->isVisible() &&
            w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) != 0) {
            return w;
        }
    }
    return nullptr;
}

void CVorlinFormView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (QWidget* first = FirstControl()) {
        first->setFocus(event->reason());
    }
}

bool CVorlinFormView::event(QEvent* event) {
    if (event->type() == QEvent::Show) {
        shown_ = true;
    }
    if (event->type() == QEvent::WhatsThis) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const uint32_t id = HelpHitAt(help->pos()); id != 0) {
            CVorlinDialog::RequestHelp(id, help::kContextPopup);
        }
        return true;
    }
    return QWidget::event(event);
}

void CVorlinFormView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        CVorlinDialog::RequestHelp(GetHelpId(), help::kContext);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace corvane
