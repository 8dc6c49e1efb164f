// A trunking controller for people: the fake controller on loopback with a network of a
// chosen size whose trunks change state over time, so that Corvane can be watched at work.
#include <arpa/inet.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>

#include "fakes/FakeController.h"
#include "fakes/FakeControllerModel.h"
#include "fakes/FakeNetworkBuilder.h"

namespace {

using namespace corvane::testing;

std::atomic<bool> stopRequested{false};

void OnSignal(int) {
    stopRequested = true;
}

struct Options {
    int matrices = 32;
    int trunks = 1000;
    std::string mainAddress = "127.0.0.1";
    std::string partnerAddress = "127.0.0.2";
    std::string otherAddress = "127.0.0.3";
    int port = 27410;
    bool serial = false;
    int changes = 5;
    int intervalMs = 1000;
    unsigned seed = 1;
    int seconds = 0;
    bool quiet = false;
};

const char kHelp[] =
    "Usage: quillex-simulator [options]\n"
    "\n"
    "Runs a stand-in for the Quillex trunking controller on the loopback interface, with a\n"
    "network of intercom matrices and trunks whose states change over time. It answers the\n"
    "controller message set over UDP on a main and a partner address (a redundant pair:\n"
    "Corvane fails over to the partner when the main stops answering) and, with --serial,\n"
    "over a pseudo-terminal that stands for the serial line.\n"
    "\n"
    "Options:\n"
    "  --matrices N    intercom matrices, 1-256 (default 32; the message set addresses\n"
    "                  matrices 1-255, the 256th is only counted in the change maps)\n"
    "  --trunks N      trunks, 0-10000 (default 1000)\n"
    "  --main ADDR     main controller address, in 127.0.0.0/8 (default 127.0.0.1)\n"
    "  --partner ADDR  partner address, in 127.0.0.0/8 (default 127.0.0.2)\n"
    "  --other ADDR    a third address, in 127.0.0.0/8, held for answers that come from\n"
    "                  elsewhere (default 127.0.0.3); a second simulator beside this one\n"
    "                  needs three addresses of its own\n"
    "  --port P        UDP port on the three addresses (default 27410, the controller's)\n"
    "  --serial        also answer on a pseudo-terminal; its device name is printed\n"
    "  --changes N     trunks that change state at each step (default 5)\n"
    "  --interval MS   milliseconds between steps (default 1000)\n"
    "  --seed S        seed of the network and of the changes (default 1)\n"
    "  --seconds S     stop after S seconds (default 0: run until Ctrl-C)\n"
    "  --quiet         print nothing but errors\n"
    "  --help          this text\n"
    "\n"
    "Point Corvane at it in the [Settings\\Configuration] section of its profile\n"
    "(~/.config/Qelvo/vorlin.ini):\n"
    "  network: QuillexConnectionType=1, QuillexMainIPAddress=127.0.0.1,\n"
    "           QuillexPartnerIPAddress=127.0.0.2\n"
    "  serial:  QuillexConnectionType=0, QuillexSerialPort=<the printed device>\n";

bool IsLoopback(const std::string& text) {
    in_addr a{};
    return ::inet_pton(AF_INET, text.c_str(), &a) == 1 && (ntohl(a.s_addr) >> 24) == 127;
}

bool ParseInt(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < low || v > high) {
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

// Returns 0 to run, else the exit status (1 for a usage error, 2 after --help).
int Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        int seed = 0;
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kHelp, stdout);
            return 2;
        } else if (arg == "--serial") {
            o.serial = true;
            continue;
        } else if (arg == "--quiet") {
            o.quiet = true;
            continue;
        } else if (value == nullptr) {
            ok = false;
        } else if (arg == "--matrices") {
            ok = ParseInt(value, 1, 256, o.matrices);
        } else if (arg == "--trunks") {
            ok = ParseInt(value, 0, 10000, o.trunks);
        } else if (arg == "--main") {
            o.mainAddress = value;
            ok = IsLoopback(value);
        } else if (arg == "--partner") {
            o.partnerAddress = value;
            ok = IsLoopback(value);
        } else if (arg == "--other") {
            o.otherAddress = value;
            ok = IsLoopback(value);
        } else if (arg == "--port") {
            ok = ParseInt(value, 1, 65535, o.port);
        } else if (arg == "--changes") {
            ok = ParseInt(value, 0, 10000, o.changes);
        } else if (arg == "--interval") {
            ok = ParseInt(value, 10, 3600000, o.intervalMs);
        } else if (arg == "--seed") {
            ok = ParseInt(value, 0, 2147483647, seed);
            o.seed = static_cast<unsigned>(seed);
        } else if (arg == "--seconds") {
            ok = ParseInt(value, 0, 31536000, o.seconds);
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "quillex-simulator: bad option %s%s%s (see --help)\n", arg.c_str(),
                         value != nullptr ? " " : "", value != nullptr ? value : "");
            return 1;
        }
        ++i;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (const int status = Parse(argc, argv, o); status != 0) {
        return status == 2 ? 0 : status;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    FakeControllerOptions fo;
    fo.mainAddress = o.mainAddress;
    fo.partnerAddress = o.partnerAddress;
    fo.otherAddress = o.otherAddress;
    fo.udpPort = static_cast<uint16_t>(o.port);
    fo.recordRequests = false;
    FakeController fake(fo);
    FakeControllerModel model(BuildFakeNetwork(o.matrices, o.trunks, o.seed));
    model.Install(fake);
    if (!fake.StartUdp()) {
        std::fprintf(stderr, "quillex-simulator: cannot bind UDP port %d on %s, %s and %s\n",
                     o.port, o.mainAddress.c_str(), o.partnerAddress.c_str(),
                     o.otherAddress.c_str());
        return 1;
    }
    if (o.serial && !fake.StartSerial()) {
        std::fprintf(stderr, "quillex-simulator: cannot open a pseudo-terminal\n");
        return 1;
    }
    if (!o.quiet) {
        std::printf("Quillex simulator: %d matrices, %d trunks; UDP port %d on %s and %s\n",
                    o.matrices, o.trunks, o.port, o.mainAddress.c_str(), o.partnerAddress.c_str());
        if (o.serial) {
            std::printf("Serial line: %s\n", fake.SerialPortName().c_str());
        }
        std::printf("%d trunk changes every %d ms; Ctrl-C ends.\n", o.changes, o.intervalMs);
        std::fflush(stdout);
    }

    std::mt19937 random(o.seed + 1);
    const auto start = std::chrono::steady_clock::now();
    auto nextReport = start + std::chrono::seconds(10);
    auto nextStep = start + std::chrono::milliseconds(o.intervalMs);
    while (!stopRequested) {
        // Short sleeps, so that Ctrl-C ends it at once whatever the interval.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextStep) {
            ChangeRandomTrunks(model, random, o.changes);
            nextStep += std::chrono::milliseconds(o.intervalMs);
        }
        if (!o.quiet && now >= nextReport) {
            const FakeTraffic t = fake.Traffic();
            std::printf("%lld s: %zu requests, %zu bytes in, %zu bytes out\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::seconds>(now - start).count()),
                        t.requests, t.bytesIn, t.bytesOut);
            std::fflush(stdout);
            nextReport += std::chrono::seconds(10);
        }
        if (o.seconds > 0 && now - start >= std::chrono::seconds(o.seconds)) {
            break;
        }
    }
    fake.Stop();
    return 0;
}
