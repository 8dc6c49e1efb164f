#pragma once

#include <string>

#include "model/EndpointAddress.h"
#include "model/TrunkData.h"

namespace corvane {

// What the controller object feeds: exactly the model's setters that its replies call, and
// the alarm it raises on lost and regained contact. The poll thread calls them with the
// controller's 0-based numbers (oneBased false). CVorlinModel implements it; the link's tests
// give fakes of their own.
class IQuillexModel {
public:
    virtual ~IQuillexModel() = default;

    virtual bool SetIntercomControllerPort(int intercom, int port, bool oneBased) = 0;
    virtual bool SetIntercomBaudRate(int intercom, int baudRate, bool oneBased) = 0;
    virtual bool SetIntercomCascadeCost(int intercom, int cost, bool oneBased) = 0;
    virtual bool SetIntercomCommStatus(int intercom, std::string text, bool oneBased) = 0;
    virtual bool SetIntercomConnType(int intercom, std::string text, bool oneBased) = 0;
    virtual bool SetIntercomIPAddress1(int intercom, std::string text, bool oneBased) = 0;
    virtual bool SetIntercomIPAddress2(int intercom, std::string text, bool oneBased) = 0;
    virtual bool AddAlpha(int intercom, int functionType, int number, std::string text,
                          int operation, bool oneBased) = 0;
    virtual bool SetTrunkOutOfService(int trunk, int value, bool oneBased) = 0;
    virtual bool SetTrunkState(int trunk, int state, bool oneBased) = 0;
    virtual bool SetTrunkDefinition(const TrunkDefinition& definition, bool oneBased) = 0;
    // trunk is always 0-based.
    virtual bool UndefineTrunk(int trunk) = 0;
    virtual bool SetQueuedRequest(const EndpointAddress& source, const EndpointAddress& destination,
                                  bool oneBased) = 0;
    virtual bool PurgeStaleQueuedRequests(int intercom, bool oneBased) = 0;
    virtual bool SetTrunkUsage(int trunk, int cascadeTrunk, const EndpointAddress& source,
                               const EndpointAddress& destination, bool oneBased) = 0;
    virtual bool PurgeStaleTrunkUsage(int trunk, bool oneBased) = 0;
    virtual bool AddAlarm(int deviceType, int deviceIndex, int category, int resolved,
                          std::string description, std::string context, int extra) = 0;
};

}  // namespace corvane
