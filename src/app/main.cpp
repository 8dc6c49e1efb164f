#include <memory>

#include "platform/ProfileStore.h"
#include "shell/StandInDocument.h"
#include "shell/VorlinApp.h"

using namespace corvane;

int main(int argc, char** argv) {
    CVorlinApp app(argc, argv);
    // The stand-in serves until the live model takes its place.
    const bool started = app.InitInstance([](CVorlinApp& a) -> std::unique_ptr<IFrameDocument> {
        return std::make_unique<CStandInDocument>(a.Settings(), a.Colors(), Profile());
    });
    return app.ExitInstance(started ? app.exec() : 1);
}
