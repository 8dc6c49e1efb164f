#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

class IPreferenceTarget;

// What the status bar's testing pane shows.
enum class TestingState { Idle, Paused, InProgress };

// What the main frame needs from the one document. Every call comes from the
// user-interface thread.
class IFrameDocument {
public:
    virtual ~IFrameDocument() = default;

    // The new-document step: settings, folders, database, workers; false ends start-up.
    virtual bool OnNewDocument() = 0;
    // Set last by the new-document step; the frame runs the tick only from then on.
    virtual bool IsReady() const = 0;
    virtual void OnSupervisionTick() = 0;

    // Empty while there is no controller object.
    virtual std::optional<bool> IsControllerCommunicating() const = 0;
    // The configured analyzer's display name ("Audio Analyzer" when none is configured).
    virtual std::string GetAnalyzerDisplayName() const = 0;
    // Empty while there is no test instrument object.
    virtual std::optional<bool> IsTesterConnected() const = 0;
    virtual TestingState GetTestingState() const = 0;

    // Every view reacts to the hint (a ViewUpdateHint bit set).
    virtual void UpdateAllViews(uint32_t hint) = 0;
    // Whether any of the intercoms 0 to 254 has a compatibility state.
    virtual bool HasCompatibilityState() const = 0;

    // What the preference pages change in the document; none while there is nothing to tell.
    virtual IPreferenceTarget* PreferenceTarget() = 0;

    // The may-close question; false keeps the program running.
    virtual bool SaveModified() = 0;
    // From now on the close is nobody's at the window (a signal ends the program): the
    // may-close question asks nothing, keeps what changed, logs what it leaves and allows the
    // close, also when it is called while one of its questions is open.
    virtual void SetUnattendedClose() = 0;
    // Closes the database and stops the workers in order; the owner deletes the object after.
    virtual void OnCloseDocument() = 0;
};

}  // namespace corvane
