#include "app/VorlinApp.h"
#include "document/FrameDocument.h"

using namespace corvane;

int main(int argc, char** argv) {
    CVorlinApp app(argc, argv);
    const bool started = app.InitInstance(NewVorlinDoc);
    return app.ExitInstance(started ? app.exec() : 1);
}
