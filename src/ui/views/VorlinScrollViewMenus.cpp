#include <QMenu>
#include <QPointer>
#include <functional>

#include "graphics/CaptionObj.h"
#include "graphics/GraphicLayout.h"
#include "graphics/IcomObj.h"
#include "graphics/LayoutEditing.h"
#include "graphics/LayoutViewFilters.h"
#include "graphics/TrunkSetObj.h"
#include "presentation/ViewKind.h"
#include "settings/AppSettings.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/VorlinScrollView.h"

namespace corvane {
namespace {

QAction* AddCommand(QMenu& menu, int id, const QString& text) {
    QAction* action = menu.addAction(text);
    action->setData(id);
    return action;
}

// The intercom a menu command of the range names; 0 for another command.
int IntercomOfCommand(int id) {
    const int number = id - CVorlinScrollView::kIntercomCommandBase;
    return number >= 1 && number <= kMaxLayoutIntercom ? number : 0;
}

}  // namespace

std::vector<LayoutModelSource::IntercomEntry> CVorlinScrollView::IntercomsByName() {
    std::vector<LayoutModelSource::IntercomEntry> intercoms;
    std::string error;
    if (model_->ListIntercoms(intercoms, error) == LayoutModelSource::Lookup::Failed) {
        Report({{kIntercomNamesErrorFormat, error}});
    }
    return intercoms;
}

void CVorlinScrollView::FillBackgroundMenu(QMenu& menu) {
    if (!IsEditing()) {
        AddCommand(menu, cmd::kAllowChanges, tr("&Allow Changes"));
        return;
    }
    const std::vector<LayoutModelSource::IntercomEntry> intercoms = IntercomsByName();
    const IntercomsToShow toShow = FindIntercomsToShow(*Layout(), intercoms);
    if (!toShow.items.empty()) {
        menu.addSection(tr("Show intercom"));
        // Each goes above the one before it.
        for (auto it = toShow.items.rbegin(); it != toShow.items.rend(); ++it) {
            AddCommand(menu, kIntercomCommandBase + it->number, QString::fromStdString(it->text));
        }
        menu.addSeparator();
    }
    // Without any intercom in the database the menu stays whole.
    if (toShow.hidden > 0 || intercoms.empty()) {
        AddCommand(menu, kShowHiddenIntercoms, tr("Show all hidden intercoms"));
        menu.addSeparator();
    }
    AddCommand(menu, kShowTrunkCaptions, tr("Show all trunk captions"));
    AddCommand(menu, kHideTrunkCaptions, tr("Hide all trunk captions"));
}

void CVorlinScrollView::FillIntercomMenu(QMenu& menu, int number) {
    if (IsEditing()) {
        const GraphicOptions options = Options();
        const std::vector<MenuIntercom> partners =
            FindTrunkSetPartners(*Layout(), number, IntercomsByName(), options);
        if (!partners.empty()) {
            menu.addSection(tr("Show trunks between this intercom and ..."));
            if (partners.size() > 1) {
                AddCommand(menu, kAllOtherVisible, tr("All other visible intercoms"));
            }
            for (auto it = partners.rbegin(); it != partners.rend(); ++it) {
                AddCommand(menu, kIntercomCommandBase + it->number,
                           QString::fromStdString(it->text));
            }
            menu.addSeparator();
        }
        AddCommand(menu, kHideIntercom, tr("Hide intercom"));
        const CIcomObj* intercom = Layout()->FindIntercom(number);
        const bool captionShown = intercom != nullptr && intercom->Caption() != nullptr &&
                                  intercom->Caption()->IsVisible(options);
        if (captionShown) {
            AddCommand(menu, kHideIntercomCaption, tr("Hide intercom caption"));
        } else {
            AddCommand(menu, kShowIntercomCaption, tr("Show intercom caption"));
        }
        menu.addSeparator();
    }
    AddCommand(menu, kViewTrunks, tr("View trunks for this intercom"));
    AddCommand(menu, kViewRequests, tr("View requests involving this intercom"));
    AddCommand(menu, kViewSummary, tr("View trunk summary for this intercom"));
}

void CVorlinScrollView::FillTrunkSetMenu(QMenu& menu, int32_t key) {
    if (IsEditing()) {
        AddCommand(menu, kHideTrunkSet, tr("Hide trunks between these intercoms"));
        const CTrunkSetObj* trunkSet = Layout()->FindTrunkSet(key);
        if (trunkSet != nullptr && trunkSet->Caption() != nullptr) {
            if (trunkSet->Caption()->IsVisible(Options())) {
                AddCommand(menu, kHideTrunkCaption, tr("Hide trunk caption"));
            } else {
                AddCommand(menu, kShowTrunkCaption, tr("Show trunk caption"));
            }
        }
        menu.addSeparator();
    }
    AddCommand(menu, kViewPairTrunks, tr("View trunks between these intercoms"));
    AddCommand(menu, kViewPairRequests, tr("View requests involving these intercoms"));
}

void CVorlinScrollView::OpenContextMenu(const GraphicHit& hit, const QPoint& globalPos) {
    // Not the view's child: the view may go while the menu is open.
    QMenu menu;
    const int32_t key = hit.key;
    std::function<void(int)> run;
    switch (hit.code) {
        case HitCode::Nothing:
            if (Layout() == nullptr || !Settings().AllowEditOperations) {
                return;
            }
            FillBackgroundMenu(menu);
            run = [this](int id) { RunBackgroundCommand(id); };
            break;
        case HitCode::Intercom:
        case HitCode::IntercomCaption:
            FillIntercomMenu(menu, key);
            run = [this, key](int id) { RunIntercomCommand(id, key); };
            break;
        case HitCode::TrunkSet:
        case HitCode::TrunkSetCaption:
            FillTrunkSetMenu(menu, key);
            run = [this, key](int id) { RunTrunkSetCommand(id, key); };
            break;
    }
    QPointer<CVorlinScrollView> self(this);
    const QAction* chosen = menu.exec(globalPos);
    if (self != nullptr && chosen != nullptr && chosen->data().isValid() && Layout() != nullptr) {
        run(chosen->data().toInt());
    }
}

void CVorlinScrollView::RunBackgroundCommand(int id) {
    if (id == cmd::kAllowChanges) {
        CChildFrame* frame = CChildFrame::Of(this);
        if (frame == nullptr || !frame->RouteCommand(id)) {
            OnCommand(id);
        }
        return;
    }
    CGraphicLayout* layout = Layout();
    if (!IsEditing()) {
        return;
    }
    LayoutEditResult result;
    switch (id) {
        case kShowHiddenIntercoms:
            layout->Intercoms().ShowAll(true);
            result = {true, true, {}};
            break;
        case kShowTrunkCaptions:
        case kHideTrunkCaptions:
            layout->TrunkSetCaptions().ShowAll(id == kShowTrunkCaptions);
            result = {true, true, {}};
            break;
        default:
            if (const int number = IntercomOfCommand(id)) {
                result = ShowIntercom(*layout, *model_, number, true, pointer_.LastPoint());
            }
            break;
    }
    TakeEdit(result);
}

void CVorlinScrollView::RunIntercomCommand(int id, int number) {
    const ViewKind view = id == kViewTrunks     ? ViewKind::Trunks
                          : id == kViewRequests ? ViewKind::Requests
                          : id == kViewSummary  ? ViewKind::TrunkSummary
                                                : ViewKind::None;
    if (view != ViewKind::None) {
        SwitchFrame(view, IntercomViewFilter(view, number));
        return;
    }
    CGraphicLayout* layout = Layout();
    if (!IsEditing()) {
        return;
    }
    LayoutEditResult result;
    CIcomObj* intercom = layout->FindIntercom(number);
    switch (id) {
        case kAllOtherVisible:
            result = ShowTrunkSetsToVisible(*layout, *model_, number, Options());
            break;
        case kHideIntercom:
            result = ShowIntercom(*layout, *model_, number, false, {});
            break;
        case kShowIntercomCaption:
        case kHideIntercomCaption:
            if (intercom != nullptr && intercom->Caption() != nullptr) {
                intercom->Caption()->Show(id == kShowIntercomCaption);
                result = {true, true, {}};
            }
            break;
        default:
            if (const int other = IntercomOfCommand(id)) {
                result = ShowTrunkSet(*layout, *model_, number, other, true);
            }
            break;
    }
    TakeEdit(result);
}

void CVorlinScrollView::RunTrunkSetCommand(int id, int32_t key) {
    const ViewKind view = id == kViewPairTrunks     ? ViewKind::Trunks
                          : id == kViewPairRequests ? ViewKind::Requests
                                                    : ViewKind::None;
    if (view != ViewKind::None) {
        SwitchFrame(view, PairViewFilter(view, key));
        return;
    }
    CGraphicLayout* layout = Layout();
    CTrunkSetObj* trunkSet = layout->FindTrunkSet(key);
    if (!IsEditing() || trunkSet == nullptr) {
        return;
    }
    LayoutEditResult result;
    switch (id) {
        case kHideTrunkSet:
            trunkSet->Show(false);
            result = {true, true, {}};
            break;
        case kShowTrunkCaption:
        case kHideTrunkCaption:
            if (trunkSet->Caption() != nullptr) {
                trunkSet->Caption()->Show(id == kShowTrunkCaption);
                result = {true, true, {}};
            }
            break;
        default:
            break;
    }
    TakeEdit(result);
}

void CVorlinScrollView::SwitchFrame(ViewKind kind, std::unique_ptr<CVorlinFilterData> filter) {
    if (CChildFrame* frame = CChildFrame::Of(this)) {
        frame->SwitchViewKindLater(kind, std::move(filter));
    }
}

}  // namespace corvane
