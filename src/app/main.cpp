#include <memory>

#include "app/VorlinApp.h"
#include "document/VorlinDoc.h"
#include "platform/Clock.h"

using namespace corvane;

int main(int argc, char** argv) {
    CVorlinApp app(argc, argv);
    const bool started = app.InitInstance([](CVorlinApp& a) -> std::unique_ptr<IFrameDocument> {
        DocumentParts parts;
        parts.colors = &a.Colors();
        parts.layouts = &a.Layouts();
        return std::make_unique<CVorlinDoc>(a.Settings(), RealClock(), std::move(parts));
    });
    return app.ExitInstance(started ? app.exec() : 1);
}
