#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMdiArea>
#include <memory>

#include "fakes/SupervisionRig.h"
#include "graphics/GraphicLayouts.h"
#include "link/QuillexMessageCode.h"
#include "qtsupport/QtWait.h"
#include "settings/ColorSettings.h"
#include "store/VorlinDatabase.h"
#include "ui/AppResources.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/ViewContext.h"

namespace corvane::testing {

// The live document against the fake controller on loopback, ticked until its network is in
// the database (unless the test starts before the first tick, as a first start does), and
// child frames in a multiple-document window over it.
class ViewsRig {
public:
    explicit ViewsRig(FakeNetwork network = BuildFakeNetwork(6, 40), bool synced = true)
        : supervision(std::move(network)) {
        EXPECT_TRUE(resources.Load(QApplication::palette()));
        doc = &supervision.Start();
        EXPECT_TRUE(supervision.started);
        EXPECT_TRUE(!synced || TickUntilSynced());
        window.setCentralWidget(&area);
        window.resize(1100, 700);
        context = std::make_unique<ViewContext>(
            ViewContext{*doc, supervision.settings, colors, supervision.profile, resources, layouts,
                        [this](ViewKind, int, int) { return false; }});
    }
    ~ViewsRig() {
        for (QMdiSubWindow* w : area.subWindowList()) {
            delete w;
        }
        area.setParent(nullptr);
    }

    // Ticks until every trunk and intercom of the fake is in the database.
    bool TickUntilSynced() {
        const FakeNetwork network = supervision.model.Network();
        size_t trunks = 0;
        for (const auto& t : network.trunks) {
            trunks += t.defined ? 1 : 0;
        }
        // The controller addresses 255 matrices; a 256th is never reported.
        const size_t intercoms =
            std::min(network.matrices.size(), static_cast<size_t>(kQuillexMatrices));
        // A guard against a hang, long enough for a full network under a sanitizer.
        const auto limit = std::chrono::seconds(30 + network.trunks.size() / 40);
        return supervision.TickUntil(
            [&] { return RowCount("Trunks") >= trunks && RowCount("Intercoms") >= intercoms; },
            limit);
    }
    size_t RowCount(const std::string& table) {
        CDaoRecordset rs(doc->Database()->Database());
        rs.Open(DaoOpenType::Dynaset, "SELECT COUNT(*) FROM " + table);
        return static_cast<size_t>(rs.GetFieldValue(0).AsInteger());
    }
    void Tick() {
        supervision.clock.Advance(std::chrono::milliseconds(100));
        doc->OnSupervisionTick();
        QCoreApplication::processEvents();
    }

    CChildFrame* OpenFrame(ViewKind kind, const CVorlinFilterData* filter = nullptr) {
        auto* frame = new CChildFrame(*context);
        area.addSubWindow(frame);
        frame->SetViewKind(kind, filter);
        frame->show();
        window.show();
        QCoreApplication::processEvents();
        return frame;
    }

    void Screenshot(const QString& name) {
        QCoreApplication::processEvents();
        QDir().mkpath(CORVANE_SCREENSHOT_DIR);
        EXPECT_TRUE(window.grab().save(QStringLiteral(CORVANE_SCREENSHOT_DIR "/") + name));
    }

    SupervisionRig supervision;
    CVorlinDoc* doc = nullptr;
    CAppResources resources;
    ColorSettings colors;
    CGraphicLayouts layouts{"../views"};
    QMainWindow window;
    QMdiArea area;
    std::unique_ptr<ViewContext> context;
};

}  // namespace corvane::testing
