#pragma once

#include <memory>

#include "presentation/ViewKind.h"
#include "store/ListRecordsets.h"
#include "ui/views/ViewContext.h"

class QWidget;

namespace corvane {

class CVorlinFormView;
class CVorlinListView;

// The form pane, list pane and list recordset of each kind of child frame; none for a kind
// without them.
CVorlinFormView* CreateFormView(ViewKind kind, const ViewContext& context, QWidget* parent);
CVorlinListView* CreateListView(ViewKind kind, const ViewContext& context, QWidget* parent);
std::unique_ptr<CListRecordset> CreateListRecordset(ViewKind kind, CDaoDatabase& db);

}  // namespace corvane
