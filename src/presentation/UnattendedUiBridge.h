#pragma once

#include <functional>
#include <string>

#include "platform/UiBridge.h"

namespace corvane {

class CDiagLogSource;

// The user interface once a signal is ending the program: nobody is at the window to answer,
// so no box is shown. Each box and question goes into the log and is answered with its
// default button, as a timed question nobody answers; update hints are dropped, since the
// views are going. Safe from any thread; uninstalls itself when it goes.
class CUnattendedUiBridge final : public UiBridge {
public:
    explicit CUnattendedUiBridge(const CDiagLogSource& log) : log_(log) {}
    ~CUnattendedUiBridge() override;
    CUnattendedUiBridge(const CUnattendedUiBridge&) = delete;
    CUnattendedUiBridge& operator=(const CUnattendedUiBridge&) = delete;

    void PostUpdateHint(uint32_t) override {}
    void PostCompatibilityChange() override {}
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    void PostMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override;
    // The question goes into the log and is never answered, as a box dismissed unanswered.
    void PostQuestion(const std::string& text, const std::string& caption, unsigned style,
                      std::function<void(int)> onAnswer) override;
    int Ask(const TimedQuestion& question) override;
    void ReportDatabaseError(const std::string& format, const std::string& description) override;

private:
    int Answer(const std::string& text, unsigned style) const;

    const CDiagLogSource& log_;
};

}  // namespace corvane
